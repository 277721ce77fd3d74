"""The program's icons: a teal tile with a note card, amber header and check."""
from PIL import Image, ImageDraw

import skin_palette as P


def _small_art(size):
    """The 16 and 24 pixel sizes: fewer, bolder parts so the card and the
    check still read at that size."""
    ss = 8
    s = size * ss
    img = Image.new("RGBA", (s, s), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    d.rounded_rectangle([0, 0, s - 1, s - 1], radius=s * 0.18, fill=(38, 96, 94, 255))
    cl, ct, cr, cb = s * 0.14, s * 0.16, s * 0.86, s * 0.88
    d.rounded_rectangle([cl, ct, cr, cb], radius=s * 0.06, fill=(250, 251, 250, 255))
    d.rectangle([cl, ct, cr, ct + s * 0.2], fill=P.ACCENT + (255,))
    w = max(int(s * 0.13), 1)
    d.line([(s * 0.28, s * 0.58), (s * 0.44, s * 0.74), (s * 0.74, s * 0.44)], fill=(30, 96, 92, 255),
           width=w, joint="curve")
    return img.reduce(ss)


def art(size):
    """RGBA artwork at `size` pixels, drawn at 8x and reduced."""
    if size <= 24:
        return _small_art(size)
    ss = 8
    s = size * ss
    img = Image.new("RGBA", (s, s), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    m = s * 0.04
    d.rounded_rectangle([m, m, s - m, s - m], radius=s * 0.2, fill=(38, 96, 94, 255))
    d.rounded_rectangle([m, m, s - m, s * 0.55], radius=s * 0.2, fill=(50, 116, 113, 255))
    d.rectangle([m, s * 0.35, s - m, s * 0.55], fill=(38, 96, 94, 255))
    # the card
    cl, ct, cr, cb = s * 0.2, s * 0.24, s * 0.8, s * 0.84
    d.rounded_rectangle([cl, ct, cr, cb], radius=s * 0.07, fill=(250, 251, 250, 255))
    d.rounded_rectangle([cl, ct, cr, ct + s * 0.17], radius=s * 0.07, fill=P.ACCENT + (255,))
    d.rectangle([cl, ct + s * 0.09, cr, ct + s * 0.17], fill=P.ACCENT + (255,))
    for x in (0.36, 0.64):
        d.rounded_rectangle([s * (x - 0.035), s * 0.16, s * (x + 0.035), s * 0.31], radius=s * 0.03,
                            fill=(24, 52, 52, 255))
    # the check mark
    w = max(int(s * 0.075), 1)
    d.line([(s * 0.34, s * 0.6), (s * 0.46, s * 0.72), (s * 0.68, s * 0.48)], fill=(38, 110, 106, 255),
           width=w, joint="curve")
    return img.reduce(ss)


def main_icon_images():
    return [art(n) for n in (48, 32, 24, 16)]


def tray_classic_16():
    """16 x 16 in the 16 standard colours, drawn pixel by pixel."""
    img = Image.new("RGBA", (16, 16), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    teal, white, yellow, dark = (0, 128, 128, 255), (255, 255, 255, 255), (255, 255, 0, 255), (0, 0, 0, 255)
    d.rounded_rectangle([0, 0, 15, 15], radius=3, fill=teal)
    d.rectangle([3, 4, 12, 13], fill=white)
    d.rectangle([3, 4, 12, 6], fill=yellow)
    d.point([(5, 3), (10, 3)], fill=dark)
    d.line([(5, 9), (7, 11), (10, 8)], fill=teal, width=1)
    d.line([(5, 10), (7, 12), (10, 9)], fill=teal, width=1)
    return img


def flash_art(size):
    """The other half of a tray flash: the tile in amber with a white card and
    a teal header. Opaque on purpose: a notification area that does not erase
    behind an icon (Wine's) would keep showing the main icon under a
    transparent one, and the flash would never be seen."""
    ss = 8
    s = size * ss
    img = Image.new("RGBA", (s, s), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    d.rounded_rectangle([0, 0, s - 1, s - 1], radius=s * 0.18, fill=P.ACCENT + (255,))
    cl, ct, cr, cb = s * 0.14, s * 0.16, s * 0.86, s * 0.88
    d.rounded_rectangle([cl, ct, cr, cb], radius=s * 0.06, fill=(255, 255, 255, 255))
    d.rectangle([cl, ct, cr, ct + s * 0.2], fill=(38, 96, 94, 255))
    # an exclamation mark: something is due
    w = s * 0.09
    d.rounded_rectangle([s * 0.5 - w / 2, s * 0.43, s * 0.5 + w / 2, s * 0.68], radius=w / 2,
                        fill=P.ACCENT_DARK + (255,))
    d.ellipse([s * 0.5 - w / 2, s * 0.73, s * 0.5 + w / 2, s * 0.73 + w], fill=P.ACCENT_DARK + (255,))
    return img.reduce(ss)
