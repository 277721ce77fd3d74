"""The release zip at work: unpacked under Wine into a folder whose name holds
a blank and Chinese characters, the program started from there hidden, a
reminder added with the zip's own tallyo-cli, alerted and answered, start
with Windows ticked, and the program ended from the tray menu; its files
land beside Tallyo.exe and nowhere else. Then a folder the program cannot
write to: the first save is reported, and nothing is lost.

Environment (set by ctest and tools/test.sh): DISPLAY, WINEPREFIX,
TALLYO_RELEASE_ZIP, TALLYO_RELEASE_NAME, TALLYO_E2E_DIR (the end-to-end
helpers), TALLYO_WINDOW_TEXT (window_text.exe), TALLYO_E2E_OUT (screenshots).
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import unittest
import zipfile

sys.path.insert(0, os.environ["TALLYO_E2E_DIR"])
from tallyo_e2e import (ADD_CAPTION, MAIN_CAPTION, MESSAGE_CAPTION, REMINDER_CAPTION,  # noqa: E402
                        SETTINGS_CAPTION, TRAY_CAPTION, WINE, Event, choose_from_tray_menu, click, closed_port,
                        find_window, grid_rows, key, local_now, observe_for, read_config, read_events, screenshot,
                        tray_icon_click, type_text, wait_for, wait_for_window, wait_for_window_gone,
                        write_config, write_events)

ZIP = os.environ["TALLYO_RELEASE_ZIP"]
RELEASE = os.environ["TALLYO_RELEASE_NAME"]
DRIVE_C = os.path.join(os.environ["WINEPREFIX"], "drive_c")
RUN_KEY = r"HKCU\SOFTWARE\Microsoft\Windows\CurrentVersion\Run"
HIDDEN_START_PERIOD = 1.0  # a hidden start shows no main window meanwhile

# Places in the windows (client pixels).
MAIN_ADD = (500, 342)
MAIN_SETTINGS = (472, 450)
MAIN_CLOSE = (623, 9)
EDITOR_TITLE = (150, 79)
EDITOR_OK = (143, 323)
POPUP_OK = (144, 323)
SETTINGS_AUTORUN = (58, 73)
SETTINGS_OK = (144, 325)


def wine_env():
    # A UTF-8 locale, so Wine passes the Chinese folder name on intact.
    return dict(os.environ, WINEDEBUG="-all", LANG=os.environ.get("LANG") or "C.UTF-8",
                TZ=os.environ.get("TZ", "Asia/Shanghai"))


def program_files_anywhere():
    """Every event.dat or config.ini (or file made from their names) in the
    Wine prefix's drive C."""
    found = set()
    for folder, _, files in os.walk(DRIVE_C):
        for name in files:
            if name.startswith(("event.dat", "config.ini")):
                found.add(os.path.join(folder, name))
    return found


def run_value():
    """The start-with-Windows value of the test prefix, or None. Exported to
    a file: reg query prints through the console's code page, which loses
    Chinese."""
    with tempfile.TemporaryDirectory() as folder:
        exported = os.path.join(folder, "run.reg")
        subprocess.run([WINE, "reg", "export", RUN_KEY, "Z:" + exported.replace("/", "\\"), "/y"],
                       env=wine_env(), capture_output=True, timeout=60)
        if not os.path.exists(exported):
            return None
        with open(exported, "rb") as f:
            text = f.read().decode("utf-16")
    for line in text.splitlines():
        if line.startswith('"QXR_Vadududi"="'):
            return re.sub(r"\\(.)", r"\1", line.split("=", 1)[1][1:-1])
    return None


def delete_run_value():
    subprocess.run([WINE, "reg", "delete", RUN_KEY, "/v", "QXR_Vadududi", "/f"], env=wine_env(),
                   capture_output=True, timeout=60)


def set_writable(path, writable):
    """Root writes through any file mode, so as root the folder is made
    immutable (chattr): no file can be created, renamed or deleted in it,
    which is what a folder without write permission means to a user."""
    if os.geteuid() == 0:
        result = subprocess.run(["chattr", "-i" if writable else "+i", path], capture_output=True, text=True)
        return result.returncode == 0
    os.chmod(path, 0o755 if writable else 0o555)
    return True


class Unpacked:
    """The zip unpacked into C:\\<parent>\\, and the program run from there."""

    def __init__(self, parent):
        self.parent = os.path.join(DRIVE_C, parent)
        self.remove()
        with zipfile.ZipFile(ZIP) as z:
            z.extractall(self.parent)
        self.dir = os.path.join(self.parent, RELEASE)
        self.windows_dir = "C:\\" + parent + "\\" + RELEASE
        self.event_path = os.path.join(self.dir, "event.dat")
        self.config_path = os.path.join(self.dir, "config.ini")
        # The program's working folder: nothing of it may land there.
        self.elsewhere = tempfile.mkdtemp(prefix="tallyo-release-cwd-")
        self.process = None

    def start(self, *args):
        self.process = subprocess.Popen([WINE, self.windows_dir + "\\Tallyo.exe"] + list(args), cwd=self.elsewhere,
                                        env=wine_env(), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def cli(self, *args):
        return subprocess.run([WINE, self.windows_dir + "\\tallyo-cli.exe"] + list(args), cwd=self.elsewhere,
                              env=wine_env(), capture_output=True, timeout=60)

    def running(self):
        return self.process is not None and self.process.poll() is None

    def stop(self):
        if self.running():
            self.process.kill()
            self.process.wait()
            wait_for(lambda: find_window(MAIN_CAPTION) is None, 10.0, "the main window to go")

    def remove(self):
        if os.path.isdir(self.parent):
            for folder, _, _ in os.walk(self.parent):
                set_writable(folder, True)
            shutil.rmtree(self.parent)

    def cleanup(self):
        self.stop()
        self.remove()
        shutil.rmtree(self.elsewhere, ignore_errors=True)


def window_texts(caption):
    """The texts of the shown window with that caption and of its controls,
    read in the same Wine session by the helper window_text.exe."""
    result = subprocess.run([WINE, os.environ["TALLYO_WINDOW_TEXT"], caption], env=wine_env(), capture_output=True,
                            timeout=60)
    return result.stdout.decode("utf-8", "replace") if result.returncode == 0 else ""


class UnpackedAndRun(unittest.TestCase):
    def test_remind_autorun_and_exit_from_a_folder_with_a_blank_and_chinese(self):
        app = Unpacked("Tallyo 工具")
        self.addCleanup(app.cleanup)
        delete_run_value()
        self.addCleanup(delete_run_value)
        self.assertEqual(sorted(os.listdir(app.dir)),
                         ["README.txt", "THIRD-PARTY-NOTICES.txt", "Tallyo.exe", "tallyo-cli.exe"])
        write_config(app.config_path, closed_port(), bTray=1, nTipType=0, bAutoRun=0)
        before = program_files_anywhere()

        app.start("hide")
        wait_for_window(TRAY_CAPTION, 20)
        observe_for(HIDDEN_START_PERIOD, lambda: app.running() and find_window(MAIN_CAPTION) is None,
                    "the hidden program shows no main window")

        # A reminder due in a few seconds, added by the zip's own tallyo-cli
        # to the files of its own folder.
        due = local_now() + 8
        added = app.cli("add", "--title", "牙医 Dentist", "--at",
                        time.strftime("%Y-%m-%d %H:%M:%S", time.localtime(due)))
        self.assertEqual(added.returncode, 0, added.stderr.decode("utf-8", "replace"))
        self.assertEqual([e.title for e in read_events(app.event_path)], ["牙医 Dentist"])

        # The running program takes it in and alerts; OK deletes it.
        popup = wait_for_window(REMINDER_CAPTION, 30)
        self.assertGreaterEqual(local_now(), due - 1)
        self.assertIsNone(find_window(MAIN_CAPTION))
        screenshot("release_reminder_popup")
        click(popup, *POPUP_OK)
        wait_for_window_gone(REMINDER_CAPTION)
        wait_for(lambda: read_events(app.event_path) == [], 5, "the answered reminder deleted")

        # Start with Windows, ticked in the settings dialog.
        tray_icon_click(double=True)
        main = wait_for_window(MAIN_CAPTION)
        click(main, *MAIN_SETTINGS)
        settings = wait_for_window(SETTINGS_CAPTION)
        click(settings, *SETTINGS_AUTORUN)
        click(settings, *SETTINGS_OK)
        wait_for_window_gone(SETTINGS_CAPTION)
        wait_for(lambda: read_config(app.config_path).get("bAutoRun") == "1", 5, "config.ini")
        self.assertEqual(run_value(), '"%s\\Tallyo.exe" hide' % app.windows_dir)

        # "退出" from the tray menu, with the window hidden first.
        click(main, *MAIN_CLOSE)
        wait_for_window_gone(MAIN_CAPTION)
        choose_from_tray_menu("退出")
        wait_for(lambda: not app.running(), 10, "the program to end")

        self.assertEqual(program_files_anywhere() - before, {app.event_path})
        self.assertTrue(os.path.exists(app.config_path))
        self.assertEqual(os.listdir(app.elsewhere), [])


class UnwritableFolder(unittest.TestCase):
    """One run, several observations; each test checks one of them."""

    @classmethod
    def setUpClass(cls):
        app = Unpacked("Tallyo 只读")
        cls.addClassCleanup(app.cleanup)
        now = local_now()
        lt = time.localtime(now)
        cls.kept = Event("kept", now - min(300, lt.tm_hour * 3600 + lt.tm_min * 60 + lt.tm_sec))  # today
        write_events(app.event_path, [cls.kept])
        write_config(app.config_path, closed_port(), bTray=0, nTipType=0)
        with open(app.event_path, "rb") as f:
            cls.on_disk = f.read()
        if not set_writable(app.dir, False):
            raise unittest.SkipTest("this file system cannot make a folder unwritable for root (chattr)")
        cls.folder = app.windows_dir

        app.start()
        main = wait_for_window(MAIN_CAPTION, 20)
        click(main, *MAIN_ADD)
        editor = wait_for_window(ADD_CAPTION)
        click(editor, *EDITOR_TITLE)
        type_text("added")
        click(editor, *EDITOR_OK)
        message = wait_for_window(MESSAGE_CAPTION)
        screenshot("release_unwritable_folder_message")
        cls.message = window_texts(MESSAGE_CAPTION)
        click(message, 150, 50)
        key("Return")
        wait_for_window_gone(MESSAGE_CAPTION)
        # What the tests below check, seen once the grid lists the change or
        # a bounded time has passed.
        try:
            wait_for(lambda: [row[0] for row in grid_rows(main)] == ["kept", "added"], 8, "the grid")
        except AssertionError:
            pass
        cls.rows = grid_rows(main)
        cls.running = app.running()
        with open(app.event_path, "rb") as f:
            cls.on_disk_after = f.read()

    def test_the_first_save_is_reported_naming_the_folder(self):
        self.assertIn(self.folder, self.message)

    def test_the_message_names_event_dat_not_the_temporary_file(self):
        self.assertIn("event.dat", self.message)
        self.assertNotIn("event.dat.tmp", self.message)

    def test_nothing_is_lost_and_the_program_keeps_running(self):
        self.assertTrue(self.running)
        self.assertEqual([row[0] for row in self.rows], ["kept", "added"])
        self.assertEqual(self.on_disk_after, self.on_disk)


if __name__ == "__main__":
    unittest.main(verbosity=2)
