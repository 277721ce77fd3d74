"""Calendar files in, end to end: a .ics file dropped on the main window is
named in a question, imported on a worker while a progress bar moves (a
large file), and summed up; event.dat holds its events afterwards. An
unreadable file is told and changes nothing; the tray menu's "导入日历..."
opens the file dialog; a second start with a file hands it to the copy that
runs. Screenshots of the question, the progress and the summary."""
import os
import subprocess
import tempfile
import time
import unittest

from tallyo_e2e import (TRAY_MENU_ITEMS, WINE, E2ETest, Event, click, count_pixels, find_window, key, local_now,
                        screenshot, tray_icon_click, type_text, visible_window_ids, wait_for, wait_for_new_window,
                        wait_for_window, wait_for_window_gone, window_geometry, window_texts)

IMPORT_CAPTION = "导入日历"
OPEN_CAPTION = "Open"  # the system's file-open dialog, in the test prefix's language
# The import dialog's buttons (client pixels): "导入" and "取消" side by side,
# "关闭" alone in the middle.
IMPORT_BUTTON = (144, 225)
CLOSE_BUTTON = (196, 225)
MAIN_IMPORT_BUTTON = (342, 445)  # "导入" on the main window's bottom bar


def ics_time(t):
    return time.strftime("%Y%m%dT%H%M%SZ", time.gmtime(t))


def calendar(events, extra=()):
    """A calendar of (uid, summary, start[, rule]) events, each with a display
    alarm at its start, and `extra` lines before its end, CR LF as the
    standard has it."""
    lines = ["BEGIN:VCALENDAR", "VERSION:2.0", "PRODID:-//Tallyo e2e//EN"]
    for uid, summary, start, *rule in events:
        lines += ["BEGIN:VEVENT", "UID:" + uid, "DTSTAMP:" + ics_time(start), "DTSTART:" + ics_time(start),
                  "DTEND:" + ics_time(start + 1800), "SUMMARY:" + summary] + ["RRULE:" + r for r in rule] + [
                  "BEGIN:VALARM", "ACTION:DISPLAY", "DESCRIPTION:" + summary, "TRIGGER:PT0S", "END:VALARM",
                  "END:VEVENT"]
    lines += list(extra) + ["END:VCALENDAR"]
    return ("\r\n".join(lines) + "\r\n").encode("utf-8")


def windows_path(path):
    return "Z:" + path.replace("/", "\\")


def drop(window, *paths):
    """Drops the files on the grid of the main window, as a file manager does."""
    helper = os.path.join(os.path.dirname(os.path.abspath(__file__)), "xdnd_drop.py")
    result = subprocess.run(["python3", helper, window, "300", "150"] + list(paths), capture_output=True,
                            timeout=60)
    if result.returncode != 0:
        raise AssertionError("xdnd_drop: " + result.stderr.decode("utf-8", "replace"))


# A calendar whose import takes long enough to see it under way.
EVENTS = 20000

# The progress bar (client pixels of the dialog): its middle row, and the
# amber of its filled part.
PROGRESS_ROW = (73, 184, 371, 185)


def amber(r, g, b):
    return r > 200 and 120 < g < 200 and b < 110


def catch_progress(box, start, name, timeout=60.0):
    """Calls `start`, then looks at the screen until the dialog's bar is
    partly filled, and saves that frame as <name>.png (a moving bar never
    lets the screen stand still, as screenshot() waits for). Returns the
    filled share, 0 to 1, or None when the import ended first (a frame of
    the screen takes longer than a fast machine's import)."""
    x, y, _, _ = window_geometry(box)
    left, top, right, _ = PROGRESS_ROW
    start()
    width = right - left
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        frame = subprocess.run(["import", "-window", "root", "-depth", "8", "ppm:-"], capture_output=True,
                               check=True).stdout
        # A binary PPM: "P6", width and height, maximum (255), then RGB rows.
        header = frame.split(b"\n", 3)
        screen_width = int(header[1].split()[0])
        pixels = header[3]
        start = ((y + top) * screen_width + x + left) * 3
        row = pixels[start:start + width * 3]
        filled = count_pixels(row, amber)
        if filled == 0 and done(import_text()):
            return None
        if 0 < filled < width:
            out_dir = os.environ.get("TALLYO_E2E_OUT", tempfile.gettempdir())
            os.makedirs(out_dir, exist_ok=True)
            subprocess.run(["convert", "ppm:-", os.path.join(out_dir, name + ".png")], input=frame, check=True)
            return filled / width
    raise AssertionError("timed out after %g s waiting for a partly filled progress bar" % timeout)


def import_text():
    return window_texts(IMPORT_CAPTION)


def wait_for_import_text(predicate, what, timeout=20.0):
    return wait_for(lambda: (lambda t: t if t and predicate(t) else None)(import_text()), timeout, what,
                    last_seen=import_text)


# The dialog's texts, one a line, end with its buttons' captions: "导入" and
# "取消" while it asks, "关闭" once it is done.
def asking(text):
    return "导入" in text.split("\n")


def done(text):
    return "关闭" in text.split("\n")


class CalendarImport(E2ETest):
    def write_file(self, app, name, data):
        path = os.path.join(app.dir, name)
        with open(path, "wb") as f:
            f.write(data)
        return path

    def test_a_file_dropped_on_the_main_window_is_asked_about_imported_and_summed_up(self):
        now = local_now()
        app = self.prepare([Event("already here", now - 3600)])
        # Three to come (one of them weekly), one past, one without a start.
        path = self.write_file(app, "工作日历.ics", calendar([
            ("a@e2e", "周会", now + 86400, "FREQ=WEEKLY"), ("b@e2e", "Dentist", now + 2 * 86400),
            ("c@e2e", "交报告", now + 3 * 86400), ("p@e2e", "last year", now - 400 * 86400)],
            extra=["BEGIN:VEVENT", "UID:bad@e2e", "SUMMARY:no start", "DTSTART:nonsense", "END:VEVENT"]))
        app.start()
        drop(app.wait_main_window(), path)
        box = wait_for_window(IMPORT_CAPTION, 15)
        text = wait_for_import_text(lambda t: asking(t) and "导入 3 个事件" in t, "the question")
        self.assertIn("工作日历.ics", text)
        self.assertIn("其中 1 个重复", text)
        screenshot("import_question")
        click(box, *IMPORT_BUTTON)
        text = wait_for_import_text(done, "the summary")
        self.assertIn("3", text)
        screenshot("import_summary")
        click(box, *CLOSE_BUTTON)
        wait_for_window_gone(IMPORT_CAPTION)
        titles = sorted(e.title for e in app.events())
        self.assertEqual(titles, sorted(["already here", "周会", "Dentist", "交报告"]))
        with open(os.path.join(app.dir, "repeat.ini"), "rb") as f:
            self.assertIn(b"rule=FREQ=WEEKLY", f.read())

    def test_a_large_file_shows_its_progress_and_the_window_goes_on(self):
        now = local_now()
        app = self.prepare([])
        events = [("big-%d@e2e" % i, "事件 %d" % i, now + 3600 + 60 * i) for i in range(EVENTS)]
        path = self.write_file(app, "big.ics", calendar(events))
        app.start()
        drop(app.wait_main_window(), path)
        box = wait_for_window(IMPORT_CAPTION, 60)
        wait_for_import_text(lambda t: asking(t) and "导入 %d 个事件" % EVENTS in t, "the question", timeout=60)
        # The dialog takes its messages while the worker imports: the bar fills.
        share = catch_progress(box, lambda: click(box, *IMPORT_BUTTON), "import_progress")
        if share is not None:
            self.assertLess(share, 1.0)
            # It answers while the worker imports: its text tells how far.
            wait_for_import_text(lambda t: done(t) or ("已完成" in t and "/ %d" % EVENTS in t), "the count so far",
                                 timeout=30)
        wait_for_import_text(done, "the summary", timeout=300)
        screenshot("import_large_summary")
        click(box, *CLOSE_BUTTON)
        wait_for(lambda: len(app.events()) == EVENTS, 10, "the events in event.dat")

    def test_a_file_that_is_no_calendar_is_told_and_nothing_changes(self):
        now = local_now()
        app = self.prepare([Event("keep me", now - 60)])
        with open(app.event_path, "rb") as f:
            before = f.read()
        path = self.write_file(app, "notes.ics", b"just some words\r\n")
        app.start()
        drop(app.wait_main_window(), path)
        box = wait_for_window(IMPORT_CAPTION, 15)
        text = wait_for_import_text(lambda t: done(t) and "无法导入日历文件" in t, "the message")
        self.assertIn("notes.ics", text)
        self.assertIn("没有改变任何事件", text)
        screenshot("import_unreadable")
        click(box, *CLOSE_BUTTON)
        wait_for_window_gone(IMPORT_CAPTION)
        with open(app.event_path, "rb") as f:
            self.assertEqual(f.read(), before)

    def test_the_tray_menu_opens_a_calendar_file_through_the_file_dialog(self):
        now = local_now()
        app = self.prepare([], bTray=1)
        path = self.write_file(app, "tray.ics", calendar([("t@e2e", "from the tray", now + 86400)]))
        app.start("hide")
        before = set(visible_window_ids())
        tray_icon_click(button=3)
        menu = wait_for_new_window(before, "the tray menu")
        screenshot("import_tray_menu")
        click(menu, *TRAY_MENU_ITEMS["导入日历..."])
        dialog = wait_for_window(OPEN_CAPTION, 15)
        # Keys go to the window clicked last: a click on the dialog's bare
        # bottom-left corner, which leaves the focus in the file name box.
        _, _, _, height = window_geometry(dialog)
        click(dialog, 6, height - 6)
        screenshot("import_open_dialog")
        type_text(windows_path(path))
        key("Return")
        box = wait_for_window(IMPORT_CAPTION, 15)
        wait_for_import_text(lambda t: asking(t) and "导入 1 个事件" in t, "the question")
        click(box, *IMPORT_BUTTON)
        wait_for_import_text(done, "the summary")
        click(box, *CLOSE_BUTTON)
        wait_for(lambda: [e.title for e in app.events()] == ["from the tray"], 10, "the event in event.dat")

    def test_the_main_windows_import_button_opens_the_file_dialog(self):
        app = self.launch([])
        main = app.wait_main_window()
        click(main, *MAIN_IMPORT_BUTTON)
        wait_for_window(OPEN_CAPTION, 15)
        key("Escape")
        wait_for_window_gone(OPEN_CAPTION)
        self.assertIsNone(find_window(IMPORT_CAPTION))  # nothing chosen, nothing imported

    def test_a_second_start_with_a_file_hands_it_to_the_copy_that_runs(self):
        now = local_now()
        app = self.prepare([])
        path = self.write_file(app, "second.ics", calendar([("s@e2e", "handed over", now + 86400)]))
        app.start()
        app.wait_main_window()
        env = dict(os.environ, WINEDEBUG="-all")
        second = subprocess.run([WINE, os.path.join(app.dir, "Tallyo.exe"), windows_path(path)], env=env,
                                capture_output=True, timeout=60)
        self.assertEqual(second.returncode, 0)  # it ended: the running copy took the file
        box = wait_for_window(IMPORT_CAPTION, 15)
        wait_for_import_text(lambda t: asking(t) and "导入 1 个事件" in t, "the question in the running copy")
        click(box, *IMPORT_BUTTON)
        wait_for_import_text(done, "the summary")
        click(box, *CLOSE_BUTTON)
        wait_for(lambda: [e.title for e in app.events()] == ["handed over"], 10, "the event in event.dat")


if __name__ == "__main__":
    unittest.main()
