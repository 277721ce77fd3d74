"""Colours and type of the skin: one dark teal surface, one amber accent."""
from PIL import ImageFont

MAGENTA = (255, 0, 255)  # the window region cuts these pixels away

# Surfaces. BODY is fixed: the labels, check boxes and option buttons of the
# dialogs fill their own rectangles with it, so the skin must match exactly.
BODY = (38, 77, 77)
CAPTION = (25, 54, 54)       # caption strip and the main window's bottom bar
OUTLINE = (12, 30, 30)       # one-pixel window edge
RULE = (55, 98, 98)          # separators and field frames on BODY
SHADE = (31, 66, 66)         # recessed wells (grid frame, link strip)
TICKER = (38, 38, 38)        # the main window's ticker paints itself this grey

# Text.
TEXT = (236, 243, 242)
MUTED = (150, 184, 181)
TITLE = (255, 255, 255)

# The one accent.
ACCENT = (242, 170, 62)
ACCENT_DARK = (206, 134, 32)

FONT_FILE = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"
_fonts = {}


def font(size):
    """WenQuanYi Micro Hei at `size` pixels."""
    if size not in _fonts:
        _fonts[size] = ImageFont.truetype(FONT_FILE, size, index=0)
    return _fonts[size]


# Sizes: control texts are 12-pixel "宋体"; painted labels are a touch larger
# so that anti-aliased strokes stay readable.
LABEL = 13
SMALL = 12
HEADING = 14
WINDOW_TITLE = 15


def text(draw, xy, s, size=LABEL, fill=TEXT, anchor="lm"):
    """Draws `s`; by default (x, y) is the left end of its vertical middle."""
    draw.text(xy, s, font=font(size), fill=fill, anchor=anchor)


def text_width(s, size=LABEL):
    left, _, right, _ = font(size).getbbox(s)
    return right - left


def mix(a, b, t):
    """The colour t of the way from a to b."""
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))
