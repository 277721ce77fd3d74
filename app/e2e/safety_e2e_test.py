"""Nothing the user does is lost or lands on another event, end to end: a
change kept after a failed save is written by the tick and guarded at exit,
an outside write does not drop it, a popup leaves the keyboard with the
dialog the user types in, the modify dialog keeps a popup's answer, long
pastes and bad dates in the editors, and two copies of the program on one
folder."""
import os
import subprocess
import time
import unittest

from tallyo_e2e import (ADD_CAPTION, CONFIRM_CAPTION, GRID_LEFT, MAIN_CAPTION, MESSAGE_CAPTION, MODIFY_CAPTION,
                        REMINDER_CAPTION, WINE, E2ETest, Event, choose_from_tray_menu, click, clipboard_text,
                        find_window, fmt, grid_rows, key, local_now, observe_for, row_y, screenshot,
                        set_clipboard_text, today_event, type_text, visible_windows, wait_for, wait_for_events,
                        wait_for_grid_rows, wait_for_still_screen, wait_for_titles, wait_for_window,
                        wait_for_window_gone, window_geometry, window_texts, write_events)

# The main window (client pixels).
ADD = (500, 342)
DELETE = (568, 342)
CLOSE = (623, 9)
# The add and modify dialogs.
EDITOR_TITLE = (150, 79)
EDITOR_BODY = (200, 260)
EDITOR_OK = (143, 323)
EDITOR_CANCEL = (254, 323)
EDITOR_DATE_YEAR = (145, 158)  # the year of "12/ 8 /2026" in the date picker
EDITOR_REPEAT = (170, 204)
# The reminder popup.
POPUP_OK = (144, 323)
POPUP_MINUTES = (126, 186)
# The question box.
CONFIRM_OK = (123, 142)
CONFIRM_CANCEL = (228, 142)

QUIET_PERIOD = 2.5  # quiet retries: no message box meanwhile
ANSWERED_PERIOD = 1.5  # an answered reminder does not come back on the next ticks


class FailedSaves(E2ETest):
    def block_saves(self, app):
        """A folder where the temporary file of a save would go: every save fails."""
        blocker = app.event_path + ".tmp"
        os.mkdir(blocker)
        return blocker

    def add_event(self, main, title):
        click(main, *ADD)
        add = wait_for_window(ADD_CAPTION)
        click(add, *EDITOR_TITLE)
        type_text(title)
        click(add, *EDITOR_OK)
        wait_for_window_gone(ADD_CAPTION)

    def add_event_while_saves_fail(self, main, title):
        """Adds an event and answers the message that its save failed."""
        self.add_event(main, title)
        wait_for_window(MESSAGE_CAPTION)
        key("Return")
        wait_for_window_gone(MESSAGE_CAPTION)

    def test_a_change_kept_after_a_failed_save_is_written_by_the_tick(self):
        app = self.launch([today_event("a")])
        main = app.wait_main_window()
        blocker = self.block_saves(app)
        self.add_event(main, "kept")
        wait_for_window(MESSAGE_CAPTION)
        text = window_texts(MESSAGE_CAPTION)
        screenshot("save_failed_message")
        # event.dat is named, not the temporary file, and the reason is Chinese.
        self.assertIn("event.dat", text)
        self.assertNotIn(".tmp", text)
        self.assertIn("拒绝访问", text)
        key("Return")
        wait_for_window_gone(MESSAGE_CAPTION)
        # The ticks try again quietly.
        observe_for(QUIET_PERIOD, lambda: find_window(MESSAGE_CAPTION) is None, "no message at every retry")
        self.assertEqual([e.title for e in app.events()], ["a"])
        os.rmdir(blocker)
        wait_for_titles(app, ["a", "kept"], timeout=25)

    def test_exit_with_a_change_not_saved_asks_first(self):
        app = self.launch([today_event("a")], bTray=1)
        main = app.wait_main_window()
        blocker = self.block_saves(app)
        self.add_event_while_saves_fail(main, "kept")
        click(main, *CLOSE)  # hidden in the notification area: the tray menu works then
        wait_for_window_gone(MAIN_CAPTION)
        choose_from_tray_menu("退出")
        question = wait_for_window(CONFIRM_CAPTION)
        screenshot("exit_with_unsaved_change")
        click(question, *CONFIRM_CANCEL)
        wait_for_window_gone(CONFIRM_CAPTION)
        observe_for(1.0, app.running, "the program keeps running after Cancel")
        os.rmdir(blocker)
        # Now the exit's last try writes the change, and nothing is asked.
        choose_from_tray_menu("退出")
        app.wait_exit()
        self.assertEqual([e.title for e in app.events()], ["a", "kept"])

    def test_the_exit_question_names_repeat_ini_when_only_the_rules_are_behind(self):
        now = local_now()
        app = self.launch([Event("water", now - 3600, "", 1, now + 3600)], bTray=1)
        main = app.wait_main_window()
        os.mkdir(os.path.join(app.dir, "repeat.ini.tmp"))  # repeat.ini cannot be saved, event.dat can
        click(main, GRID_LEFT, row_y(1), repeat=2)
        modify = wait_for_window(MODIFY_CAPTION)
        click(modify, *EDITOR_REPEAT)
        key("Down", "Return")  # 每天
        click(modify, *EDITOR_OK)
        wait_for_window(MESSAGE_CAPTION)
        self.assertIn("repeat.ini", window_texts(MESSAGE_CAPTION))
        key("Return")
        wait_for_window_gone(MESSAGE_CAPTION)
        click(main, *CLOSE)
        wait_for_window_gone(MAIN_CAPTION)
        choose_from_tray_menu("退出")
        question = wait_for_window(CONFIRM_CAPTION)
        text = window_texts(CONFIRM_CAPTION)
        screenshot("exit_with_unsaved_rule")
        self.assertIn("重复规则的修改还没能写入 repeat.ini", text)
        self.assertIn("仍要退出程序吗", text)
        self.assertNotIn("事件文件", text)
        click(question, *CONFIRM_CANCEL)
        wait_for_window_gone(CONFIRM_CAPTION)
        observe_for(1.0, app.running, "the program keeps running after Cancel")

    def test_an_outside_write_keeps_the_change_not_saved_yet(self):
        app = self.launch([today_event("a", 120)])
        main = app.wait_main_window()
        blocker = self.block_saves(app)
        self.add_event_while_saves_fail(main, "mine")
        # Another program adds an event (it writes its own temporary file).
        theirs = today_event("theirs", 30)
        write_events(app.event_path, [app.events()[0], theirs])
        titles = wait_for(lambda: sorted(r[0] for r in grid_rows(main)) == ["a", "mine", "theirs"], 10,
                          "the grid to list the outside event beside the kept one")
        self.assertTrue(titles)
        os.rmdir(blocker)
        wait_for_titles(app, ["a", "theirs", "mine"], timeout=25)


class KeyboardAndEditors(E2ETest):
    def test_a_popup_leaves_the_keyboard_with_the_dialog_the_user_types_in(self):
        now = local_now()
        app = self.launch([Event("soon", now - 100, "", 1, now + 5)], nTipType=0)
        main = app.wait_main_window()
        click(main, *ADD)
        add = wait_for_window(ADD_CAPTION)
        click(add, *EDITOR_TITLE)
        type_text("abc")
        popup = wait_for_window(REMINDER_CAPTION, 15)
        screenshot("popup_over_typing")
        # The rest of the title and Enter still go to the add dialog.
        type_text("def")
        key("Return")
        wait_for_window_gone(ADD_CAPTION)
        events = wait_for_events(app, lambda es: len(es) == 2, "the added event beside the reminder")
        self.assertEqual([e.title for e in events], ["soon", "abcdef"])
        self.assertIsNotNone(find_window(REMINDER_CAPTION))  # not answered by that Enter
        wait_for_still_screen()  # the popup has come forward
        click(popup, *POPUP_OK)
        wait_for_titles(app, ["abcdef"])

    def test_modify_keeps_the_answer_a_popup_gave_meanwhile(self):
        now = local_now()
        app = self.launch([Event("stand-up", now - 100, "", 1, now + 6)], nTipType=0)
        main = app.wait_main_window()
        click(main, GRID_LEFT, row_y(1), repeat=2)
        modify = wait_for_window(MODIFY_CAPTION)
        click(modify, *EDITOR_TITLE)
        key("ctrl+a")
        type_text("daily stand-up")
        popup = wait_for_window(REMINDER_CAPTION, 15)
        click(popup, *POPUP_MINUTES)
        key("ctrl+a")
        type_text("5")
        click(popup, *POPUP_OK)
        wait_for_window_gone(REMINDER_CAPTION)
        answered = wait_for_events(app, lambda es: es and es[0].remind_at > now + 200, "the snoozed reminder")
        click(modify, *EDITOR_OK)
        wait_for_window_gone(MODIFY_CAPTION)
        events = wait_for_events(app, lambda es: es and es[0].title == "daily stand-up", "the new title")
        self.assertEqual(events[0].remind_at, answered[0].remind_at)
        observe_for(ANSWERED_PERIOD, lambda: find_window(REMINDER_CAPTION) is None,
                    "the snoozed reminder does not come back")

    def test_an_edit_of_an_event_deleted_meanwhile_can_be_kept_as_a_new_event(self):
        app = self.launch([today_event("draft")])
        main = app.wait_main_window()
        click(main, GRID_LEFT, row_y(1), repeat=2)
        modify = wait_for_window(MODIFY_CAPTION)
        click(modify, *EDITOR_TITLE)
        key("ctrl+a")
        type_text("final text")
        write_events(app.event_path, [])  # another program deletes the event
        click(modify, *EDITOR_OK)
        wait_for_window_gone(MODIFY_CAPTION)
        question = wait_for_window(CONFIRM_CAPTION)
        self.assertIn("已被另一个程序删除", window_texts(CONFIRM_CAPTION))
        screenshot("edited_event_gone")
        click(question, *CONFIRM_OK)
        wait_for_window_gone(CONFIRM_CAPTION)
        events = wait_for_titles(app, ["final text"])
        self.assertEqual(events[0].remind, 0)
        wait_for_grid_rows(main, [["final text", fmt(events[0].created)]])

    def test_a_long_paste_is_added_whole(self):
        app = self.launch([])
        main = app.wait_main_window()
        body = "一二三四五abcde" * 4000  # 40,000 characters
        set_clipboard_text(body)
        wait_for(lambda: clipboard_text() == body, 5, "the long text on the clipboard")
        click(main, *ADD)
        add = wait_for_window(ADD_CAPTION)
        click(add, *EDITOR_TITLE)
        type_text("long")
        click(add, *EDITOR_BODY)
        key("ctrl+v")
        click(add, *EDITOR_OK)
        wait_for_window_gone(ADD_CAPTION)
        events = wait_for_events(app, lambda es: len(es) == 1, "the added event", timeout=10)
        self.assertEqual(events[0].content, body)

    def test_a_year_beyond_what_can_be_stored_is_said_not_saved(self):
        app = self.launch([])
        main = app.wait_main_window()
        click(main, *ADD)
        add = wait_for_window(ADD_CAPTION)
        click(add, *EDITOR_TITLE)
        type_text("far away")
        # The picker refuses the year but takes the change as the user's
        # choice of a day: a reminder at the moment the dialog opened.
        click(add, *EDITOR_DATE_YEAR)
        type_text("2099")
        click(add, *EDITOR_OK)
        wait_for_window(MESSAGE_CAPTION)
        self.assertIn("已经过去", window_texts(MESSAGE_CAPTION))
        screenshot("year_out_of_range")
        key("Return")
        wait_for_window_gone(MESSAGE_CAPTION)
        self.assertIsNotNone(find_window(ADD_CAPTION))  # still open, nothing saved
        self.assertFalse(os.path.exists(app.event_path) and app.events())
        click(add, *EDITOR_CANCEL)
        wait_for_window_gone(ADD_CAPTION)


class EventsOfOneSecond(E2ETest):
    def test_each_of_three_events_made_in_one_second_is_answered_changed_and_deleted_alone(self):
        now = local_now()
        made = now - 60
        app = self.launch([Event("first", made), Event("second", made, "", 1, now - 2), Event("third", made)],
                          nTipType=0)
        main = app.wait_main_window()
        # The popup is the second's: "done" deletes the second, not the first.
        popup = wait_for_window(REMINDER_CAPTION, 15)
        click(popup, *POPUP_OK)
        wait_for_titles(app, ["first", "third"])
        observe_for(ANSWERED_PERIOD, lambda: find_window(REMINDER_CAPTION) is None, "no popup comes back")
        # The grid's second row is the third event: modify and delete reach it.
        wait_for_grid_rows(main, [["first", fmt(made)], ["third", fmt(made)]])
        click(main, GRID_LEFT, row_y(2), repeat=2)
        modify = wait_for_window(MODIFY_CAPTION)
        click(modify, *EDITOR_TITLE)
        key("ctrl+a")
        type_text("third, renamed")
        click(modify, *EDITOR_OK)
        wait_for_titles(app, ["first", "third, renamed"])
        click(main, GRID_LEFT, row_y(2))
        click(main, *DELETE)
        click(wait_for_window(CONFIRM_CAPTION), *CONFIRM_OK)
        wait_for_titles(app, ["first"])


class TwoCopies(E2ETest):
    def test_one_answer_closes_the_popups_of_both(self):
        now = local_now()
        app = self.launch([Event("both", now - 100, "", 1, now - 1)], nTipType=0, bTray=1)
        env = dict(os.environ, WINEDEBUG="-all")
        second = subprocess.Popen([WINE, os.path.join(app.dir, "Tallyo.exe"), "hide"], cwd="/", env=env,
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.addCleanup(lambda: (second.kill(), second.wait()))
        popups = wait_for(lambda: [w for w, n in visible_windows() if n == REMINDER_CAPTION][1:] and
                          [w for w, n in visible_windows() if n == REMINDER_CAPTION], 20, "a popup from each copy")
        self.assertEqual(len(popups), 2)
        places = {window_geometry(w)[:2]: w for w in popups}
        self.assertEqual(len(places), 2, "the second popup moved aside")
        screenshot("two_copies_popups")
        # The popup moved aside lies lower: its OK is not under the other one.
        click(places[max(places)], *POPUP_OK)
        wait_for_window_gone(REMINDER_CAPTION, 10)
        wait_for_titles(app, [])


if __name__ == "__main__":
    unittest.main(verbosity=2)
