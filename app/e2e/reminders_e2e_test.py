"""Reminders end to end: the popup after start (shown or hidden), its three
answers saved to event.dat, Cancel bringing it back, the flashing kind
answered from the notification area, a reminder that comes while another
dialog is open, and the settings dialog with the start-with-Windows entry."""
import os
import subprocess
import time
import unittest

from tallyo_e2e import (ADD_CAPTION, MAIN_CAPTION, REMINDER_CAPTION, SETTINGS_CAPTION, TRAY_CAPTION,
                        E2ETest, Event, click, find_window, key, local_now, save_tray, screenshot,
                        tray_icon_click, tray_icon_frame, type_text, wait_for)

# Places in the reminder popup (client pixels).
POPUP_OK = (144, 323)
POPUP_CANCEL = (254, 323)
POPUP_MINUTES = (126, 186)
# The main window and the add dialog.
ADD = (500, 342)
ADD_OK = (143, 323)
ADD_TITLE = (150, 79)
SETTINGS = (472, 450)
# The settings dialog.
SETTINGS_OK = (144, 325)
SETTINGS_CANCEL = (254, 325)
AUTORUN_BOX = (58, 73)
TRAY_BOX = (58, 90)
FLASH_RADIO = (57, 127)

RUN_KEY = r"HKCU\SOFTWARE\Microsoft\Windows\CurrentVersion\Run"


def wait_window(caption, timeout=10.0):
    return wait_for(lambda: find_window(caption), timeout, "window " + caption)


def wait_gone(caption, timeout=10.0):
    wait_for(lambda: find_window(caption) is None, timeout, "window %s to close" % caption)


def due_reminder(title="Dentist", seconds_ago=30, created_ago=3600, body="Bring the card"):
    now = local_now()
    return Event(title, now - created_ago, body, 1, now - seconds_ago)


def run_value():
    """The Run entry of the test prefix, or None."""
    out = subprocess.run(["/usr/lib/wine/wine64", "reg", "query", RUN_KEY, "/v", "QXR_Vadududi"],
                         capture_output=True, env=dict(os.environ, WINEDEBUG="-all"))
    if out.returncode != 0:
        return None
    for line in out.stdout.decode("utf-8", "replace").splitlines():
        if "QXR_Vadududi" in line and "REG_SZ" in line:
            return line.split("REG_SZ", 1)[1].strip()
    return None


def delete_run_value():
    subprocess.run(["/usr/lib/wine/wine64", "reg", "delete", RUN_KEY, "/v", "QXR_Vadududi", "/f"],
                   capture_output=True, env=dict(os.environ, WINEDEBUG="-all"))


class PopupAlerts(E2ETest):
    def test_due_before_start_pops_up_and_ok_deletes_it(self):
        app = self.launch([due_reminder(), Event("memo", local_now() - 100)], nTipType=0)
        started = time.time()
        popup = wait_window(REMINDER_CAPTION, 20)
        self.assertLess(time.time() - started, 15)
        screenshot("reminder_popup")
        click(popup, *POPUP_OK)  # "我知道了" is chosen from the start
        wait_gone(REMINDER_CAPTION)
        wait_for(lambda: [e.title for e in app.events()] == ["memo"], 5, "the reminder deleted")
        time.sleep(1.5)
        self.assertIsNone(find_window(REMINDER_CAPTION))

    def test_hidden_start_pops_up_too_and_the_window_stays_hidden(self):
        app = self.launch([due_reminder()], args=["hide"], nTipType=0)
        popup = wait_window(REMINDER_CAPTION, 20)
        self.assertIsNone(find_window(MAIN_CAPTION))
        click(popup, *POPUP_OK)
        wait_for(lambda: app.events() == [], 5, "the reminder deleted")
        self.assertIsNone(find_window(MAIN_CAPTION))

    def test_ten_minutes_moves_the_reminder(self):
        app = self.launch([due_reminder()], nTipType=0)
        popup = wait_window(REMINDER_CAPTION, 20)
        click(popup, *POPUP_MINUTES)
        key("ctrl+a")
        type_text("10")
        before = local_now()
        click(popup, *POPUP_OK)
        wait_gone(REMINDER_CAPTION)
        events = wait_for(lambda: [e for e in app.events() if e.remind_at > before], 5, "the new time")
        self.assertEqual(events[0].remind, 1)
        self.assertTrue(before + 600 - 2 <= events[0].remind_at <= local_now() + 600 + 2)
        self.assertEqual(events[0].content, "Bring the card")

    def test_cancel_brings_it_back_a_second_later(self):
        app = self.launch([due_reminder()], nTipType=0)
        popup = wait_window(REMINDER_CAPTION, 20)
        click(popup, *POPUP_CANCEL)
        wait_gone(REMINDER_CAPTION)
        closed = time.time()
        popup = wait_window(REMINDER_CAPTION, 10)
        self.assertLess(time.time() - closed, 5)
        self.assertEqual(len(app.events()), 1)
        click(popup, *POPUP_OK)
        wait_for(lambda: app.events() == [], 5, "the reminder deleted")

    def test_a_reminder_comes_while_the_add_dialog_is_open(self):
        now = local_now()
        soon = Event("soon", now - 100, "", 1, now + 4)
        app = self.launch([soon], nTipType=0)
        main = app.wait_main_window()
        click(main, *ADD)
        add = wait_window(ADD_CAPTION)
        popup = wait_window(REMINDER_CAPTION, 15)
        screenshot("reminder_over_add_dialog")
        click(popup, *POPUP_OK)
        wait_gone(REMINDER_CAPTION)
        wait_for(lambda: app.events() == [], 5, "the reminder deleted")
        click(add, *ADD_TITLE)
        type_text("added after")
        click(add, *ADD_OK)
        wait_for(lambda: [e.title for e in app.events()] == ["added after"], 5, "the new event")


class FlashingAlerts(E2ETest):
    def test_flashing_waits_for_a_double_click_on_the_tray_icon(self):
        app = self.launch([due_reminder()], args=["hide"], nTipType=1)
        wait_window(TRAY_CAPTION, 20)
        time.sleep(3.0)
        self.assertIsNone(find_window(REMINDER_CAPTION))
        # The icon alternates between its two frames every 700 ms.
        frames = set()
        deadline = time.time() + 5
        while len(frames) < 2 and time.time() < deadline:
            frame = tray_icon_frame()
            if frame not in frames:
                frames.add(frame)
                save_tray("tray_flash_frame_" + frame)
            time.sleep(0.1)
        self.assertEqual(frames, {"amber", "teal"}, "the tray icon does not flash")
        tray_icon_click(double=True)
        popup = wait_window(REMINDER_CAPTION, 10)
        self.assertIsNone(find_window(MAIN_CAPTION))
        click(popup, *POPUP_OK)
        wait_for(lambda: app.events() == [], 5, "the reminder deleted")
        self.assertIsNone(find_window(MAIN_CAPTION))

    def test_show_from_the_tray_menu_answers_too(self):
        app = self.launch([due_reminder()], bTray=1, nTipType=1)
        main = app.wait_main_window()
        time.sleep(2.5)
        self.assertIsNone(find_window(REMINDER_CAPTION))
        click(main, 623, 9)  # hides: bTray
        wait_gone(MAIN_CAPTION)
        tray_icon_click(button=3)
        time.sleep(0.5)
        click(find_window(TRAY_CAPTION), 45, 45)  # "显示"
        popup = wait_window(REMINDER_CAPTION, 10)
        self.assertIsNone(find_window(MAIN_CAPTION))
        click(popup, *POPUP_CANCEL)
        wait_gone(REMINDER_CAPTION)
        self.assertEqual(len(app.events()), 1)

    def test_any_other_alert_kind_flashes_and_can_be_answered(self):
        app = self.launch([due_reminder()], args=["hide"], nTipType=2)
        wait_window(TRAY_CAPTION, 20)
        time.sleep(2.5)
        self.assertIsNone(find_window(REMINDER_CAPTION))
        tray_icon_click(double=True)
        popup = wait_window(REMINDER_CAPTION, 10)
        click(popup, *POPUP_OK)
        wait_for(lambda: app.events() == [], 5, "the reminder deleted")


class SettingsAndAutorun(E2ETest):
    def test_ok_writes_config_and_the_run_value_cancel_writes_nothing(self):
        delete_run_value()
        self.addCleanup(delete_run_value)
        app = self.launch([], bTray=0, nTipType=0, bAutoRun=0)
        main = app.wait_main_window()
        with open(app.config_path, "rb") as f:
            before = f.read()
        click(main, *SETTINGS)
        settings = wait_window(SETTINGS_CAPTION)
        screenshot("settings_dialog")
        click(settings, *AUTORUN_BOX)
        click(settings, *TRAY_BOX)
        click(settings, *SETTINGS_CANCEL)
        wait_gone(SETTINGS_CAPTION)
        time.sleep(0.5)
        with open(app.config_path, "rb") as f:
            self.assertEqual(f.read(), before)
        self.assertIsNone(run_value())

        click(main, *SETTINGS)
        settings = wait_window(SETTINGS_CAPTION)
        click(settings, *AUTORUN_BOX)
        click(settings, *TRAY_BOX)
        click(settings, *FLASH_RADIO)
        click(settings, *SETTINGS_OK)
        wait_gone(SETTINGS_CAPTION)
        config = wait_for(lambda: app.config().get("bAutoRun") == "1" and app.config(), 5, "config.ini")
        self.assertEqual(config["bTray"], "1")
        self.assertEqual(config["nTipType"], "1")
        value = run_value()
        self.assertIsNotNone(value)
        self.assertTrue(value.endswith("Tallyo.exe hide") or value.endswith('Tallyo.exe" hide'), value)
        # bTray now set: the close button hides the window.
        click(main, 623, 9)
        wait_gone(MAIN_CAPTION)
        self.assertTrue(app.running())


if __name__ == "__main__":
    unittest.main(verbosity=2)
