"""Button and box bitmaps. Each is opaque (no magenta): its corners take the
colour of the surface it sits on, so rounded shapes blend into the skin."""
import math

from PIL import Image, ImageDraw

import skin_palette as P

SS = 4  # supersampling factor for anti-aliased shapes


def _canvas(size, background):
    w, h = size
    img = Image.new("RGB", (w * SS, h * SS), background)
    return img, ImageDraw.Draw(img)


def _done(img, corners=None):
    """Reduces the supersampled image. With `corners`, the four corner pixels
    take that colour exactly: controls drawn at natural size must blend into
    the surface they sit on, and anti-aliasing leaves a trace there."""
    img = img.reduce(SS)
    if corners is not None:
        w, h = img.size
        for xy in ((0, 0), (w - 1, 0), (0, h - 1), (w - 1, h - 1)):
            img.putpixel(xy, corners)
    return img


def _s(*values):
    return [v * SS for v in values]


def caption_button(kind, state):
    """21 x 17 grey square with a white cross (close) or bar (minimise)."""
    fill = {"normal": (104, 122, 122), "hover": (146, 164, 163), "pressed": (66, 80, 80)}[state]
    img, d = _canvas((21, 17), P.CAPTION)
    d.rounded_rectangle(_s(0, 0, 21, 17), radius=3 * SS, fill=fill)
    d.rounded_rectangle(_s(0, 0, 21, 17), radius=3 * SS, outline=P.mix(fill, (0, 0, 0), 0.25), width=SS)
    white = (255, 255, 255)
    shift = SS if state == "pressed" else 0
    if kind == "close":
        for a, b in (((7, 5), (14, 12)), ((14, 5), (7, 12))):
            d.line([a[0] * SS + shift, a[1] * SS + shift, b[0] * SS + shift, b[1] * SS + shift],
                   fill=white, width=int(1.8 * SS))
    else:
        d.rectangle([6 * SS + shift, 10 * SS + shift, 15 * SS + shift, 12 * SS - 1 + shift], fill=white)
    return _done(img)


def push_button(state):
    """69 x 23 grey rounded button for OK, Cancel and Close (text drawn on top)."""
    top, bottom, edge = {
        "normal": ((238, 241, 240), (206, 213, 212), (120, 136, 135)),
        "hover": ((250, 252, 251), (224, 231, 230), (242, 170, 62)),
        "pressed": ((184, 193, 192), (206, 213, 212), (96, 112, 111)),
    }[state]
    return _rounded_gradient((69, 23), P.BODY, top, bottom, edge, radius=5)


def list_button(state):
    """61 x 25 yellow-orange button of the main window's list commands."""
    top, bottom, edge = {
        "normal": ((252, 200, 110), (238, 160, 50), (170, 108, 24)),
        "hover": ((255, 218, 146), (247, 180, 80), (190, 126, 36)),
        "pressed": ((222, 142, 40), (240, 172, 72), (150, 92, 16)),
    }[state]
    return _rounded_gradient((61, 25), P.BODY, top, bottom, edge, radius=5)


def browse_button(state):
    """18 x 18 grey "..." button beside the sound file box."""
    top, bottom, edge = {
        "normal": ((238, 241, 240), (206, 213, 212), (120, 136, 135)),
        "hover": ((250, 252, 251), (224, 231, 230), (242, 170, 62)),
        "pressed": ((184, 193, 192), (206, 213, 212), (96, 112, 111)),
    }[state]
    img = _rounded_gradient((18, 18), P.BODY, top, bottom, edge, radius=4, finish=False)
    d = ImageDraw.Draw(img)
    shift = SS if state == "pressed" else 0
    for cx in (5, 9, 13):
        x, y = cx * SS + shift, 12 * SS + shift
        d.ellipse([x - 1.1 * SS, y - 1.1 * SS, x + 1.1 * SS, y + 1.1 * SS], fill=(40, 60, 60))
    return _done(img, corners=P.BODY)


def _rounded_gradient(size, outside, top, bottom, edge, radius, finish=True):
    w, h = size
    img, d = _canvas(size, outside)
    shape = Image.new("L", img.size, 0)
    ImageDraw.Draw(shape).rounded_rectangle(_s(0, 0, w, h), radius=radius * SS, fill=255)
    grad = Image.new("RGB", img.size)
    gd = ImageDraw.Draw(grad)
    for y in range(h * SS):
        gd.line([0, y, w * SS, y], fill=P.mix(top, bottom, y / (h * SS - 1)))
    img.paste(grad, (0, 0), shape)
    d.rounded_rectangle(_s(0, 0, w, h), radius=radius * SS, outline=edge, width=SS)
    return _done(img, corners=outside) if finish else img


def radio_box(checked):
    """15 x 14 round option box; the bottom row is left to the surface, since
    a control of 10 x 9 dialog units is 13 pixels high."""
    img, d = _canvas((15, 14), P.BODY)
    box = _s(1, 0, 14, 13)
    d.ellipse(box, fill=(250, 252, 251), outline=(120, 150, 148), width=SS)
    if checked:
        d.ellipse(_s(4, 3, 11, 10), fill=(30, 62, 62))
    return _done(img)


def check_box(checked):
    """12 x 12 square box; a dark inner square when checked."""
    img, d = _canvas((12, 12), P.BODY)
    d.rounded_rectangle(_s(0, 0, 12, 12), radius=3 * SS, fill=(250, 252, 251), outline=(120, 150, 148), width=SS)
    if checked:
        d.rounded_rectangle(_s(3, 3, 9, 9), radius=1 * SS, fill=(30, 62, 62))
    return _done(img, corners=P.BODY)


# ---------------------------------------------------------------- picture buttons

def _glyph_about(d, cx, cy, r, colour):
    d.ellipse([cx - r, cy - r, cx + r, cy + r], outline=colour, width=int(r * 0.16))
    d.ellipse([cx - r * 0.12, cy - r * 0.55, cx + r * 0.12, cy - r * 0.31], fill=colour)
    d.rounded_rectangle([cx - r * 0.11, cy - r * 0.15, cx + r * 0.11, cy + r * 0.58], radius=r * 0.08, fill=colour)


def _glyph_help(d, cx, cy, r, colour):
    d.ellipse([cx - r, cy - r, cx + r, cy + r], outline=colour, width=int(r * 0.16))
    w = int(r * 0.2)
    d.arc([cx - r * 0.36, cy - r * 0.6, cx + r * 0.36, cy + r * 0.08], start=180, end=420, fill=colour, width=w)
    d.line([cx + r * 0.05, cy + r * 0.06, cx, cy + r * 0.28], fill=colour, width=w)
    d.ellipse([cx - r * 0.12, cy + r * 0.44, cx + r * 0.12, cy + r * 0.68], fill=colour)


def _glyph_settings(d, cx, cy, r, colour, hole):
    teeth = 8
    pts = []
    for i in range(teeth * 4):
        a = 2 * math.pi * i / (teeth * 4)
        rr = r if (i % 4) in (1, 2) else r * 0.74
        pts.append((cx + rr * math.cos(a), cy + rr * math.sin(a)))
    d.polygon(pts, fill=colour)
    d.ellipse([cx - r * 0.32, cy - r * 0.32, cx + r * 0.32, cy + r * 0.32], fill=hole)


def _glyph_home(d, cx, cy, r, colour, door):
    d.polygon([(cx - r * 1.05, cy - r * 0.05), (cx, cy - r * 0.95), (cx + r * 1.05, cy - r * 0.05)], fill=colour)
    d.rectangle([cx - r * 0.72, cy - r * 0.2, cx + r * 0.72, cy + r * 0.85], fill=colour)
    d.rectangle([cx - r * 0.2, cy + r * 0.25, cx + r * 0.2, cy + r * 0.85], fill=door)


def _glyph_import(d, cx, cy, r, colour, accent):
    # an open tray, and an amber arrow coming down into it
    w = r * 0.18
    d.line([(cx - r, cy + r * 0.2), (cx - r, cy + r * 0.9), (cx + r, cy + r * 0.9), (cx + r, cy + r * 0.2)],
           fill=colour, width=int(w), joint="curve")
    d.rectangle([cx - r * 0.14, cy - r * 1.0, cx + r * 0.14, cy + r * 0.05], fill=accent)
    d.polygon([(cx - r * 0.5, cy - r * 0.1), (cx + r * 0.5, cy - r * 0.1), (cx, cy + r * 0.5)], fill=accent)


def picture_button(kind, label, state):
    """65 x 54 tile of the main window's bottom bar: a glyph over its label."""
    tile = {"normal": P.CAPTION, "hover": (46, 92, 92), "pressed": (17, 40, 40)}[state]
    img, d = _canvas((65, 54), P.CAPTION)
    d.rounded_rectangle(_s(1, 1, 64, 53), radius=6 * SS, fill=tile)
    if state != "normal":
        d.rounded_rectangle(_s(1, 1, 64, 53), radius=6 * SS,
                            outline=P.ACCENT if state == "hover" else (12, 30, 30), width=SS)
    shift = 1 if state == "pressed" else 0
    colour = (255, 255, 255) if state == "hover" else (222, 236, 234)
    cx, cy, r = (32.5 + shift) * SS, (20 + shift) * SS, 10 * SS
    if kind == "about":
        _glyph_about(d, cx, cy, r, colour)
    elif kind == "help":
        _glyph_help(d, cx, cy, r, colour)
    elif kind == "settings":
        _glyph_settings(d, cx, cy, r, colour, tile)
    elif kind == "import":
        _glyph_import(d, cx, cy, r, colour, P.ACCENT)
    else:
        _glyph_home(d, cx, cy, r, colour, P.ACCENT)
    img = _done(img)
    P.text(ImageDraw.Draw(img), (32.5 + shift, 42 + shift), label, size=P.SMALL, fill=colour, anchor="mm")
    return img
