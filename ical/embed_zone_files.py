#!/usr/bin/env python3
"""Writes libical's built-in time zones (zones.tab and the VTIMEZONE file of
each zone it lists) as a C++ table, compiled into the Windows executables.

Usage: embed_zone_files.py ZONEINFO_DIR OUTPUT_CPP
"""
import os
import sys


def literal(data):
    """A C string literal of ASCII text, one source line per line of text."""
    out = []
    for line in data.decode("ascii").splitlines(keepends=True):
        text = line.replace("\\", "\\\\").replace('"', '\\"').replace("\n", "\\n").replace("\r", "\\r")
        out.append('"%s"' % text)
    return "\n    ".join(out) if out else '""'


def main():
    zoneinfo, output = sys.argv[1], sys.argv[2]
    with open(os.path.join(zoneinfo, "zones.tab"), "rb") as f:
        table = f.read()
    # Each line is "[latitude longitude] location"; the location names the file.
    names = ["zones.tab"] + sorted(line.split()[-1] + ".ics" for line in table.decode("ascii").splitlines()
                                   if line.strip() and not line.startswith("#"))
    names.sort(key=lambda n: n.encode())
    rows = []
    for name in names:
        with open(os.path.join(zoneinfo, name), "rb") as f:
            data = f.read()
        rows.append('  {"%s", %d,\n    %s},' % (name, len(data), literal(data)))
    text = ("// Made by ical/embed_zone_files.py from libical's zoneinfo/ folder: do not edit.\n"
            '#include "ical/builtin_zone_files.h"\n\n'
            "namespace tallyo {\n\n"
            "extern const BuiltinZoneFile kBuiltinZoneFiles[] = {\n%s\n};\n"
            "extern const std::size_t kBuiltinZoneFileCount = %d;\n\n"
            "}  // namespace tallyo\n") % ("\n".join(rows), len(rows))
    tmp = output + ".tmp"
    with open(tmp, "w", encoding="ascii", newline="\n") as f:
        f.write(text)
    os.replace(tmp, output)


if __name__ == "__main__":
    main()
