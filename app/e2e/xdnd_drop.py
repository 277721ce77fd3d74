"""Drops files on an X window the way a file manager does, by the XDND
protocol (xdotool cannot drag between programs): Wine's X11 driver takes the
drop and gives the window under it a WM_DROPFILES, as on Windows.

    python3 xdnd_drop.py WINDOW_ID X Y FILE...

WINDOW_ID is the X window (xdotool's id), X and Y a point inside it. Exits
with 1 when the window does not finish the drop within a few seconds."""
import ctypes
import ctypes.util
import sys
import time
import urllib.parse

x11 = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11"))
Atom = ctypes.c_ulong
Window = ctypes.c_ulong

x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XDefaultRootWindow.restype = Window
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x11.XInternAtom.restype = Atom
x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x11.XCreateSimpleWindow.restype = Window
x11.XCreateSimpleWindow.argtypes = [ctypes.c_void_p, Window, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                                    ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_ulong]
x11.XSetSelectionOwner.argtypes = [ctypes.c_void_p, Atom, Window, ctypes.c_ulong]
x11.XSendEvent.argtypes = [ctypes.c_void_p, Window, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
x11.XChangeProperty.argtypes = [ctypes.c_void_p, Window, Atom, Atom, ctypes.c_int, ctypes.c_int,
                                ctypes.c_char_p, ctypes.c_int]
x11.XPending.argtypes = [ctypes.c_void_p]
x11.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
x11.XFlush.argtypes = [ctypes.c_void_p]
x11.XTranslateCoordinates.argtypes = [ctypes.c_void_p, Window, Window, ctypes.c_int, ctypes.c_int,
                                      ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_int),
                                      ctypes.POINTER(Window)]

CLIENT_MESSAGE = 33
SELECTION_REQUEST = 30
SELECTION_NOTIFY = 31
PROP_MODE_REPLACE = 0
CURRENT_TIME = 0


class ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", Window), ("message_type", Atom),
                ("format", ctypes.c_int), ("l", ctypes.c_long * 5)]


class SelectionRequest(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("owner", Window), ("requestor", Window), ("selection", Atom),
                ("target", Atom), ("property", Atom), ("time", ctypes.c_ulong)]


class SelectionNotify(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("requestor", Window), ("selection", Atom), ("target", Atom),
                ("property", Atom), ("time", ctypes.c_ulong)]


class Event(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("client", ClientMessage), ("request", SelectionRequest),
                ("notify", SelectionNotify), ("pad", ctypes.c_long * 24)]


def main():
    target, x, y = int(sys.argv[1], 0), int(sys.argv[2]), int(sys.argv[3])
    uris = "".join("file://" + urllib.parse.quote(p) + "\r\n" for p in sys.argv[4:]).encode("utf-8")
    display = x11.XOpenDisplay(None)
    root = x11.XDefaultRootWindow(display)
    atom = lambda name: x11.XInternAtom(display, name.encode(), 0)  # noqa: E731
    source = x11.XCreateSimpleWindow(display, root, 0, 0, 1, 1, 0, 0, 0)
    selection, uri_list = atom("XdndSelection"), atom("text/uri-list")
    x11.XSetSelectionOwner(display, selection, source, CURRENT_TIME)
    rx, ry, child = ctypes.c_int(), ctypes.c_int(), Window()
    x11.XTranslateCoordinates(display, target, root, x, y, ctypes.byref(rx), ctypes.byref(ry),
                              ctypes.byref(child))

    def send(name, *data):
        event = Event()
        event.client.type = CLIENT_MESSAGE
        event.client.window = target
        event.client.message_type = atom(name)
        event.client.format = 32
        for i, value in enumerate(data):
            event.client.l[i] = value
        x11.XSendEvent(display, target, 0, 0, ctypes.byref(event))
        x11.XFlush(display)

    send("XdndEnter", source, 5 << 24, uri_list, 0, 0)
    send("XdndPosition", source, 0, (rx.value << 16) | ry.value, CURRENT_TIME, atom("XdndActionCopy"))
    dropped = False
    deadline = time.monotonic() + 10
    while time.monotonic() < deadline:
        if not x11.XPending(display):
            time.sleep(0.02)
            continue
        event = Event()
        x11.XNextEvent(display, ctypes.byref(event))
        if event.type == CLIENT_MESSAGE and event.client.message_type == atom("XdndStatus") and not dropped:
            if not event.client.l[1] & 1:
                print("xdnd_drop: the window does not take the files", file=sys.stderr)
                return 1
            send("XdndDrop", source, 0, CURRENT_TIME)
            dropped = True
        elif event.type == SELECTION_REQUEST:
            request = event.request
            x11.XChangeProperty(display, request.requestor, request.property, request.target, 8,
                                PROP_MODE_REPLACE, uris, len(uris))
            answer = Event()
            answer.notify.type = SELECTION_NOTIFY
            answer.notify.requestor = request.requestor
            answer.notify.selection = request.selection
            answer.notify.target = request.target
            answer.notify.property = request.property
            answer.notify.time = request.time
            x11.XSendEvent(display, request.requestor, 0, 0, ctypes.byref(answer))
            x11.XFlush(display)
        elif event.type == CLIENT_MESSAGE and event.client.message_type == atom("XdndFinished"):
            return 0
    print("xdnd_drop: the window did not finish the drop", file=sys.stderr)
    return 1


if __name__ == "__main__":
    sys.exit(main())
