#!/usr/bin/env python3
"""The program as one of several writers: starts Tallyo.exe (under Wine, on
the display in DISPLAY) in FOLDER, which already holds Tallyo.exe, event.dat
and config.ini, and adds ADDS reminders through its add dialog ("增加", a
title, 600 minutes, "确定"), as a user would, while other writers work on the
same folder. Writes each title it added, one a line, to FOLDER/program.titles,
waits until the program has written them, and ends the program.

usage: stress_program_writer.py FOLDER ADDS
"""
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "app", "e2e"))
from tallyo_e2e import (ADD_CAPTION, MAIN_CAPTION, WINE, click, key, read_events, type_text,  # noqa: E402
                        wait_for_window, wait_for_window_gone)

ADD = (500, 342)            # the main window's "增加"
EDITOR_TITLE = (150, 79)    # the add dialog's title field
EDITOR_MINUTES = (115, 180)  # its minutes field (choosing "指定时长提醒")
EDITOR_OK = (143, 323)


def main():
    folder, adds = sys.argv[1], int(sys.argv[2])
    env = dict(os.environ, WINEDEBUG="-all")
    program = subprocess.Popen([WINE, os.path.join(folder, "Tallyo.exe")], cwd="/", env=env,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    titles = []
    try:
        main_window = wait_for_window(MAIN_CAPTION, 60)
        for i in range(1, adds + 1):
            click(main_window, *ADD)
            add = wait_for_window(ADD_CAPTION, 30)
            click(add, *EDITOR_TITLE)
            title = "program %d" % i
            type_text(title)
            click(add, *EDITOR_MINUTES)
            key("ctrl+a")
            type_text("600")
            click(add, *EDITOR_OK)
            wait_for_window_gone(ADD_CAPTION, 30)
            titles.append(title)
        # A change that met the lock held by another writer is saved at a
        # later tick: wait until every title is in event.dat (or give up).
        deadline = time.time() + 120
        while time.time() < deadline:
            present = {e.title for e in read_events(os.path.join(folder, "event.dat"))}
            if all(t in present for t in titles):
                break
            time.sleep(1)
    finally:
        with open(os.path.join(folder, "program.titles"), "w") as f:
            f.write("".join(t + "\n" for t in titles))
        program.kill()
        program.wait()


if __name__ == "__main__":
    main()
