"""Where the dialogs put their controls, in client pixels.

The backgrounds draw their labels next to these places. Controls that the
dialogs move at start-up are given in pixels as the dialogs place them; the
others come from res/tallyo.rc in dialog units of 9-point "宋体" (base units
6 x 12, so one unit is 1.5 pixels), converted the way Windows does.
Keep this file in step with res/tallyo.rc.
"""


def dlu(x, y, w, h):
    """Dialog units -> (left, top, right, bottom) pixels, as MapDialogRect."""
    left, top = x * 6 // 4, y * 12 // 8
    right, bottom = (x + w) * 6 // 4, (y + h) * 12 // 8
    return (left, top, right, bottom)


def px(x, y, w, h):
    return (x, y, x + w, y + h)


CAPTION_HEIGHT = 30

# Main window (641 x 481).
MAIN = {
    "grid": dlu(9, 29, 407, 178),
    "date": dlu(216, 222, 62, 13),
    "selector": dlu(216, 240, 80, 12),  # the closed drop-down list
    "note": dlu(33, 226, 126, 29),
    "add": px(470, 330, 61, 25),
    "delete": px(538, 330, 61, 25),
    "modify": px(470, 358, 61, 25),
    "find": px(538, 358, 61, 25),
    "import": px(310, 423, 65, 54),
    "about": px(375, 423, 65, 54),
    "settings": px(440, 423, 65, 54),
    "help": px(505, 423, 65, 54),
    "home": px(570, 423, 65, 54),
    "ticker": (6, 399, 635, 421),
    "close": (613, 1, 634, 18),
    "minimize": (592, 1, 613, 18),
}

# About box and question box (276 x 169).
ABOUT = {"version": dlu(64, 32, 100, 11), "close": px(105, 131, 69, 23)}
CONFIRM = {"text": dlu(44, 35, 127, 29), "ok": px(55, 131, 69, 23), "cancel": px(160, 131, 69, 23)}
FIND = {"keyword": px(102, 75, 122, 13), "ok": px(55, 131, 69, 23), "cancel": px(155, 131, 69, 23)}

# Event editor (394 x 348), both templates.
EDITOR = {
    "title": px(68, 73, 269, 13),
    "body": px(68, 234, 270, 60),
    "no_remind": px(50, 135, 15, 14),
    "remind_at": px(50, 154, 15, 14),
    "remind_after": px(50, 174, 15, 14),
    "date": px(89, 151, 87, 19),
    "time": px(181, 151, 84, 19),
    "minutes": px(91, 174, 49, 13),
    "repeat": px(89, 195, 176, 20),  # the closed "重复" drop-down
    "link": (68, 42, 338, 59),  # the advertisement, above the title
    "ok": dlu(73, 208, 46, 15),
    "cancel": dlu(147, 208, 46, 15),
}

# Reminder popup (394 x 349).
REMINDER = {
    "title": px(70, 65, 260, 60),
    "body": px(68, 235, 269, 59),
    "done": px(54, 143, 15, 14),
    "at": px(54, 161, 15, 14),
    "after": px(54, 179, 15, 14),
    "date": px(100, 158, 87, 19),
    "time": px(195, 158, 84, 19),
    "minutes": px(102, 180, 49, 13),
    "link": (150, 205, 350, 222),
    "ok": dlu(73, 208, 46, 15),
    "cancel": dlu(147, 208, 46, 15),
}

# Settings (394 x 349).
SETTINGS = {
    "autorun": px(53, 67, 12, 12),
    "tray": px(53, 84, 12, 12),
    "tip_popup": px(51, 102, 15, 14),
    "tip_flash": px(51, 120, 15, 14),
    "play_sound": px(53, 137, 12, 12),
    "beep": px(71, 154, 15, 14),
    "sound_file_choice": px(71, 171, 15, 14),
    "sound_file": (dlu(115, 113, 0, 0)[0], dlu(115, 113, 0, 0)[1],
                   dlu(115, 113, 0, 0)[0] + 182, dlu(115, 113, 0, 0)[1] + 14),
    "browse": px(dlu(239, 112, 0, 0)[0], dlu(239, 112, 0, 0)[1], 18, 18),
    "mark": dlu(35, 145, 207, 53),
    "ok": px(110, 314, 69, 23),
    "cancel": px(220, 314, 69, 23),
}

# Calendar import (394 x 250): the text, the progress bar under it, and the
# buttons (OK alone in the middle when it is the only one).
IMPORT = {
    "text": dlu(48, 31, 200, 82),
    "progress": px(72, 178, 300, 12),
    "ok": px(110, 214, 69, 23),
    "cancel": px(215, 214, 69, 23),
    "ok_alone": px(162, 214, 69, 23),
}

# Calendar sync (394 x 349). The status and the result take two lines each.
SYNC = {
    "address": px(68, 56, 300, 13),
    "user": px(68, 82, 140, 13),
    "password": px(68, 108, 140, 13),
    "discover": px(299, 102, 69, 23),
    "calendar": px(68, 142, 220, 20),  # the closed drop-down
    "status": px(68, 168, 300, 28),
    "enabled": px(68, 212, 12, 12),
    "interval": px(92, 234, 36, 13),
    "sync_now": px(299, 217, 69, 23),
    "result": px(68, 268, 300, 28),
    "ok": px(110, 314, 69, 23),
    "cancel": px(220, 314, 69, 23),
}
