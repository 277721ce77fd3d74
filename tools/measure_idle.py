#!/usr/bin/env python3
"""Idle wake-ups of the whole program under Wine: how often Tallyo's threads
run while the user does nothing, in three states. Counts the context
switches of every thread of the process over a quiet stretch.

Run by tools/measure_idle.sh (which provides the display and the Wine
prefix); prints one line per state."""
import glob
import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "app", "e2e"))
from tallyo_e2e import Event, Tallyo, find_window, local_now, serve_document, wait_for  # noqa: E402

SECONDS = float(os.environ.get("IDLE_SECONDS", "20"))


def switches(pid):
    total = 0
    for status in glob.glob("/proc/%d/task/*/status" % pid):
        try:
            with open(status) as f:
                for line in f:
                    if line.startswith(("voluntary_ctxt_switches", "nonvoluntary_ctxt_switches")):
                        total += int(line.split()[1])
        except OSError:
            pass
    return total


def measure(name, events, args=(), **settings):
    app = Tallyo(events=events, **settings)
    try:
        app.start(*args)
        wait_for(lambda: find_window("Wine System Tray"), 30, "the tray icon")
        time.sleep(3.0)  # start-up settles
        before = switches(app.process.pid)
        time.sleep(SECONDS)
        after = switches(app.process.pid)
        print("%-58s %7.1f wake-ups/s" % (name, (after - before) / SECONDS), flush=True)
    finally:
        app.cleanup()


def main():
    now = local_now()
    later = [Event("later", now - 100, "", 1, now + 86400)]
    due = [Event("due", now - 100, "", 1, now - 10)]
    measure("offline, update check still retrying (10 ms poll)", later, args=["hide"], bTray=1)
    server = serve_document('<?xml version="1.0"?>\n<config><version>120</version></config>')
    port = server.server_address[1]
    measure("document loaded, reminders pending, nothing due", later, args=["hide"], bTray=1,
            update_port=port)
    measure("document loaded, a reminder flashing in the tray", due, args=["hide"], bTray=1, nTipType=1,
            update_port=port)
    server.shutdown()


if __name__ == "__main__":
    main()
