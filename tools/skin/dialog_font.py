#!/usr/bin/python3
"""Makes "Tallyo Dialog Hei": WenQuanYi Micro Hei with the metrics of 9-point
"宋体" (SimSun), for Wine prefixes.

Dialog templates are laid out in dialog units, whose size comes from the
template font: "宋体" 9 gives base units of 6 x 12 on Windows, so one unit is
1.5 pixels, and the skins and the pixel positions of the dialogs rely on that.
Wine has no SimSun; mapped to WenQuanYi Micro Hei (taller line, wider Latin
letters) the same templates come out 1.75 pixels a unit, and the main
window's grid no longer fits its window. This font keeps WenQuanYi's glyphs
but gives it SimSun's line height (ascent 220/256, descent 36/256 of the em)
and narrows the Latin letters by a tenth, which yields base units of 6 x 12
under Wine too (measured with MapDialogRect under Wine 8).

Usage: /usr/bin/python3 tools/skin/dialog_font.py OUTPUT.ttf
Needs Debian's python3-fonttools. Takes about a minute.
Install it into a prefix: copy it to drive_c/windows/Fonts and substitute
"宋体", "SimSun" and "NSimSun" with "Tallyo Dialog Hei".
"""
import sys

from fontTools.ttLib import TTCollection

SOURCE = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"
FAMILY = "Tallyo Dialog Hei"
LATIN_SCALE = 0.9


def main(output):
    font = TTCollection(SOURCE).fonts[0]
    upm = font["head"].unitsPerEm
    glyf, hmtx = font["glyf"], font["hmtx"]
    # Narrow every glyph that is not full width (Latin, digits, punctuation).
    for name in font.getGlyphOrder():
        advance, _ = hmtx[name]
        if advance == 0 or advance >= upm * 0.75:
            continue
        glyph = glyf[name]
        if glyph.isComposite():
            for component in glyph.components:
                component.x = round(component.x * LATIN_SCALE)
        elif glyph.numberOfContours > 0:
            glyph.coordinates.scale((LATIN_SCALE, 1))
            glyph.coordinates.toInt()
        glyph.recalcBounds(glyf)
        hmtx[name] = (round(advance * LATIN_SCALE), getattr(glyph, "xMin", 0))
    # SimSun's line: ascent + descent = one em, no line gap.
    ascent, descent = round(upm * 220 / 256), round(upm * 36 / 256)
    os2, hhea = font["OS/2"], font["hhea"]
    os2.usWinAscent, os2.usWinDescent = ascent, descent
    os2.sTypoAscender, os2.sTypoDescender, os2.sTypoLineGap = ascent, -descent, 0
    hhea.ascent, hhea.descent, hhea.lineGap = ascent, -descent, 0
    os2.xAvgCharWidth = round(os2.xAvgCharWidth * LATIN_SCALE)
    hhea.advanceWidthMax = max(advance for advance, _ in hmtx.metrics.values())
    for record in font["name"].names:
        if record.nameID in (1, 4, 16, 18):
            record.string = FAMILY
        elif record.nameID == 6:
            record.string = FAMILY.replace(" ", "")
        elif record.nameID == 3:
            record.string = FAMILY + " Regular"
    font.save(output)


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    main(sys.argv[1])
