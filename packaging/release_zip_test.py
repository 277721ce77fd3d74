"""The release zip as a user downloads it: one folder with four files in name
order, one fixed time on every entry, the executables of the build without
debug sections or time stamps, texts for Windows, and third-party notices for
everything the link maps show linked in.

Environment (set by ctest): TALLYO_RELEASE_ZIP, TALLYO_RELEASE_NAME,
TALLYO_EXE, TALLYO_CLI_EXE, TALLYO_LINK_MAPS (comma-separated).
"""
import calendar
import os
import re
import struct
import subprocess
import unittest
import zipfile

ZIP = os.environ["TALLYO_RELEASE_ZIP"]
FOLDER = os.environ["TALLYO_RELEASE_NAME"] + "/"
BUILT = {"Tallyo.exe": os.environ["TALLYO_EXE"], "tallyo-cli.exe": os.environ["TALLYO_CLI_EXE"]}
FILES = ["README.txt", "THIRD-PARTY-NOTICES.txt", "Tallyo.exe", "tallyo-cli.exe"]

# Which notice covers an archive or object file the link took code from.
# Tallyo's own archives are left out; anything else unknown fails the test:
# whoever links in something new adds its licence to THIRD-PARTY-NOTICES.txt
# and a line here.
NOTICE_FOR = {
    "libtinyxml.a": "TinyXML",
    "libical.a": "libical",
    "crt2.o": "mingw-w64 runtime",
    "libmingw32.a": "mingw-w64 runtime",
    "libmingwex.a": "mingw-w64 runtime",
    "libmsvcrt.a": "mingw-w64 runtime",
    "libmoldname.a": "mingw-w64 runtime",
    "libpthread.a": "winpthreads",
    "libwinpthread.a": "winpthreads",
    "libstdc++.a": "GCC",
    "libgcc.a": "GCC",
    "libgcc_eh.a": "GCC",
    "crtbegin.o": "GCC",
    "crtend.o": "GCC",
}
# Import libraries of Windows' own DLLs, made by the mingw-w64 project.
WINDOWS_DLLS = {"advapi32", "comctl32", "comdlg32", "gdi32", "kernel32", "msimg32", "ole32", "oleaut32",
                "shell32", "user32", "uuid", "version", "winhttp", "winmm", "winspool", "ws2_32"}
OUR_OWN = re.compile(r"^(libtallyo_\w+\.a|objects\.a)$")
# What the executables may load: DLLs that every Windows has. A runtime DLL
# of the compiler (libstdc++-6.dll, libwinpthread-1.dll) would not be there.
WINDOWS_OWN = {dll + ".dll" for dll in WINDOWS_DLLS | {"msvcrt"}}


def entries():
    with zipfile.ZipFile(ZIP) as z:
        return z.infolist(), {i.filename: z.read(i) for i in z.infolist()}


def pe_facts(data):
    """The parts of a PE file's headers that tell a stripped, time-free file."""
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    assert data[pe:pe + 4] == b"PE\0\0", "not a PE file"
    _, sections, stamp, symbols_at, symbols, optional_size, _ = struct.unpack_from("<HHIIIHH", data, pe + 4)
    optional = pe + 24
    assert struct.unpack_from("<H", data, optional)[0] == 0x20B, "not a 64-bit PE file"
    directories = [struct.unpack_from("<II", data, optional + 112 + 8 * i)
                   for i in range(struct.unpack_from("<I", data, optional + 108)[0])]
    table = optional + optional_size
    names, places = [], []
    for i in range(sections):
        at = table + 40 * i
        names.append(data[at:at + 8].rstrip(b"\0").decode("ascii", "replace"))
        size, rva, _, raw = struct.unpack_from("<IIII", data, at + 8)
        places.append((rva, size, raw))

    def offset(rva):
        return next(raw + rva - start for start, size, raw in places if start <= rva < start + size)

    resource_stamp = struct.unpack_from("<I", data, offset(directories[2][0]) + 4)[0]
    dlls = []
    at = offset(directories[1][0])
    while struct.unpack_from("<I", data, at + 12)[0]:
        name_at = offset(struct.unpack_from("<I", data, at + 12)[0])
        dlls.append(data[name_at:data.index(b"\0", name_at)].decode("ascii").lower())
        at += 20
    return {"stamp": stamp, "symbols": (symbols_at, symbols), "sections": names,
            "debug_directory": directories[6], "resource_stamp": resource_stamp, "dlls": dlls}


def linked_inputs(map_path):
    """File names of the archives and object files the link took code from."""
    with open(map_path, encoding="utf-8", errors="replace") as f:
        text = f.read()
    inputs = set(re.findall(r"^LOAD (\S+\.o)$", text, re.M))
    members = text.split("Archive member included to satisfy reference by file (symbol)", 1)[1]
    members = re.split(r"^(?:Discarded input sections|Allocating common symbols|Memory Configuration)",
                       members, maxsplit=1, flags=re.M)[0]
    inputs |= set(re.findall(r"^(\S+?\.a)\(", members, re.M))
    return {os.path.basename(p) for p in inputs}


def notice_headings(text):
    lines = text.split("\r\n")
    return [lines[i + 1] for i in range(len(lines) - 2)
            if lines[i].startswith("----") and lines[i + 2].startswith("----")]


def commit_time():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = subprocess.run(["git", "-C", root, "log", "-1", "--format=%ct"], capture_output=True, text=True)
    return int(out.stdout) if out.returncode == 0 and out.stdout.strip().isdigit() else None


class ReleaseZip(unittest.TestCase):
    def test_one_folder_holds_the_four_files_in_name_order(self):
        infos, _ = entries()
        names = [i.filename for i in infos]
        self.assertEqual(os.path.basename(ZIP), os.environ["TALLYO_RELEASE_NAME"] + "-win64.zip")
        self.assertEqual(names, [FOLDER + f for f in FILES])
        self.assertEqual(names, sorted(names, key=lambda n: n.encode()))
        self.assertEqual(FILES, sorted(FILES, key=lambda n: n.encode()))

    def test_every_entry_carries_the_commit_time_in_utc(self):
        infos, _ = entries()
        times = {i.date_time for i in infos}
        self.assertEqual(len(times), 1, times)
        for info in infos:
            # The Unix time of the "UT" extra field, and the zip's local time
            # written in UTC: the machine's zone changes neither.
            extra = info.extra
            at = extra.find(b"UT")
            self.assertGreaterEqual(at, 0, info.filename)
            unix_time = struct.unpack_from("<I", extra, at + 5)[0]
            self.assertEqual(calendar.timegm(info.date_time + (0, 0, 0)), unix_time - unix_time % 2)
        commit = commit_time()
        if commit is not None:
            self.assertEqual(unix_time, commit)

    def test_the_executables_are_the_builds_stripped_time_free_and_self_contained(self):
        _, data = entries()
        for name, built in BUILT.items():
            with self.subTest(name):
                with open(built, "rb") as f:
                    self.assertEqual(data[FOLDER + name], f.read())
                facts = pe_facts(data[FOLDER + name])
                self.assertEqual(facts["stamp"], 0)
                self.assertEqual(facts["symbols"], (0, 0))
                self.assertEqual([s for s in facts["sections"] if s.startswith((".debug", "/"))], [])
                self.assertEqual(facts["debug_directory"], (0, 0))
                self.assertEqual(facts["resource_stamp"], 0)
                self.assertIn("kernel32.dll", facts["dlls"])
                self.assertEqual([d for d in facts["dlls"] if d not in WINDOWS_OWN], [])

    def test_the_texts_are_windows_texts(self):
        _, data = entries()
        for name in ("README.txt", "THIRD-PARTY-NOTICES.txt"):
            with self.subTest(name):
                text = data[FOLDER + name]
                self.assertEqual(text.count(b"\n"), text.count(b"\r\n"), "a line ends without CR")
                self.assertIsNone(re.search(rb"@[A-Z_]+@", text), "a blank left unfilled")
        readme = data[FOLDER + "README.txt"]
        self.assertTrue(readme.startswith(b"\xef\xbb\xbf"), "no UTF-8 byte order mark for Notepad")
        readme = readme.decode("utf-8-sig")
        for topic in ("[中文说明]", "[English]", os.path.basename(ZIP), r"C:\Program Files", "开机自动运行",
                      "Start with Windows", "tallyo-cli", "export --ics", "THIRD-PARTY-NOTICES.txt"):
            self.assertIn(topic, readme)

    def test_the_notices_cover_everything_linked_in(self):
        _, data = entries()
        headings = notice_headings(data[FOLDER + "THIRD-PARTY-NOTICES.txt"].decode("utf-8"))
        maps = os.environ["TALLYO_LINK_MAPS"].split(",")
        self.assertEqual(len(maps), 2)
        needed = {}
        for map_path in maps:
            for name in linked_inputs(map_path):
                if OUR_OWN.match(name):
                    continue
                dll = re.fullmatch(r"lib(\w+)\.a", name)
                notice = NOTICE_FOR.get(name) or ("mingw-w64 runtime" if dll and dll[1] in WINDOWS_DLLS else None)
                self.assertIsNotNone(notice, "%s is linked into %s without a notice" % (name, map_path))
                needed.setdefault(notice, name)
        # The link maps are read: the libraries every build links are there.
        self.assertEqual(set(needed), {"TinyXML", "libical", "mingw-w64 runtime", "winpthreads", "GCC"})
        for notice in needed:
            self.assertTrue(any(h.startswith(notice) for h in headings), "no notice for " + notice)
        self.assertTrue(any(h.startswith("CLI11") for h in headings))  # compiled in from its headers


if __name__ == "__main__":
    unittest.main(verbosity=2)
