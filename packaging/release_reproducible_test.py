"""The same sources give the same release zip: both executables are linked
again (their resources compiled again too), the zip is packed again, and
every byte must come out as before.

Environment (set by ctest): TALLYO_RELEASE_ZIP, TALLYO_EXE, TALLYO_CLI_EXE,
TALLYO_BUILD_DIR.
"""
import glob
import os
import subprocess
import time
import unittest
import zipfile

ZIP = os.environ["TALLYO_RELEASE_ZIP"]
BUILD = os.environ["TALLYO_BUILD_DIR"]
EXECUTABLES = [os.environ["TALLYO_EXE"], os.environ["TALLYO_CLI_EXE"]]


def read(path):
    with open(path, "rb") as f:
        return f.read()


def first_difference(a, b):
    return next((i for i, (x, y) in enumerate(zip(a, b)) if x != y), min(len(a), len(b)))


def pack():
    result = subprocess.run(["cmake", "--build", BUILD, "--target", "release_zip"], capture_output=True, text=True)
    if result.returncode != 0:
        raise AssertionError("release_zip failed:\n" + result.stdout + result.stderr)


class Reproducible(unittest.TestCase):
    def test_linked_and_packed_again_the_zip_is_the_same(self):
        pack()
        zip_before = read(ZIP)
        executables_before = [read(exe) for exe in EXECUTABLES]
        resources = glob.glob(os.path.join(BUILD, "**", "*.rc.res"), recursive=True)
        self.assertGreaterEqual(len(resources), 2)
        # Later by more than the zip's two-second steps: a time taken from
        # the clock anywhere would show.
        time.sleep(2.5)
        for path in EXECUTABLES + resources:
            os.remove(path)
        pack()
        for path, before in zip(EXECUTABLES, executables_before):
            after = read(path)
            self.assertEqual(len(after), len(before), path)
            self.assertTrue(after == before, "%s differs from byte %d" % (path, first_difference(after, before)))
        zip_after = read(ZIP)
        if zip_after != zip_before:
            with zipfile.ZipFile(ZIP) as z:
                listing = [(i.filename, i.date_time, i.CRC) for i in z.infolist()]
            self.fail("the zip differs from byte %d; it now holds %r"
                      % (first_difference(zip_after, zip_before), listing))


if __name__ == "__main__":
    unittest.main(verbosity=2)
