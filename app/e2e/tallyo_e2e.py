"""Drives the real Tallyo.exe under Wine on an X display, as a user would.

Each test gets a fresh folder holding a copy of Tallyo.exe, its own event.dat
and config.ini (with the update check pointed at 127.0.0.1), starts the
program, finds its windows by caption with xdotool, clicks and types, takes
screenshots, and reads the files back.

Environment (set by tools/test.sh): DISPLAY, WINEPREFIX; TALLYO_EXE (the
program to copy), TALLYO_E2E_OUT (where screenshots go).
"""
import http.server
import os
import shutil
import socket
import struct
import subprocess
import tempfile
import threading
import time
import unittest

WINE = "/usr/lib/wine/wine64"
MAIN_CAPTION = "Tallyo-Quillo软件系列"
CONFIRM_CAPTION = "提示"
ADD_CAPTION = "增加事件"
MODIFY_CAPTION = "修改事件"
FIND_CAPTION = "查找事件"
SETTINGS_CAPTION = "设置"
SYNC_CAPTION = "日历同步"
ABOUT_CAPTION = "关于 Tallyo"
REMINDER_CAPTION = "事情提醒"
MESSAGE_CAPTION = "Tallyo"  # the program's message boxes
TRAY_CAPTION = "Wine System Tray"  # shown while any program has an icon there
PROGRAM_CAPTIONS = (MAIN_CAPTION, CONFIRM_CAPTION, ADD_CAPTION, MODIFY_CAPTION, FIND_CAPTION, SETTINGS_CAPTION,
                    SYNC_CAPTION, ABOUT_CAPTION, REMINDER_CAPTION, MESSAGE_CAPTION, TRAY_CAPTION)


# ---------------------------------------------------------------- event.dat

class Event:
    def __init__(self, title, created, content="", remind=0, remind_at=0):
        self.title = title
        self.created = created
        self.content = content
        self.remind = remind
        self.remind_at = remind_at

    def __repr__(self):
        return "Event(%r, %d, %r, %d, %d)" % (self.title, self.created, self.content,
                                               self.remind, self.remind_at)


def _text(value):
    data = value.encode("gbk")
    n = len(data)
    if n <= 254:
        return bytes([n]) + data
    if n <= 65533:
        return b"\xff" + struct.pack("<H", n) + data
    return b"\xff\xff\xff" + struct.pack("<I", n) + data


def write_events(path, events):
    """Writes event.dat in the program's archive layout (temp file, rename)."""
    out = bytearray()
    n = len(events)
    out += struct.pack("<H", n) if n < 0xFFFF else b"\xff\xff" + struct.pack("<I", n)
    for i, e in enumerate(events):
        out += b"\xff\xff\x01\x00\x08\x00CMyEvent" if i == 0 else b"\x01\x80"
        out += _text(e.title) + struct.pack("<i", e.created) + _text(e.content)
        out += struct.pack("<ii", e.remind, e.remind_at)
    temp = path + ".writing"
    with open(temp, "wb") as f:
        f.write(out)
    os.replace(temp, path)


def read_events(path):
    with open(path, "rb") as f:
        data = f.read()
    pos = 0

    def take(n):
        nonlocal pos
        chunk = data[pos:pos + n]
        if len(chunk) != n:
            raise ValueError("event.dat ends early")
        pos += n
        return chunk

    def text():
        n = take(1)[0]
        if n == 0xFF:
            n = struct.unpack("<H", take(2))[0]
            if n == 0xFFFF:
                n = struct.unpack("<I", take(4))[0]
        return take(n).decode("gbk")

    count = struct.unpack("<H", take(2))[0]
    if count == 0xFFFF:
        count = struct.unpack("<I", take(4))[0]
    events = []
    for i in range(count):
        tag = struct.unpack("<H", take(2))[0]
        if tag == 0xFFFF:
            take(2)
            take(struct.unpack("<H", take(2))[0])
        title = text()
        created = struct.unpack("<i", take(4))[0]
        content = text()
        remind, remind_at = struct.unpack("<ii", take(8))
        events.append(Event(title, created, content, remind, remind_at))
    return events


def write_config(path, update_port, **settings):
    lines = ["[common]"]
    for key, value in settings.items():
        lines.append("%s=%s" % (key, value))
    lines += ["[update]", "host=127.0.0.1", "port=%d" % update_port]
    with open(path, "wb") as f:
        f.write(("\r\n".join(lines) + "\r\n").encode("gbk"))


def read_config(path):
    values = {}
    with open(path, "rb") as f:
        text = f.read().decode("gbk")
    for line in text.splitlines():
        if "=" in line:
            key, value = line.split("=", 1)
            values[key] = value
    return values


def serve_document(document):
    """An update server on 127.0.0.1 that answers every request with
    `document` (code page 936, with its Content-Length); its `served` counts
    the documents sent. Call shutdown() on it."""
    body = document.encode("gbk")

    class Handler(http.server.BaseHTTPRequestHandler):
        def do_GET(self):
            self.send_response(200)
            self.send_header("Content-Type", "text/xml")
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            self.wfile.write(body)
            self.server.served += 1

        def log_message(self, *args):
            pass

    server = http.server.HTTPServer(("127.0.0.1", 0), Handler)
    server.served = 0
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


def closed_port():
    """A port on 127.0.0.1 nobody listens on: the update check fails at once."""
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


# ---------------------------------------------------------------- X and Wine

def xdotool(*args, check=True):
    result = subprocess.run(["xdotool"] + [str(a) for a in args], capture_output=True, text=True)
    if check and result.returncode != 0:
        raise RuntimeError("xdotool %s: %s" % (" ".join(map(str, args)), result.stderr.strip()))
    return result.stdout.strip()


def visible_windows():
    """(window id, caption) of every visible top-level window."""
    found = []
    out = xdotool("search", "--onlyvisible", "--name", ".", check=False)
    for wid in out.split():
        name = subprocess.run(["xdotool", "getwindowname", wid], capture_output=True).stdout
        found.append((wid, name.decode("utf-8", "replace").strip()))
    return found


def find_window(caption):
    for wid, name in visible_windows():
        if name == caption:
            return wid
    return None


def visible_window_ids():
    """Every visible window, menus without a caption too."""
    return xdotool("search", "--onlyvisible", "--class", ".", check=False).split()


def window_captions():
    return ", ".join('"%s"' % name for _, name in visible_windows()) or "none"


def window_geometry(wid):
    out = xdotool("getwindowgeometry", "--shell", wid)
    values = dict(line.split("=", 1) for line in out.splitlines() if "=" in line)
    return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])


# Input pacing: xdotool hands its events to the X server at once, and Wine
# turns them into messages on its own time. A press and release sent too
# close together can lose the release, and input sent on top of the last may
# be merged with it (two clicks into a double click, keys into one burst), so
# every action leaves Wine a short, fixed gap. These are the only sleeps that
# are not waits for a condition.
PRESS_GAP = 0.05  # between a button's press and its release
CLICK_GAP = 0.08  # between the clicks of a double click
MOVE_GAP = 0.15  # between moving the pointer and pressing
AFTER_CLICK = 0.3  # after a click, before the next action
AFTER_KEYS = 0.2  # after keys or typed text, before the next action


def click(wid, x, y, button=1, repeat=1):
    """Clicks at (x, y) of window `wid`, `repeat` times in a row."""
    xdotool("mousemove", "--window", wid, x, y)
    time.sleep(MOVE_GAP)
    for i in range(repeat):
        xdotool("mousedown", button)
        time.sleep(PRESS_GAP)
        xdotool("mouseup", button)
        time.sleep(CLICK_GAP if i + 1 < repeat else AFTER_CLICK)


def type_text(text):
    xdotool("type", "--delay", 30, text)
    time.sleep(AFTER_KEYS)


def key(*names):
    xdotool("key", "--delay", 50, *names)
    time.sleep(AFTER_KEYS)


def screen_ppm():
    # ImageMagick's import, not xwd: on Xvfb, xwd -root shows a window that
    # lies wholly over another one of Wine's as a black box.
    return subprocess.run(["import", "-window", "root", "ppm:-"], capture_output=True, check=True).stdout


def screenshot(name):
    """Saves the whole screen as <name>.png once the windows have painted."""
    frame = wait_for_still_screen()
    out_dir = os.environ.get("TALLYO_E2E_OUT", tempfile.gettempdir())
    os.makedirs(out_dir, exist_ok=True)
    path = os.path.join(out_dir, name + ".png")
    subprocess.run(["convert", "ppm:-", path], input=frame, check=True)
    return path


def window_region_rgb(wid, rect):
    """The pixels of client rectangle `rect` (left, top, right, bottom) of
    window `wid`, as 8-bit RGB bytes row by row."""
    x, y, _, _ = window_geometry(wid)
    left, top, right, bottom = rect
    crop = "%dx%d+%d+%d" % (right - left, bottom - top, x + left, y + top)
    return subprocess.run(["import", "-window", "root", "-crop", crop, "-depth", "8", "rgb:-"],
                          capture_output=True, check=True).stdout


def count_pixels(rgb, matches):
    return sum(1 for i in range(0, len(rgb) - 2, 3) if matches(rgb[i], rgb[i + 1], rgb[i + 2]))


def set_clipboard_text(text):
    """Puts `text` on the clipboard. xclip stays behind to serve it until
    another program takes the clipboard: it must not hold on to the test's
    output, or ctest waits for it for ever."""
    subprocess.run(["xclip", "-i", "-selection", "clipboard"], input=text.encode("utf-8"), check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def clipboard_text():
    out = subprocess.run(["xclip", "-o", "-selection", "clipboard"], capture_output=True)
    return out.stdout.decode("utf-8", "replace") if out.returncode == 0 else ""


# Put on the clipboard before the grid is asked to copy, to tell its copy
# from what was there. An empty grid copies nothing: when the clipboard still
# holds this after a bounded observation period, the grid is empty.
CLIPBOARD_MARK = "tallyo-e2e: the grid has not copied yet"
GRID_COPY_PERIOD = 3.0


def grid_rows(main):
    """The rows the main window's grid lists, as lists of cell texts: the grid
    copies all its cells (Ctrl+A, Ctrl+C) and the clipboard is read back."""
    set_clipboard_text(CLIPBOARD_MARK)
    click(main, 300, 290)  # the grid's empty lower part: the focus, no row
    key("ctrl+a")
    key("ctrl+c")

    def copied():
        text = clipboard_text()
        return text if text != CLIPBOARD_MARK else ""

    try:
        text = wait_for(copied, GRID_COPY_PERIOD, "the grid's copy")
    except AssertionError:
        return []
    return [line.split("\t") for line in text.replace("\r", "").split("\n") if line]


def window_texts(caption):
    """The texts of the shown window captioned `caption` and of its controls,
    one a line, read in the same Wine session by the helper window_text.exe
    (Wine's message box does not copy its text with Ctrl+C)."""
    env = dict(os.environ, WINEDEBUG="-all", LANG=os.environ.get("LANG") or "C.UTF-8")
    result = subprocess.run([WINE, os.environ["TALLYO_WINDOW_TEXT"], caption], env=env, capture_output=True,
                            timeout=60)
    return result.stdout.decode("utf-8", "replace") if result.returncode == 0 else ""


def tray_icon_frame():
    """Which frame the first icon of the notification area shows: "amber" (the
    flash frame, a red-heavy tile) or "teal" (the program's icon)."""
    rgb = subprocess.run(["import", "-window", "root", "-crop", "16x16+6+26", "-depth", "8", "rgb:-"],
                         capture_output=True, check=True).stdout
    # The tile's left edge: amber in the flash frame, teal in the program's
    # icon (whose card header is amber too, so the whole icon would not tell).
    edge = [rgb[(y * 16 + x) * 3:(y * 16 + x) * 3 + 3] for y in range(16) for x in range(2)]
    amber = sum(1 for p in edge if p[0] > 200 and 120 < p[1] < 200 and p[2] < 110)
    return "amber" if amber > 9 else "teal"


def save_tray(name):
    out_dir = os.environ.get("TALLYO_E2E_OUT", tempfile.gettempdir())
    os.makedirs(out_dir, exist_ok=True)
    path = os.path.join(out_dir, name + ".png")
    subprocess.run(["import", "-window", "root", "-crop", "170x48+0+0", "+repage", path], check=True)
    return path


# ---------------------------------------------------------------- waiting
#
# Every wait lives here. A check that something happened waits for the thing
# itself, up to a timeout, and then fails saying what it waited for and what
# it saw last. A check that something does NOT happen watches for a bounded
# observation period instead (observe_for). The only other sleeps are the
# input pacing above.

POLL_INTERVAL = 0.1


def wait_for(predicate, timeout=15.0, what="a condition", last_seen=None):
    """Polls `predicate` until it returns a true value, and returns that value.
    After `timeout` seconds fails naming `what` and, if given, `last_seen()`."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            seen = "; last seen: %s" % last_seen() if last_seen else ""
            raise AssertionError("timed out after %g s waiting for %s%s" % (timeout, what, seen))
        time.sleep(POLL_INTERVAL)


def observe_for(period, condition, what):
    """A bounded observation period: `condition()` must hold throughout
    `period` seconds; fails the moment it does not, naming `what`."""
    deadline = time.monotonic() + period
    while True:
        if not condition():
            raise AssertionError("within the %g s observation period this stopped holding: %s" % (period, what))
        if time.monotonic() > deadline:
            return
        time.sleep(POLL_INTERVAL)


def wait_for_window(caption, timeout=10.0):
    """The id of the visible top-level window captioned `caption`."""
    return wait_for(lambda: find_window(caption), timeout, 'the window "%s"' % caption,
                    last_seen=lambda: "windows " + window_captions())


def wait_for_window_gone(caption, timeout=10.0):
    wait_for(lambda: find_window(caption) is None, timeout, 'the window "%s" to close' % caption)


def wait_for_events(app, predicate, what, timeout=5.0):
    """The events of `app`'s event.dat once `predicate(events)` holds."""
    seen = {}

    def satisfied():
        try:
            seen["events"] = app.events()
        except (OSError, ValueError) as error:
            seen["events"] = error
            return False
        return predicate(seen["events"])

    wait_for(satisfied, timeout, "event.dat to hold " + what, last_seen=lambda: repr(seen.get("events")))
    return seen["events"]


def wait_for_titles(app, titles, timeout=5.0):
    """Waits until event.dat holds events titled `titles`, in this order."""
    return wait_for_events(app, lambda events: [e.title for e in events] == titles,
                           "the events %r" % (titles,), timeout)


def wait_for_config(app, predicate, what, timeout=5.0):
    """The values of `app`'s config.ini once `predicate(values)` holds."""
    seen = {}

    def satisfied():
        seen["values"] = app.config()
        return predicate(seen["values"])

    wait_for(satisfied, timeout, "config.ini to hold " + what, last_seen=lambda: repr(seen.get("values")))
    return seen["values"]


def wait_for_grid_rows(main, rows, timeout=8.0):
    """Waits until the main window's grid lists `rows` (lists of cell texts)."""
    seen = {}

    def satisfied():
        seen["rows"] = grid_rows(main)
        return seen["rows"] == rows

    wait_for(satisfied, timeout, "the grid to list %r" % (rows,), last_seen=lambda: repr(seen.get("rows")))
    return seen["rows"]


def wait_for_pixels(wid, rect, matches, at_least, what, timeout=10.0):
    """Waits until at least `at_least` pixels of `rect` in window `wid`
    satisfy `matches(r, g, b)`: something has been drawn there."""
    seen = {}

    def drawn():
        seen["count"] = count_pixels(window_region_rgb(wid, rect), matches)
        return seen["count"] >= at_least

    wait_for(drawn, timeout, what, last_seen=lambda: "%s matching pixels" % seen.get("count"))


def wait_for_tray_frames(frames, timeout=8.0, save_prefix=None):
    """Waits until the tray icon has shown each of `frames` ("amber", "teal"),
    saving a picture of each the first time it is seen when `save_prefix` is
    given. Returns the frames seen."""
    seen = set()

    def all_seen():
        frame = tray_icon_frame()
        if frame not in seen and save_prefix:
            save_tray(save_prefix + frame)
        seen.add(frame)
        return seen >= set(frames)

    wait_for(all_seen, timeout, "the tray icon to show the frames %s" % sorted(frames),
             last_seen=lambda: "frames %s" % sorted(seen))
    return seen


SCREEN_STILL_FOR = 0.3  # a screen unchanged this long has finished painting
SCREEN_SETTLE_TIMEOUT = 3.0


def wait_for_still_screen():
    """The screen (PPM bytes) once it has stopped changing, that is once the
    windows have painted. A screen that keeps moving (the ticker, a flashing
    icon) is taken as it is after SCREEN_SETTLE_TIMEOUT: pictures are for
    people, so nothing fails here."""
    deadline = time.monotonic() + SCREEN_SETTLE_TIMEOUT
    frame = screen_ppm()
    still_since = time.monotonic()
    while time.monotonic() - still_since < SCREEN_STILL_FOR and time.monotonic() < deadline:
        time.sleep(POLL_INTERVAL)
        latest = screen_ppm()
        if latest != frame:
            frame, still_since = latest, time.monotonic()
    return frame


def wait_for_new_window(before, what, timeout=5.0):
    """A visible window without a caption that is not among the ids `before`:
    a menu that has opened."""
    def opened():
        return next((w for w in visible_window_ids()
                     if w not in before and not xdotool("getwindowname", w, check=False)), None)

    return wait_for(opened, timeout, what)


# ---------------------------------------------------------------- the program

class Tallyo:
    """One copy of the program in a folder of its own."""

    def __init__(self, events=(), update_port=None, **settings):
        self.dir = tempfile.mkdtemp(prefix="tallyo-e2e-")
        shutil.copy(os.environ["TALLYO_EXE"], os.path.join(self.dir, "Tallyo.exe"))
        self.event_path = os.path.join(self.dir, "event.dat")
        self.config_path = os.path.join(self.dir, "config.ini")
        if events is not None:
            write_events(self.event_path, list(events))
        self.update_port = update_port or closed_port()
        write_config(self.config_path, self.update_port, **settings)
        self.process = None

    def start(self, *args):
        env = dict(os.environ, WINEDEBUG="-all", TZ=os.environ.get("TZ", "Asia/Shanghai"))
        self.process = subprocess.Popen([WINE, os.path.join(self.dir, "Tallyo.exe")] + list(args),
                                        cwd="/", env=env, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)
        return self

    def wait_main_window(self, timeout=20.0):
        return wait_for_window(MAIN_CAPTION, timeout)

    def running(self):
        return self.process is not None and self.process.poll() is None

    def wait_exit(self, timeout=10.0):
        wait_for(lambda: not self.running(), timeout, "the program to end")

    def stop(self):
        if self.running():
            self.process.kill()
            self.process.wait()
        # Wine drops the dead process's windows and tray icon a moment later;
        # the next test must not find them.
        wait_for(lambda: not any(name in PROGRAM_CAPTIONS for _, name in visible_windows()), 10.0,
                 "the program's windows and tray icon to go", last_seen=lambda: "windows " + window_captions())

    def events(self):
        return read_events(self.event_path)

    def config(self):
        return read_config(self.config_path)

    def cleanup(self):
        self.stop()
        shutil.rmtree(self.dir, ignore_errors=True)


def tray_window(timeout=10.0):
    """Wine's notification area; it is shown only while it holds an icon."""
    return wait_for_window(TRAY_CAPTION, timeout)


def tray_icon_click(double=False, button=1):
    """Clicks the first icon of Wine's notification area."""
    click(tray_window(), 14, 34, button=button, repeat=2 if double else 1)


# The tray menu opens with its top left corner at the icon; its items, in
# client pixels of the menu window.
TRAY_MENU_ITEMS = {"显示": (31, 11), "导入日历...": (31, 28), "日历同步...": (31, 45), "退出": (31, 71)}


def choose_from_tray_menu(item):
    """Opens the tray icon's menu with a right click, waits for it and clicks
    `item` in it."""
    before = set(visible_window_ids())
    tray_icon_click(button=3)
    click(wait_for_new_window(before, "the tray menu"), *TRAY_MENU_ITEMS[item])


def local_now():
    return int(time.time())


def fmt(t):
    """A time as the grid shows it."""
    return time.strftime("%Y-%m-%d %H:%M:%S", time.localtime(t))


def today_event(title, seconds_ago=60, **kw):
    """An event created `seconds_ago` seconds ago, but today at any rate."""
    now = local_now()
    lt = time.localtime(now)
    since_midnight = lt.tm_hour * 3600 + lt.tm_min * 60 + lt.tm_sec
    return Event(title, now - min(seconds_ago, since_midnight), **kw)


# The main window's grid, client pixels.
GRID_LEFT = 60


def row_y(row):
    """Middle of grid row `row` (1 is the first event)."""
    return 54 + 18 * row


class E2ETest(unittest.TestCase):
    """Starts a fresh Tallyo per test and always ends it."""

    def prepare(self, events=(), **settings):
        """A folder with the program and its files, not started yet."""
        settings.setdefault("bTray", 0)
        app = Tallyo(events=events, **settings)
        self.addCleanup(app.cleanup)
        return app

    def launch(self, events=(), args=(), **settings):
        return self.prepare(events, **settings).start(*args)
