"""Repeating reminders end to end: "我知道了" moves a daily reminder to the
next day at the same wall time and leaves its rule alone, a rule set by
tallyo-cli while the program runs is honoured at the next answer, the add
dialog's "重复" writes repeat.ini and the modify dialog reads it back, the
grid shows the rule's short name, and screenshots of the dialogs and the
popup with a repeating event."""
import os
import subprocess
import time
import unittest

from tallyo_e2e import (ADD_CAPTION, GRID_LEFT, MODIFY_CAPTION, REMINDER_CAPTION, WINE, E2ETest, Event, click,
                        find_window, fmt, key, local_now, observe_for, row_y, screenshot, type_text, wait_for,
                        wait_for_events, wait_for_grid_rows, wait_for_pixels, wait_for_window, wait_for_window_gone,
                        window_texts)

# The main window and the editors (client pixels).
ADD = (500, 342)
EDITOR_TITLE = (150, 79)
EDITOR_MINUTES = (115, 180)
EDITOR_REPEAT = (170, 204)
EDITOR_DATE_DAY = (117, 158)  # the day of "12/ 8 /2026" in the date picker
EDITOR_REPEAT_NOTE = (259, 198, 376, 214)  # beside the drop-down
EDITOR_OK = (143, 323)
EDITOR_CANCEL = (254, 323)
# The reminder popup.
POPUP_OK = (144, 323)

ANSWERED_PERIOD = 1.5  # an answered reminder does not come back on the next ticks


def repeat_ini(created, start, rule):
    return "[%d]\r\nstart=%s\r\nrule=%s\r\n" % (created, fmt(start), rule)


class RepeatingReminders(E2ETest):
    def write_rules(self, app, text):
        with open(os.path.join(app.dir, "repeat.ini"), "wb") as f:
            f.write(text.encode("ascii"))

    def read_rules(self, app):
        path = os.path.join(app.dir, "repeat.ini")
        if not os.path.exists(path):
            return ""
        with open(path, "rb") as f:
            return f.read().decode("ascii")

    def test_done_moves_a_daily_reminder_to_the_same_time_tomorrow_and_keeps_its_rule(self):
        now = local_now()
        due = now - 30
        created = now - 3600
        app = self.prepare([Event("stand-up", created, "", 1, due)], nTipType=0)
        rules = repeat_ini(created, due, "FREQ=DAILY")
        self.write_rules(app, rules)
        app.start()
        main = app.wait_main_window()
        popup = wait_for_window(REMINDER_CAPTION, 15)
        screenshot("repeat_popup")
        click(popup, *POPUP_OK)
        events = wait_for_events(app, lambda es: es and es[0].remind_at > now, "the reminder moved on")
        self.assertEqual(events[0].remind_at, due + 86400)  # Shanghai: no daylight saving
        self.assertEqual(self.read_rules(app), rules)
        observe_for(ANSWERED_PERIOD, lambda: find_window(REMINDER_CAPTION) is None,
                    "the moved reminder does not come back")
        # The grid shows the rule's short name after the reminder time.
        wait_for_grid_rows(main, [["stand-up", fmt(due + 86400) + " (每天)"]])

    def test_a_rule_set_by_tallyo_cli_while_the_program_runs_is_honoured(self):
        now = local_now()
        created = now - 3600
        due = now + 8
        app = self.launch([Event("water", created, "", 1, due)], nTipType=0)
        app.wait_main_window()
        cli = os.environ["TALLYO_CLI"]
        result = subprocess.run([WINE, cli, "--dir", "Z:" + app.dir.replace("/", "\\"), "repeat", "--created",
                                 str(created), "hourly"], capture_output=True,
                                env=dict(os.environ, WINEDEBUG="-all"), timeout=60)
        self.assertEqual(result.returncode, 0, result.stderr.decode("utf-8", "replace"))
        popup = wait_for_window(REMINDER_CAPTION, 20)
        click(popup, *POPUP_OK)
        events = wait_for_events(app, lambda es: es and es[0].remind_at > due, "the reminder an hour later")
        self.assertEqual(events[0].remind_at, due + 3600)

    def test_the_popup_of_a_series_follows_a_rule_changed_while_it_is_open(self):
        now = local_now()
        due = now - 30
        created = now - 3600
        app = self.prepare([Event("stand-up", created, "", 1, due)], nTipType=0)
        self.write_rules(app, repeat_ini(created, due, "FREQ=DAILY"))
        app.start()
        popup = wait_for_window(REMINDER_CAPTION, 20)
        texts = window_texts(REMINDER_CAPTION)
        self.assertIn("每天重复", texts)
        self.assertIn("我知道了，等下次再提醒我", texts)  # worded for a series
        self.assertNotIn("不用再提醒我了", texts)
        screenshot("repeat_popup_series_answer")
        cli = os.environ["TALLYO_CLI"]
        result = subprocess.run([WINE, cli, "--dir", "Z:" + app.dir.replace("/", "\\"), "repeat", "--created",
                                 str(created), "weekly"], capture_output=True,
                                env=dict(os.environ, WINEDEBUG="-all"), timeout=60)
        self.assertEqual(result.returncode, 0, result.stderr.decode("utf-8", "replace"))
        wait_for(lambda: "每周重复" in window_texts(REMINDER_CAPTION), 10, "the popup to say the rule is weekly now")
        click(popup, *POPUP_OK)
        events = wait_for_events(app, lambda es: es and es[0].remind_at > now, "the reminder moved on")
        self.assertEqual(events[0].remind_at, due + 7 * 86400)

    def test_a_daily_reminder_at_a_time_already_past_starts_the_next_day(self):
        app = self.launch([])
        main = app.wait_main_window()
        asked = local_now()  # the dialog takes its time when it opens: between these two
        click(main, *ADD)
        add = wait_for_window(ADD_CAPTION)
        opened = local_now()
        click(add, *EDITOR_TITLE)
        type_text("early walk")
        click(add, *EDITOR_DATE_DAY)
        key("Down")  # yesterday, at the time the dialog opened: passed
        click(add, *EDITOR_REPEAT)
        key("Down", "Return")  # 每天
        amber = lambda r, g, b: r > 200 and 120 < g < 200 and b < 110
        wait_for_pixels(add, EDITOR_REPEAT_NOTE, amber, 15, "the note of where the series starts")
        screenshot("repeat_add_past_time_note")
        click(add, *EDITOR_OK)
        wait_for_window_gone(ADD_CAPTION)  # a note, not a refusal
        events = wait_for_events(app, lambda es: len(es) == 1, "the added reminder")
        # Tomorrow at the time of day the dialog opened at.
        self.assertGreater(events[0].remind_at, local_now())
        self.assertTrue(asked + 86400 - 1 <= events[0].remind_at <= opened + 86400, events[0].remind_at - opened)
        self.assertIn("rule=FREQ=DAILY\r\n", self.read_rules(app))
        screenshot("repeat_grid_with_rule")

    def test_the_add_dialog_writes_the_rule_and_the_modify_dialog_reads_it_back(self):
        app = self.launch([])
        main = app.wait_main_window()
        click(main, *ADD)
        add = wait_for_window(ADD_CAPTION)
        click(add, *EDITOR_TITLE)
        type_text("weekly report")
        click(add, *EDITOR_MINUTES)
        key("ctrl+a")
        type_text("30")
        # The drop-down, then its third entry: 每个工作日（周一至周五）.
        click(add, *EDITOR_REPEAT)
        key("Down", "Down", "Return")
        screenshot("repeat_add_dialog")
        click(add, *EDITOR_OK)
        wait_for_window_gone(ADD_CAPTION)
        events = wait_for_events(app, lambda es: len(es) == 1, "the added reminder")
        rules = wait_for(lambda: self.read_rules(app), 5, "repeat.ini")
        self.assertIn("[%d]\r\n" % events[0].created, rules)
        self.assertIn("rule=FREQ=WEEKLY;BYDAY=MO,TU,WE,TH,FR\r\n", rules)
        # The time column is widened to show the rule whole.
        wait_for_grid_rows(main, [["weekly report", fmt(events[0].remind_at) + " (每个工作日)"]])
        screenshot("repeat_grid_workdays")
        click(main, GRID_LEFT, row_y(1), repeat=2)
        modify = wait_for_window(MODIFY_CAPTION)
        screenshot("repeat_modify_dialog")
        click(modify, *EDITOR_CANCEL)
        wait_for_window_gone(MODIFY_CAPTION)
        self.assertEqual(self.read_rules(app), rules)


if __name__ == "__main__":
    unittest.main(verbosity=2)
