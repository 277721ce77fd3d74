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
ABOUT_CAPTION = "关于 Tallyo"
REMINDER_CAPTION = "事情提醒"
TRAY_CAPTION = "Wine System Tray"


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
    `document` (code page 936, with its Content-Length). Call shutdown() on it."""
    body = document.encode("gbk")

    class Handler(http.server.BaseHTTPRequestHandler):
        def do_GET(self):
            self.send_response(200)
            self.send_header("Content-Type", "text/xml")
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            self.wfile.write(body)

        def log_message(self, *args):
            pass

    server = http.server.HTTPServer(("127.0.0.1", 0), Handler)
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


def wait_for(predicate, timeout=15.0, what="a condition"):
    deadline = time.time() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.time() > deadline:
            raise AssertionError("timed out waiting for %s" % what)
        time.sleep(0.1)


def window_geometry(wid):
    out = xdotool("getwindowgeometry", "--shell", wid)
    values = dict(line.split("=", 1) for line in out.splitlines() if "=" in line)
    return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])


def click(wid, x, y, button=1, repeat=1):
    """Clicks at (x, y) of window `wid`; presses and releases are spaced so
    Wine sees each one (a burst of events can lose the release)."""
    xdotool("mousemove", "--window", wid, x, y)
    time.sleep(0.15)
    for i in range(repeat):
        xdotool("mousedown", button)
        time.sleep(0.05)
        xdotool("mouseup", button)
        time.sleep(0.08 if i + 1 < repeat else 0.3)


def type_text(text):
    xdotool("type", "--delay", 30, text)
    time.sleep(0.2)


def key(*names):
    xdotool("key", "--delay", 50, *names)
    time.sleep(0.2)


def screenshot(name, settle=0.8):
    """Saves the whole screen as <name>.png, once the windows have painted."""
    time.sleep(settle)
    out_dir = os.environ.get("TALLYO_E2E_OUT", tempfile.gettempdir())
    os.makedirs(out_dir, exist_ok=True)
    path = os.path.join(out_dir, name + ".png")
    # ImageMagick's import, not xwd: on Xvfb, xwd -root shows a window that
    # lies wholly over another one of Wine's as a black box.
    subprocess.run(["import", "-window", "root", path], check=True)
    return path


def clipboard_text():
    out = subprocess.run(["xclip", "-o", "-selection", "clipboard"], capture_output=True)
    return out.stdout.decode("utf-8", "replace") if out.returncode == 0 else ""


def grid_rows(main):
    """The rows the main window's grid lists, as lists of cell texts: the grid
    copies all its cells (Ctrl+A, Ctrl+C) and the clipboard is read back."""
    subprocess.run(["xclip", "-i", "-selection", "clipboard"], input=b"", check=True)
    click(main, 300, 290)  # the grid's empty lower part: the focus, no row
    key("ctrl+a")
    key("ctrl+c")
    text = wait_for(lambda: clipboard_text() or "-", 3.0, "the clipboard")
    if text == "-":
        return []
    return [line.split("\t") for line in text.replace("\r", "").split("\n") if line]


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
        return wait_for(lambda: find_window(MAIN_CAPTION), timeout, "the main window")

    def running(self):
        return self.process is not None and self.process.poll() is None

    def wait_exit(self, timeout=10.0):
        wait_for(lambda: not self.running(), timeout, "the program to end")

    def stop(self):
        if self.running():
            self.process.kill()
            self.process.wait()
        # Let Wine drop the dead process's windows and tray icon.
        wait_for(lambda: find_window(MAIN_CAPTION) is None, 10.0, "the main window to go")

    def events(self):
        return read_events(self.event_path)

    def config(self):
        return read_config(self.config_path)

    def cleanup(self):
        self.stop()
        shutil.rmtree(self.dir, ignore_errors=True)


def tray_window():
    return wait_for(lambda: find_window(TRAY_CAPTION), 10.0, "the notification area")


def tray_icon_click(double=False, button=1):
    """Clicks the first icon of Wine's notification area."""
    click(tray_window(), 14, 34, button=button, repeat=2 if double else 1)


def local_now():
    return int(time.time())


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
