"""The program end to end: start-up, the list and its commands, hiding in the
notification area, closing and exiting, changes from other programs, a
damaged event.dat, a failed save, and the version notice."""
import calendar
import os
import time
import unittest

from tallyo_e2e import (ABOUT_CAPTION, ADD_CAPTION, CONFIRM_CAPTION, FIND_CAPTION, GRID_LEFT, MAIN_CAPTION,
                        MESSAGE_CAPTION, MODIFY_CAPTION, E2ETest, Event, choose_from_tray_menu, click, count_pixels,
                        find_window,
                        fmt, key, local_now, observe_for, row_y, screenshot, serve_document, today_event,
                        tray_icon_click, tray_window, type_text, wait_for_events, wait_for_grid_rows,
                        wait_for_pixels, wait_for_titles, wait_for_window, wait_for_window_gone, window_geometry,
                        window_region_rgb, write_events)

# Places in the main window (client pixels; the skinned window has no frame).
ADD = (500, 342)
DELETE = (568, 342)
MODIFY = (500, 370)
FIND = (568, 370)
ABOUT = (407, 450)
CLOSE = (623, 9)
SELECTOR = (380, 369)
DATE_PICKER_DAY = (352, 342)  # the day field of "12/ 7 /2026"
DOWNLOAD_LINK = (530, 10, 590, 25)  # "点击下载", white text, once a newer version is known


# Places in the small dialogs.
CONFIRM_OK = (123, 142)
CONFIRM_CANCEL = (228, 142)
FIND_EDIT = (160, 81)
EDITOR_TITLE = (150, 79)
EDITOR_MINUTES = (115, 180)
EDITOR_OK = (143, 323)
EDITOR_BODY = (200, 260)
# Where the focus cue runs along the top of 确定 and 取消, 3 pixels inside.
EDITOR_OK_CUE_ROW = (112, 315, 175, 316)
EDITOR_CANCEL_CUE_ROW = (223, 315, 286, 316)

# Bounded observation periods, for checks that something does not happen.
QUIET_PERIOD = 1.0
HIDDEN_START_PERIOD = 2.0  # a hidden start shows no window meanwhile


def day_before_in_picker(now):
    """Noon of the day the date picker shows after Down on its day field: the
    day before, or the month's last day on the 1st (the field wraps)."""
    lt = time.localtime(now)
    if lt.tm_mday > 1:
        day = lt.tm_mday - 1
    else:
        day = calendar.monthrange(lt.tm_year, lt.tm_mon)[1]
    return int(time.mktime((lt.tm_year, lt.tm_mon, day, 12, 0, 0, 0, 0, -1)))


class StartAndList(E2ETest):
    def test_starts_with_todays_events_and_lists_every_view(self):
        now = local_now()
        today = today_event("today-memo", 120)
        other_day = day_before_in_picker(now)
        events = [today, Event("old-memo", now - 40 * 86400),
                  Event("old-reminder", now - 39 * 86400, "body", 1, now + 86400),
                  Event("picked day", other_day)]
        app = self.launch(events)
        main = app.wait_main_window()
        x, y, w, h = window_geometry(main)
        self.assertEqual((w, h), (641, 481))
        screenshot("main_window_start")
        # View 0, today: title and time.
        wait_for_grid_rows(main, [["today-memo", fmt(today.created)]])
        # "所有事情", the last of the selector's four entries: stored order, three columns.
        click(main, *SELECTOR)
        key("End", "Return")
        screenshot("main_window_all_events")
        wait_for_grid_rows(main, [
            ["today-memo", fmt(today.created), "记忆事件"],
            ["old-memo", fmt(now - 40 * 86400), "记忆事件"],
            ["old-reminder", fmt(now - 39 * 86400), fmt(now + 86400)],
            ["picked day", fmt(other_day), "记忆事件"],
        ])
        # Another day in the date picker: view 0 for that day, whatever view was shown.
        click(main, *DATE_PICKER_DAY)
        key("Down")
        wait_for_grid_rows(main, [["picked day", fmt(other_day)]])
        self.assertTrue(app.running())

    def test_enter_does_nothing_and_escape_asks_before_exiting(self):
        app = self.launch([today_event("a")])
        main = app.wait_main_window()
        click(main, GRID_LEFT, row_y(1))
        key("Return")
        observe_for(QUIET_PERIOD, lambda: app.running() and find_window(CONFIRM_CAPTION) is None,
                    "after Enter the program runs on without a question")
        key("Escape")
        confirm = wait_for_window(CONFIRM_CAPTION)
        screenshot("exit_question")
        click(confirm, *CONFIRM_CANCEL)
        wait_for_window_gone(CONFIRM_CAPTION)
        observe_for(QUIET_PERIOD, app.running, "after Cancel the program runs on")
        click(main, *CLOSE)
        confirm = wait_for_window(CONFIRM_CAPTION)
        click(confirm, *CONFIRM_OK)
        app.wait_exit()


class ListCommands(E2ETest):
    def test_delete_asks_then_removes_the_clicked_event(self):
        events = [today_event("first", 300), today_event("second", 200), today_event("third", 100)]
        app = self.launch(events)
        main = app.wait_main_window()
        click(main, GRID_LEFT, row_y(2))
        click(main, *DELETE)
        confirm = wait_for_window(CONFIRM_CAPTION)
        click(confirm, *CONFIRM_CANCEL)
        wait_for_window_gone(CONFIRM_CAPTION)
        observe_for(QUIET_PERIOD, lambda: [e.title for e in app.events()] == ["first", "second", "third"],
                    "after Cancel event.dat keeps all three events")
        click(main, *DELETE)
        click(wait_for_window(CONFIRM_CAPTION), *CONFIRM_OK)
        wait_for_titles(app, ["first", "third"])
        # A click below the last row keeps the current row: Delete acts on
        # the row that moved up into it.
        click(main, GRID_LEFT, row_y(8))
        click(main, *DELETE)
        click(wait_for_window(CONFIRM_CAPTION), *CONFIRM_OK)
        wait_for_titles(app, ["first"])

    def test_row_menu_and_double_click_open_the_modify_dialog(self):
        app = self.launch([today_event("only", 100, content="body")])
        main = app.wait_main_window()
        click(main, GRID_LEFT, row_y(1), repeat=2)
        modify = wait_for_window(MODIFY_CAPTION)
        screenshot("modify_from_double_click")
        key("Escape")
        wait_for_window_gone(MODIFY_CAPTION)
        # A double click on the header does nothing.
        click(main, GRID_LEFT, row_y(0), repeat=2)
        observe_for(QUIET_PERIOD, lambda: find_window(MODIFY_CAPTION) is None,
                    "a double click on the header opens no dialog")
        self.assertEqual(len(app.events()), 1)

    def test_add_from_the_add_dialog_is_saved_at_once(self):
        app = self.launch([])
        main = app.wait_main_window()
        click(main, *ADD)
        add = wait_for_window(ADD_CAPTION)
        click(add, *EDITOR_TITLE)
        type_text("Call Li")
        click(add, *EDITOR_MINUTES)
        key("ctrl+a")
        type_text("30")
        before = local_now()
        click(add, *EDITOR_OK)
        wait_for_window_gone(ADD_CAPTION)
        e = wait_for_events(app, lambda events: len(events) == 1, "one new event")[0]
        self.assertEqual(e.title, "Call Li")
        self.assertEqual(e.remind, 1)
        self.assertTrue(before - 2 <= e.created <= local_now())
        self.assertTrue(e.created + 1800 - 2 <= e.remind_at <= e.created + 1800 + 2)

    def test_tab_marks_the_focus_on_the_skinned_buttons(self):
        app = self.launch([])
        main = app.wait_main_window()
        click(main, *ADD)
        add = wait_for_window(ADD_CAPTION)
        click(add, *EDITOR_BODY)
        teal = lambda r, g, b: (r, g, b) == (38, 77, 77)  # the dotted cue on the light button face
        self.assertEqual(count_pixels(window_region_rgb(add, EDITOR_OK_CUE_ROW), teal), 0)
        key("Tab")  # from the body to 确定
        wait_for_pixels(add, EDITOR_OK_CUE_ROW, teal, 20, "the focus cue on 确定")
        screenshot("add_dialog_focus_cue_on_ok")
        key("Tab")  # on to 取消: the cue goes with the focus
        wait_for_pixels(add, EDITOR_CANCEL_CUE_ROW, teal, 20, "the focus cue on 取消")
        self.assertEqual(count_pixels(window_region_rgb(add, EDITOR_OK_CUE_ROW), teal), 0)
        key("Return")  # presses the focused 取消, not the default 确定
        wait_for_window_gone(ADD_CAPTION)
        observe_for(QUIET_PERIOD, lambda: not os.path.exists(app.event_path) or app.events() == [],
                    "nothing is added")

    def test_find_lists_matches_in_three_columns(self):
        now = local_now()
        notes, room = Event("Meeting notes", now - 5 * 86400), Event("MEETING room", now - 3 * 86400)
        app = self.launch([notes, Event("lunch", now - 4 * 86400), room])
        main = app.wait_main_window()
        click(main, *FIND)
        find = wait_for_window(FIND_CAPTION)
        click(find, *FIND_EDIT)
        type_text("meeting")
        click(find, *CONFIRM_OK)
        wait_for_window_gone(FIND_CAPTION)
        screenshot("find_results")
        wait_for_grid_rows(main, [["Meeting notes", fmt(notes.created), "记忆事件"],
                                  ["MEETING room", fmt(room.created), "记忆事件"]])

    def test_about_box(self):
        app = self.launch([])
        main = app.wait_main_window()
        click(main, *ABOUT)
        about = wait_for_window(ABOUT_CAPTION)
        screenshot("about_box")
        click(about, 139, 142)
        wait_for_window_gone(ABOUT_CAPTION)


class TrayAndHiding(E2ETest):
    def test_hidden_start_in_capitals_shows_nothing_until_show(self):
        app = self.launch([today_event("x")], args=["HIDE"])
        tray_window(20)  # shown once the program has put its icon there
        observe_for(HIDDEN_START_PERIOD, lambda: app.running() and find_window(MAIN_CAPTION) is None,
                    "the hidden program shows no main window")
        tray_icon_click(double=True)
        main = app.wait_main_window()
        x, y, w, h = window_geometry(main)
        # Centred on the 1280 x 900 screen at its full size.
        self.assertEqual((w, h), (641, 481))
        self.assertLess(abs(x - (1280 - 641) // 2), 3)
        self.assertLess(abs(y - (900 - 481) // 2), 3)
        screenshot("shown_after_hidden_start")

    def test_hide_with_more_words_starts_normally(self):
        app = self.launch([], args=["hide", "now"])
        app.wait_main_window()

    def test_close_hides_with_btray_and_tray_exit_ends_without_question(self):
        app = self.launch([today_event("x")], bTray=1)
        main = app.wait_main_window()
        click(main, *CLOSE)
        wait_for_window_gone(MAIN_CAPTION)
        observe_for(QUIET_PERIOD, app.running, "the hidden program runs on")
        tray_icon_click(double=True)
        main = app.wait_main_window()
        click(main, *CLOSE)
        wait_for_window_gone(MAIN_CAPTION)
        # "退出" from the tray menu: no question.
        choose_from_tray_menu("退出")
        app.wait_exit()


class SharedFile(E2ETest):
    def test_changes_from_another_program_are_kept(self):
        mine, theirs = today_event("mine", 300), today_event("theirs", 200)
        app = self.launch([mine])
        main = app.wait_main_window()
        # tallyo-cli or a second copy writes the file meanwhile.
        write_events(app.event_path, app.events() + [theirs])
        # Noticed on the one-second tick: the grid shows both.
        wait_for_grid_rows(main, [["mine", fmt(mine.created)], ["theirs", fmt(theirs.created)]])
        screenshot("after_outside_change")
        click(main, GRID_LEFT, row_y(1))
        click(main, *DELETE)
        click(wait_for_window(CONFIRM_CAPTION), *CONFIRM_OK)
        wait_for_titles(app, ["theirs"])

    def test_damaged_file_is_reported_kept_and_set_aside_before_the_next_save(self):
        app = self.prepare([today_event("kept", 300), today_event("lost", 200)])
        with open(app.event_path, "rb") as f:
            data = f.read()
        with open(app.event_path, "wb") as f:
            f.write(data[:-6])
        app.start()
        wait_for_window(MESSAGE_CAPTION, 20)  # the damage message
        screenshot("damaged_file_message")
        key("Return")
        wait_for_window_gone(MESSAGE_CAPTION)
        main = app.wait_main_window()
        click(main, GRID_LEFT, row_y(1))
        click(main, *DELETE)
        click(wait_for_window(CONFIRM_CAPTION), *CONFIRM_OK)
        # The damaged file was set aside before the save; the note says where.
        wait_for_window(MESSAGE_CAPTION)
        key("Return")
        aside = [n for n in os.listdir(app.dir) if n.startswith("event.dat.damaged-")]
        self.assertEqual(len(aside), 1)
        with open(os.path.join(app.dir, aside[0]), "rb") as f:
            self.assertEqual(f.read(), data[:-6])
        wait_for_titles(app, [])

    def test_a_failed_save_is_reported_and_the_change_kept(self):
        app = self.launch([today_event("a", 300), today_event("b", 200)])
        main = app.wait_main_window()
        # The temporary file cannot be made: a folder stands in its way.
        blocker = app.event_path + ".tmp"
        os.mkdir(blocker)
        click(main, GRID_LEFT, row_y(1))
        click(main, *DELETE)
        click(wait_for_window(CONFIRM_CAPTION), *CONFIRM_OK)
        wait_for_window(MESSAGE_CAPTION)  # the save failure message
        screenshot("save_failed_message")
        key("Return")
        wait_for_window_gone(MESSAGE_CAPTION)
        self.assertEqual([e.title for e in app.events()], ["a", "b"])
        os.rmdir(blocker)
        # The next successful save writes the kept change too.
        click(main, GRID_LEFT, row_y(1))
        click(main, *DELETE)
        click(wait_for_window(CONFIRM_CAPTION), *CONFIRM_OK)
        wait_for_titles(app, [])  # both deletes on disk


class VersionNotice(E2ETest):
    def serve(self, document):
        server = serve_document(document)
        self.addCleanup(server.server_close)
        self.addCleanup(server.shutdown)  # cleanups run last first: shut down, then close
        return server.server_address[1]

    def test_newer_version_link_ticker_and_ads(self):
        port = self.serve('<?xml version="1.0" encoding="GB2312"?>\n<config>'
                          '<scrolltext>欢迎使用 Tallyo;新版本已发布~http://127.0.0.1/new;尾巴</scrolltext>'
                          '<version>121</version><downurl>http://127.0.0.1/dl</downurl>'
                          '<textad>Quillo 便签~http://127.0.0.1/ad</textad></config>')
        app = self.launch([], update_port=port)
        main = app.wait_main_window()
        wait_for_pixels(main, DOWNLOAD_LINK, lambda r, g, b: min(r, g, b) > 230, 20,
                        "the download link of the newer version")
        screenshot("version_notice_newer")


if __name__ == "__main__":
    unittest.main(verbosity=2)
