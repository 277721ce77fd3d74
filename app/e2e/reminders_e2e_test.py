"""Reminders end to end: the popup after start (shown or hidden), its three
answers saved to event.dat, Cancel bringing it back, the flashing kind
answered from the notification area, a reminder that comes while another
dialog is open, and the settings dialog with the start-with-Windows entry."""
import os
import subprocess
import time
import unittest

from tallyo_e2e import (ADD_CAPTION, MAIN_CAPTION, REMINDER_CAPTION, SETTINGS_CAPTION, E2ETest, Event,
                        choose_from_tray_menu, click, find_window, key, local_now, observe_for, screenshot,
                        tray_icon_click, tray_window, type_text, wait_for, wait_for_config, wait_for_events,
                        wait_for_titles, wait_for_tray_frames, wait_for_window, wait_for_window_gone)

# Places in the reminder popup (client pixels).
POPUP_OK = (144, 323)
POPUP_CANCEL = (254, 323)
POPUP_MINUTES = (126, 186)
# The main window and the add dialog.
ADD = (500, 342)
MAIN_GRID_CLEAR_OF_POPUP = (60, 290)  # the grid's empty lower part, left of where the popup lies
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

# Bounded observation periods, for checks that something does not happen.
QUIET_PERIOD = 1.0
ANSWERED_PERIOD = 1.5  # an answered reminder does not come back on the next ticks


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


def config_bytes(app):
    with open(app.config_path, "rb") as f:
        return f.read()


def delete_run_value():
    subprocess.run(["/usr/lib/wine/wine64", "reg", "delete", RUN_KEY, "/v", "QXR_Vadududi", "/f"],
                   capture_output=True, env=dict(os.environ, WINEDEBUG="-all"))


class PopupAlerts(E2ETest):
    def test_due_before_start_pops_up_and_ok_deletes_it(self):
        app = self.launch([due_reminder(), Event("memo", local_now() - 100)], nTipType=0)
        started = time.time()
        popup = wait_for_window(REMINDER_CAPTION, 20)
        self.assertLess(time.time() - started, 15)
        screenshot("reminder_popup")
        click(popup, *POPUP_OK)  # "我知道了" is chosen from the start
        wait_for_window_gone(REMINDER_CAPTION)
        wait_for_titles(app, ["memo"])  # the reminder deleted
        observe_for(ANSWERED_PERIOD, lambda: find_window(REMINDER_CAPTION) is None,
                    "the answered reminder does not pop up again")

    def test_hidden_start_pops_up_too_and_the_window_stays_hidden(self):
        app = self.launch([due_reminder()], args=["hide"], nTipType=0)
        popup = wait_for_window(REMINDER_CAPTION, 20)
        self.assertIsNone(find_window(MAIN_CAPTION))
        click(popup, *POPUP_OK)
        wait_for_titles(app, [])  # the reminder deleted
        observe_for(QUIET_PERIOD, lambda: find_window(MAIN_CAPTION) is None, "the main window stays hidden")

    def test_ten_minutes_moves_the_reminder(self):
        app = self.launch([due_reminder()], nTipType=0)
        popup = wait_for_window(REMINDER_CAPTION, 20)
        click(popup, *POPUP_MINUTES)
        key("ctrl+a")
        type_text("10")
        before = local_now()
        click(popup, *POPUP_OK)
        wait_for_window_gone(REMINDER_CAPTION)
        events = wait_for_events(app, lambda events: len(events) == 1 and events[0].remind_at > before,
                                 "the reminder moved on")
        self.assertEqual(events[0].remind, 1)
        self.assertTrue(before + 600 - 2 <= events[0].remind_at <= local_now() + 600 + 2)
        self.assertEqual(events[0].content, "Bring the card")

    def test_cancel_brings_it_back_a_second_later(self):
        app = self.launch([due_reminder()], nTipType=0)
        popup = wait_for_window(REMINDER_CAPTION, 20)
        click(popup, *POPUP_CANCEL)
        wait_for_window_gone(REMINDER_CAPTION)
        closed = time.time()
        popup = wait_for_window(REMINDER_CAPTION, 10)
        self.assertLess(time.time() - closed, 5)
        self.assertEqual(len(app.events()), 1)
        click(popup, *POPUP_OK)
        wait_for_titles(app, [])  # the reminder deleted

    def test_a_popup_leaves_the_keyboard_with_the_main_window(self):
        now = local_now()
        app = self.launch([Event("soon", now - 100, "", 1, now + 12)], nTipType=0)
        main = app.wait_main_window()

        def enter_stays_with_the_main_window():
            key("Return")  # meant for the main window
            observe_for(QUIET_PERIOD, lambda: find_window(REMINDER_CAPTION) is not None and len(app.events()) == 1,
                        "the popup is not answered by an Enter typed in the main window")

        click(main, *MAIN_GRID_CLEAR_OF_POPUP)  # the user works in the main window
        popup = wait_for_window(REMINDER_CAPTION, 20)
        screenshot("popup_over_main_window")
        enter_stays_with_the_main_window()
        # Cancel brings it back a second later, again without the keyboard.
        click(popup, *POPUP_CANCEL)
        wait_for_window_gone(REMINDER_CAPTION)
        click(main, *MAIN_GRID_CLEAR_OF_POPUP)
        popup = wait_for_window(REMINDER_CAPTION, 10)
        enter_stays_with_the_main_window()
        click(popup, *POPUP_OK)
        wait_for_titles(app, [])  # the reminder deleted

    def test_a_reminder_comes_while_the_add_dialog_is_open(self):
        now = local_now()
        soon = Event("soon", now - 100, "", 1, now + 4)
        app = self.launch([soon], nTipType=0)
        main = app.wait_main_window()
        click(main, *ADD)
        add = wait_for_window(ADD_CAPTION)
        popup = wait_for_window(REMINDER_CAPTION, 15)
        screenshot("reminder_over_add_dialog")
        click(popup, *POPUP_OK)
        wait_for_window_gone(REMINDER_CAPTION)
        wait_for_titles(app, [])  # the reminder deleted
        click(add, *ADD_TITLE)
        type_text("added after")
        click(add, *ADD_OK)
        wait_for_titles(app, ["added after"])


class FlashingAlerts(E2ETest):
    def test_flashing_waits_for_a_double_click_on_the_tray_icon(self):
        app = self.launch([due_reminder()], args=["hide"], nTipType=1)
        tray_window(20)
        # The icon alternates between its two frames every 700 ms.
        wait_for_tray_frames({"amber", "teal"}, 10, save_prefix="tray_flash_frame_")
        observe_for(QUIET_PERIOD, lambda: find_window(REMINDER_CAPTION) is None, "a flashing alert opens no popup")
        tray_icon_click(double=True)
        popup = wait_for_window(REMINDER_CAPTION, 10)
        self.assertIsNone(find_window(MAIN_CAPTION))
        click(popup, *POPUP_OK)
        wait_for_titles(app, [])  # the reminder deleted
        observe_for(QUIET_PERIOD, lambda: find_window(MAIN_CAPTION) is None, "the main window stays hidden")

    def test_show_from_the_tray_menu_answers_too(self):
        app = self.launch([due_reminder()], bTray=1, nTipType=1)
        main = app.wait_main_window()
        # The centred main window leaves the tray icon in sight.
        wait_for_tray_frames({"amber", "teal"}, 10)
        observe_for(QUIET_PERIOD, lambda: find_window(REMINDER_CAPTION) is None, "a flashing alert opens no popup")
        click(main, 623, 9)  # hides: bTray
        wait_for_window_gone(MAIN_CAPTION)
        choose_from_tray_menu("显示")
        popup = wait_for_window(REMINDER_CAPTION, 10)
        self.assertIsNone(find_window(MAIN_CAPTION))
        click(popup, *POPUP_CANCEL)
        wait_for_window_gone(REMINDER_CAPTION)
        self.assertEqual(len(app.events()), 1)

    def test_any_other_alert_kind_flashes_and_can_be_answered(self):
        app = self.launch([due_reminder()], args=["hide"], nTipType=2)
        tray_window(20)
        wait_for_tray_frames({"amber", "teal"}, 10)
        observe_for(QUIET_PERIOD, lambda: find_window(REMINDER_CAPTION) is None, "a flashing alert opens no popup")
        tray_icon_click(double=True)
        popup = wait_for_window(REMINDER_CAPTION, 10)
        click(popup, *POPUP_OK)
        wait_for_titles(app, [])  # the reminder deleted


class SettingsAndAutorun(E2ETest):
    def test_ok_writes_config_and_the_run_value_cancel_writes_nothing(self):
        delete_run_value()
        self.addCleanup(delete_run_value)
        app = self.launch([], bTray=0, nTipType=0, bAutoRun=0)
        main = app.wait_main_window()
        before = config_bytes(app)
        click(main, *SETTINGS)
        settings = wait_for_window(SETTINGS_CAPTION)
        screenshot("settings_dialog")
        click(settings, *AUTORUN_BOX)
        click(settings, *TRAY_BOX)
        click(settings, *SETTINGS_CANCEL)
        wait_for_window_gone(SETTINGS_CAPTION)
        observe_for(QUIET_PERIOD, lambda: config_bytes(app) == before, "after Cancel config.ini stays as it was")
        self.assertIsNone(run_value())

        click(main, *SETTINGS)
        settings = wait_for_window(SETTINGS_CAPTION)
        click(settings, *AUTORUN_BOX)
        click(settings, *TRAY_BOX)
        click(settings, *FLASH_RADIO)
        click(settings, *SETTINGS_OK)
        wait_for_window_gone(SETTINGS_CAPTION)
        config = wait_for_config(app, lambda values: values.get("bAutoRun") == "1", "bAutoRun=1")
        self.assertEqual(config["bTray"], "1")
        self.assertEqual(config["nTipType"], "1")
        value = wait_for(run_value, 10, "the Run value in the registry")
        self.assertTrue(value.endswith("Tallyo.exe hide") or value.endswith('Tallyo.exe" hide'), value)
        # bTray now set: the close button hides the window.
        click(main, 623, 9)
        wait_for_window_gone(MAIN_CAPTION)
        observe_for(QUIET_PERIOD, app.running, "the hidden program runs on")


if __name__ == "__main__":
    unittest.main(verbosity=2)
