"""The calendar sync end to end: radicale on 127.0.0.1 (started here, with a
folder and user of its own) as the user's server, python3-caldav standing in
for the phone. The user sets the sync up in the dialog from the tray menu; an
event the phone adds arrives in the grid; the alert answered in Tallyo
removes it from the server."""
import datetime
import os
import subprocess
import tempfile
import time
import unittest
import uuid

import caldav

from tallyo_e2e import (MAIN_CAPTION, MESSAGE_CAPTION, REMINDER_CAPTION, SYNC_CAPTION, E2ETest,
                        choose_from_tray_menu, click, find_window, key, observe_for, screenshot, type_text, wait_for,
                        wait_for_events, wait_for_window, wait_for_window_gone, window_texts)

RADICALE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "caldav", "testing",
                        "radicale_server.py")
USER, PASSWORD = "tallyo", "s3cret-pass"  # radicale_server.py's user

# Places in the sync dialog (client pixels).
ADDRESS = (200, 62)
USER_EDIT = (138, 88)
PASSWORD_EDIT = (138, 114)
DISCOVER = (333, 113)
ENABLED = (74, 218)
SYNC_OK = (144, 325)
MAIN_CLOSE = (623, 9)
POPUP_OK = (144, 323)

SYNC_CANCEL = (254, 325)
SYNC_NOW = (333, 228)

_server_dir = None


def start_server():
    """A fresh radicale for one test: its calendars are the test's alone."""
    global _server_dir
    _server_dir = tempfile.mkdtemp(prefix="tallyo-e2e-radicale-")
    subprocess.run(["/usr/bin/python3", RADICALE, "start", _server_dir], check=True)


def stop_server():
    subprocess.run(["/usr/bin/python3", RADICALE, "stop", _server_dir], check=False)


def server_url(path="/"):
    with open(os.path.join(_server_dir, "ports")) as f:
        port = int(f.read().split()[0])
    return "http://127.0.0.1:%d%s" % (port, path)


def phone_calendar(name, displayname):
    """The phone's view of a new calendar on the server."""
    client = caldav.DAVClient(server_url("/"), username=USER, password=PASSWORD)
    return client.principal().make_calendar(name=displayname, cal_id=name)


def phone_event(uid, title, at):
    """What a phone writes: a time zone, a display alarm at the start."""
    start = time.strftime("%Y%m%dT%H%M%S", time.localtime(at))
    return ("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//phone//EN\r\n"
            "BEGIN:VTIMEZONE\r\nTZID:Asia/Shanghai\r\nBEGIN:STANDARD\r\nDTSTART:19700101T000000\r\n"
            "TZOFFSETFROM:+0800\r\nTZOFFSETTO:+0800\r\nTZNAME:CST\r\nEND:STANDARD\r\nEND:VTIMEZONE\r\n"
            "BEGIN:VEVENT\r\nUID:%s\r\nDTSTAMP:20261208T000000Z\r\nDTSTART;TZID=Asia/Shanghai:%s\r\n"
            "DURATION:PT15M\r\nSUMMARY:%s\r\n"
            "BEGIN:VALARM\r\nACTION:DISPLAY\r\nDESCRIPTION:%s\r\nTRIGGER:PT0S\r\nEND:VALARM\r\n"
            "END:VEVENT\r\nEND:VCALENDAR\r\n" % (uid, start, title, title))


def read_sync_ini(app):
    path = os.path.join(app.dir, "sync.ini")
    if not os.path.exists(path):
        return {}
    values = {}
    with open(path, "rb") as f:
        for line in f.read().decode("gbk").splitlines():
            if "=" in line:
                k, v = line.split("=", 1)
                values[k] = v
    return values


class SyncSetUp(E2ETest):
    def setUp(self):
        start_server()
        self.addCleanup(stop_server)

    def set_up_in_the_dialog(self, app, password):
        """From the tray menu: the server, the user, 检测 with the right
        password, then `password` in its place, sync on, 确定."""
        choose_from_tray_menu("日历同步...")
        dialog = wait_for_window(SYNC_CAPTION)
        click(dialog, *ADDRESS)
        type_text(server_url("/"))
        click(dialog, *USER_EDIT)
        type_text(USER)
        click(dialog, *PASSWORD_EDIT)
        type_text(PASSWORD)
        click(dialog, *DISCOVER)
        wait_for(lambda: "找到 1 个日历" in window_texts(SYNC_CAPTION), 20.0, "the calendars found",
                 last_seen=lambda: window_texts(SYNC_CAPTION))
        if password != PASSWORD:
            click(dialog, *PASSWORD_EDIT)
            key("ctrl+a", "BackSpace")
            type_text(password)
        click(dialog, *ENABLED)
        return dialog

    def test_a_refused_password_stops_the_sync_and_is_told_once(self):
        phone_calendar("refused-" + uuid.uuid4().hex[:8], "refused")
        app = self.launch([], bTray=1)
        click(app.wait_main_window(), *MAIN_CLOSE)
        wait_for_window_gone(MAIN_CAPTION)
        dialog = self.set_up_in_the_dialog(app, "wrong")
        click(dialog, *SYNC_OK)
        wait_for_window_gone(SYNC_CAPTION)
        wait_for_window(MESSAGE_CAPTION, 20)
        self.assertIn("日历同步已停止", window_texts(MESSAGE_CAPTION))
        screenshot("sync-stopped-message")
        key("Return")
        wait_for_window_gone(MESSAGE_CAPTION)
        # No second message while the sync waits for the user.
        observe_for(8.0, lambda: find_window(MESSAGE_CAPTION) is None, "no second message")
        self.assertEqual(read_sync_ini(app).get("enabled"), "1")

    def test_set_up_in_the_dialog_then_the_phones_event_comes_and_the_answer_goes_back(self):
        calendar = phone_calendar("e2e-" + uuid.uuid4().hex[:8], "提醒")
        app = self.launch([], bTray=1, nTipType=0)  # an alert opens the popup
        main = app.wait_main_window()
        click(main, *MAIN_CLOSE)  # to the tray: its menu works then
        wait_for_window_gone(MAIN_CAPTION)

        choose_from_tray_menu("日历同步...")
        wait_for_window(SYNC_CAPTION)
        screenshot("sync-dialog-empty")
        click(find_window(SYNC_CAPTION), *SYNC_CANCEL)
        wait_for_window_gone(SYNC_CAPTION)
        dialog = self.set_up_in_the_dialog(app, PASSWORD)
        screenshot("sync-dialog-discovered")
        click(dialog, *SYNC_OK)
        wait_for_window_gone(SYNC_CAPTION)

        settings = read_sync_ini(app)
        self.assertEqual(settings.get("address"), server_url("/"))
        self.assertEqual(settings.get("user"), USER)
        self.assertEqual(settings.get("calendar_url"), str(calendar.url))
        self.assertEqual(settings.get("enabled"), "1")
        # The password is in no file of the folder.
        for name in os.listdir(app.dir):
            with open(os.path.join(app.dir, name), "rb") as f:
                self.assertNotIn(PASSWORD.encode(), f.read(), name)

        # The phone adds a reminder due in a minute and a half; the next pass
        # (the dialog's OK ran one; "立即同步" runs another) brings it in.
        due = int(time.time()) + 90
        calendar.save_event(phone_event("phone-1@e2e", "从手机来的提醒", due))
        choose_from_tray_menu("日历同步...")
        dialog = wait_for_window(SYNC_CAPTION)
        click(dialog, *SYNC_NOW)
        wait_for(lambda: "上次同步" in window_texts(SYNC_CAPTION), 20.0, "the pass's line",
                 last_seen=lambda: window_texts(SYNC_CAPTION))
        screenshot("sync-dialog-synced")
        click(dialog, *SYNC_OK)
        wait_for_window_gone(SYNC_CAPTION)
        wait_for_events(app, lambda events: [e.title for e in events] == ["从手机来的提醒"],
                        "the phone's event in event.dat", 30.0)

        # Its alert comes; "我知道了" deletes the one-off reminder here and,
        # a few seconds later, on the server.
        popup = wait_for_window(REMINDER_CAPTION, 150)
        click(popup, *POPUP_OK)
        wait_for_window_gone(REMINDER_CAPTION)
        wait_for_events(app, lambda events: events == [], "the answered reminder gone here", 10.0)
        wait_for(lambda: calendar.events() == [], 30.0, "the answered reminder gone from the server")


if __name__ == "__main__":
    unittest.main()
