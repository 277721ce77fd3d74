#!/usr/bin/env python3
"""What Tallyo costs while the user does nothing, beside Wine's notepad.

Wine's notepad runs in the same prefix for the whole run, as the reference: an
idle program that costs what Wine makes any program cost. In each state a
fresh Tallyo (1k events, a reminder-free second) runs beside it, and both are
sampled over the same quiet stretch:

- wake-ups: the voluntary context switches of every thread of the process,
  per second: each is a thread going to sleep, to be woken again (under Wine
  also each round trip to its server). The involuntary ones, a running
  thread preempted on a busy machine, are shown apart;
- working set: the resident memory of the process (VmRSS), at the end.

Run by tools/measure_idle.sh (which provides the display and the Wine prefix);
prints one table, a line per state. IDLE_SECONDS sets the stretch (default
20); IDLE_THREADS=1 adds the wake-ups of each of Tallyo's threads.
"""
import glob
import os
import random
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "app", "e2e"))
sys.path.insert(0, HERE)
import make_event_file  # noqa: E402
from tallyo_e2e import (MAIN_CAPTION, WINE, Event, Tallyo, click, closed_port, find_window,  # noqa: E402
                        local_now, serve_document, wait_for, wait_for_window)

SECONDS = float(os.environ.get("IDLE_SECONDS", "20"))
SETTLE = 3.0  # after the state is reached, before the stretch
EVENTS = 1000
WAKEUP_MARGIN = 5.0  # a second, above notepad's
MEMORY_MARGIN_MB = 5.0

# A document as the maker's server sends it: ticker lines (two of them
# links), a newer version with its download link, advertisements.
DOCUMENT = ('<?xml version="1.0" encoding="GB2312"?>\n<config>'
            '<scrolltext>欢迎使用 Tallyo 1.21;新版本已发布，点击下载~http://127.0.0.1/new;'
            '提醒可以重复了~http://127.0.0.1/news;周末愉快;</scrolltext>'
            '<version>121</version><downurl>http://127.0.0.1/dl</downurl>'
            '<textad>Quillo 便签~http://127.0.0.1/ad;Quillo 日历~http://127.0.0.1/ad2</textad></config>')

CLOSE_BUTTON = (623, 9)
MINIMIZE_BUTTON = (602, 9)


# ---------------------------------------------------------------- what is measured

def threads(pid, kind="voluntary_ctxt_switches"):
    """{thread id: context switches of `kind` so far} of every thread of `pid`."""
    counts = {}
    for status in glob.glob("/proc/%d/task/*/status" % pid):
        tid = int(status.split("/")[4])
        try:
            with open(status) as f:
                counts[tid] = sum(int(line.split()[1]) for line in f if line.startswith(kind))
        except OSError:
            pass
    return counts


def preemptions(pid):
    return sum(threads(pid, "nonvoluntary_ctxt_switches").values())


def resident_mb(pid):
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1]) / 1024.0
    return 0.0


def thread_name(pid, tid):
    try:
        with open("/proc/%d/task/%d/comm" % (pid, tid)) as f:
            return f.read().strip()
    except OSError:
        return "?"


# ---------------------------------------------------------------- the world around

def made_up_events(now, due=False):
    """EVENTS events of realistic size (tools/make_event_file.py's words), a
    third of them reminders, all in the coming weeks; `due` adds one that is
    due now."""
    rng = random.Random(EVENTS)
    events = []
    created = now - 400 * 86400  # a thousand events take about 170 days
    for _ in range(EVENTS):
        created += rng.randint(1, 30000)
        remind = rng.random() < 1 / 3
        title = make_event_file.title(rng).decode("gbk")
        body = make_event_file.body(rng).decode("gbk")
        events.append(Event(title, created, body, 1 if remind else 0,
                            now + rng.randint(3600, 30 * 86400) if remind else 0))
    if due:
        events.append(Event("due now", now - 100, "", 1, now - 10))
    return events


class Notepad:
    def __init__(self):
        env = dict(os.environ, WINEDEBUG="-all")
        # By its path: "wine notepad" runs it as a child of start.exe, which
        # would be measured instead.
        self.process = subprocess.Popen([WINE, "C:\\windows\\system32\\notepad.exe"], cwd="/", env=env, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)
        wait_for(lambda: any(n.endswith("Notepad") for n in window_names()), 30, "Wine's notepad")
        time.sleep(SETTLE)

    def close(self):
        self.process.kill()
        self.process.wait()


def window_names():
    out = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "."], capture_output=True, text=True)
    names = []
    for wid in out.stdout.split():
        name = subprocess.run(["xdotool", "getwindowname", wid], capture_output=True).stdout
        names.append(name.decode("utf-8", "replace").strip())
    return names


# ---------------------------------------------------------------- the states

def start_hidden(app, server):
    app.start("hide")
    wait_for(lambda: find_window("Wine System Tray"), 30, "the tray icon")
    if server is not None:
        wait_for(lambda: server.served > 0, 30, "the update document to be fetched")


def start_shown(app, server):
    app.start()
    main = wait_for_window(MAIN_CAPTION, 30)
    if server is not None:
        wait_for(lambda: server.served > 0, 30, "the update document to be fetched")
    time.sleep(1.0)  # the notice and the ticker show
    return main


def minimise_after_showing(app, server):
    main = start_shown(app, server)
    click(main, *MINIMIZE_BUTTON)


def close_to_tray_after_showing(app, server):
    main = start_shown(app, server)
    click(main, *CLOSE_BUTTON)
    wait_for(lambda: find_window(MAIN_CAPTION) is None, 10, "the main window to hide")


class Row:
    def __init__(self, name, tallyo_rate, notepad_rate, preempted_rate, tallyo_mb, notepad_mb, per_thread):
        self.name = name
        self.tallyo_rate, self.notepad_rate = tallyo_rate, notepad_rate
        self.preempted_rate = preempted_rate
        self.tallyo_mb, self.notepad_mb = tallyo_mb, notepad_mb
        self.per_thread = per_thread


def measure(notepad, name, reach, online=True, due=False):
    server = serve_document(DOCUMENT) if online else None
    app = Tallyo(events=made_up_events(local_now(), due), update_port=server.server_address[1] if server else closed_port(),
                 bTray=1, nTipType=1 if due else 0)
    try:
        reach(app, server)
        time.sleep(SETTLE)
        pid, reference = app.process.pid, notepad.process.pid
        before, reference_before = threads(pid), sum(threads(reference).values())
        preempted_before = preemptions(pid)
        time.sleep(SECONDS)
        after, reference_after = threads(pid), sum(threads(reference).values())
        preempted = (preemptions(pid) - preempted_before) / SECONDS
        per_thread = {tid: (after[tid] - before.get(tid, 0)) / SECONDS for tid in after}
        row = Row(name, sum(per_thread.values()), (reference_after - reference_before) / SECONDS, preempted,
                  resident_mb(pid), resident_mb(reference),
                  [(tid, thread_name(pid, tid), rate) for tid, rate in sorted(per_thread.items())])
    finally:
        app.cleanup()
        if server is not None:
            server.shutdown()
            server.server_close()
    report(row)
    return row


def report(row):
    print("%-46s %7.1f %7.1f %+7.1f %7.1f %6.1f %6.1f %+6.1f" % (
        row.name, row.tallyo_rate, row.notepad_rate, row.tallyo_rate - row.notepad_rate, row.preempted_rate,
        row.tallyo_mb, row.notepad_mb, row.tallyo_mb - row.notepad_mb), flush=True)
    if os.environ.get("IDLE_THREADS") == "1":
        for tid, name, rate in row.per_thread:
            if rate > 0:
                print("    thread %-8d %-16s %7.1f/s" % (tid, name, rate), flush=True)


def main():
    print("%-46s %7s %7s %7s %7s %6s %6s %6s" % ("state (%g s each)" % SECONDS, "wakes/s", "notepad", "above",
                                                  "preempt", "MB", "notepad", "above"), flush=True)
    notepad = Notepad()
    try:
        hidden = measure(notepad, "hidden in the tray, document with ticker text", start_hidden)
        offline = measure(notepad, "hidden, offline, the update check retrying", start_hidden, online=False)
        minimised = measure(notepad, "shown, then minimised", minimise_after_showing)
        closed = measure(notepad, "shown, then closed to the tray", close_to_tray_after_showing)
        flashing = measure(notepad, "hidden, a reminder flashing in the tray", start_hidden, due=True)
        measure(notepad, "shown, the ticker moving (no goal)", start_shown)
    finally:
        notepad.close()

    print()
    for row in (hidden, offline, minimised, closed):
        ok = row.tallyo_rate <= row.notepad_rate + WAKEUP_MARGIN
        print("goal %-46s wake-ups %s" % (row.name, "met" if ok else "MISSED"))
    for row in (hidden, minimised, closed):
        memory_ok = row.tallyo_mb <= row.notepad_mb + MEMORY_MARGIN_MB
        print("goal %-46s working set %s" % (row.name, "met" if memory_ok else "MISSED"))
    print("flashing costs %.1f wake-ups/s above the hidden program (two icon changes every 1.4 s)"
          % (flashing.tallyo_rate - hidden.tallyo_rate))


if __name__ == "__main__":
    main()
