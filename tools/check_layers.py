#!/usr/bin/env python3
"""Checks which folder includes which: an #include may only point down the
layers, and its case must match the file on disk.

    base, ical  <-  repeat  <-  events, settings, update, caldav  <-  calendar
                <-  sync  <-  framework  <-  skin, grid  <-  forms
                <-  dialogs, reminders  <-  app

Folders on one layer are peers and may not include each other. The window
toolkit (framework, skin, grid) knows nothing of the program's domain: it
never includes events, settings, repeat, update, caldav, calendar or sync,
though they lie below it. calendar turns calendar components into events
and back (import, export, sync); sync keeps a folder's events and a calendar
server in step.
forms holds the parts that the editors (dialogs) and the reminder popup
(reminders) share. cli and fuzz stand beside the program on the portable
core. res/ (resource ids and the resource script) sits above framework and
skin and below the folders that build dialogs. Tests and test helpers (*_test.cpp, anything under a testing/
or bench/ folder, and the fuzz targets, which run as tests on made-up input)
follow their folder's rules, and may also include res/ and the testing/
folders of what they may include; product code never includes a testing/ or
bench/ folder.

Usage: check_layers.py [--allow FILE] [ROOT]
Prints every offence as `file:line: message` and exits with 1 if one is not
in the allow-list FILE, or if the list names an offence that is gone.
"""
import argparse
import os
import re
import subprocess
import sys

LAYERS = {
    "base": 0, "ical": 0,
    "repeat": 1,
    "events": 2, "settings": 2, "update": 2, "caldav": 2,
    "calendar": 3,
    "sync": 4,
    "framework": 5,
    "skin": 6, "grid": 6,
    "forms": 7,
    "dialogs": 8, "reminders": 8,
    "app": 9,
}
PORTABLE_CORE = {"base", "ical", "repeat", "events", "settings", "update", "caldav", "calendar", "sync"}
TOOLKIT = {"framework", "skin", "grid"}
DOMAIN = {"events", "settings", "repeat", "update", "caldav", "calendar", "sync"}
BESIDE = {
    "cli": PORTABLE_CORE | {"cli"},
    "fuzz": PORTABLE_CORE | {"fuzz"},
    "res": {"res", "framework", "skin"},
}
USERS_OF_RES = {"dialogs", "reminders", "app"}
HELPER_FOLDERS = ("testing", "bench")
SOURCE_SUFFIXES = (".c", ".cc", ".cpp", ".h", ".hpp", ".inc", ".rc", ".rc2")
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def allowed_folders(folder):
    """The folders product code in `folder` may include, or None for a folder
    that has no place in the layers."""
    if folder in BESIDE:
        return BESIDE[folder]
    if folder not in LAYERS:
        return None
    below = {f for f, layer in LAYERS.items() if layer < LAYERS[folder]}
    if folder in TOOLKIT:
        below -= DOMAIN
    return below | {folder} | ({"res"} if folder in USERS_OF_RES else set())


def is_test_code(path):
    parts = path.split("/")
    return (parts[-1].endswith("_test.cpp") or parts[0] == "fuzz"
            or any(p in HELPER_FOLDERS for p in parts[1:-1]))


def helper_folder(path):
    """testing or bench when `path` lies in such a subfolder of its top folder."""
    return next((p for p in path.split("/")[1:-1] if p in HELPER_FOLDERS), None)


class Tree:
    """The files of the checkout, looked up with and without regard to case."""

    def __init__(self, root):
        self.root = root
        listing = subprocess.run(["git", "-C", root, "ls-files", "-z", "--cached", "--others",
                                  "--exclude-standard"], capture_output=True, check=True).stdout
        self.files = sorted({f for f in listing.decode("utf-8").split("\0")
                             if f and os.path.isfile(os.path.join(root, f))})
        self.exact = set(self.files)
        self.folded = {}
        for f in self.files:
            self.folded.setdefault(f.lower(), f)

    def resolve(self, name):
        """(path as written, path on disk) for a repository-relative `name`,
        or None when no file matches it even ignoring case."""
        path = os.path.normpath(name).replace(os.sep, "/")
        if path.startswith("../"):
            return None
        if path in self.exact:
            return path, path
        on_disk = self.folded.get(path.lower())
        return (path, on_disk) if on_disk else None


def check_file(tree, path):
    """Yields (line number, message, included path) for each offence in `path`."""
    folder = path.split("/")[0]
    allowed = allowed_folders(folder)
    test_code = is_test_code(path)
    if test_code and allowed is not None:
        allowed = allowed | {"res"}
    with open(os.path.join(tree.root, path), "rb") as f:
        lines = f.read().decode("utf-8", "replace").splitlines()
    for number, line in enumerate(lines, 1):
        match = INCLUDE.match(line)
        if not match:
            continue
        quote, name = match.groups()
        # Quoted names are looked up beside the file first, then from the
        # root; names in angle brackets only from the root (else they are
        # the system's).
        candidates = [name] if quote == "<" else [os.path.join(os.path.dirname(path), name), name]
        found = next((r for r in map(tree.resolve, candidates) if r), None)
        if not found:
            continue
        written, on_disk = found
        if written != on_disk:
            yield number, '#include "%s" differs in case from the file on disk, %s' % (name, on_disk), on_disk
        if allowed is None:
            yield number, "%s/ has no place in the layers" % folder, on_disk
            continue
        target = on_disk.split("/")[0]
        if target not in allowed:
            yield number, "%s may not include %s/" % (folder, target), on_disk
            continue
        target_helper = helper_folder(on_disk)
        if target_helper and not test_code and not helper_folder(path):
            yield number, "product code may not include %s/%s/" % (target, target_helper), on_disk


def read_allow_list(path):
    """Allowed offences as `file -> included file`, one a line; # starts a comment."""
    entries = set()
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.split("#", 1)[0].strip()
            if line:
                entries.add(" ".join(line.split()))
    return entries


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("root", nargs="?", default=os.path.join(os.path.dirname(__file__), ".."))
    parser.add_argument("--allow", help="allow-list of known offences")
    args = parser.parse_args()
    tree = Tree(os.path.abspath(args.root))
    allow = read_allow_list(args.allow) if args.allow else set()

    failures, allowed_seen = [], set()
    for path in tree.files:
        if not path.endswith(SOURCE_SUFFIXES):
            continue
        for number, message, included in check_file(tree, path):
            entry = "%s -> %s" % (path, included)
            if entry in allow:
                allowed_seen.add(entry)
            else:
                failures.append("%s:%d: %s" % (path, number, message))
    stale = sorted(allow - allowed_seen)

    for failure in failures:
        print(failure)
    for entry in stale:
        print("%s: listed in %s but no longer found; take it off the list" % (entry, args.allow))
    if allowed_seen:
        print("check_layers: %d known offence(s) allowed by %s" % (len(allowed_seen), args.allow))
    if failures or stale:
        print("check_layers: %d offence(s), %d stale allow-list entr%s" %
              (len(failures), len(stale), "y" if len(stale) == 1 else "ies"), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
