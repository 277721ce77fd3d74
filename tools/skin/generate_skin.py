#!/usr/bin/python3
"""Draws every skin bitmap and icon of Tallyo into res/skin.

Run with Debian's python3 and python3-pil (tools/setup.sh installs it):
    /usr/bin/python3 tools/skin/generate_skin.py [output folder]
The results are committed, so a build never needs this script.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import app_icons  # noqa: E402
import backgrounds  # noqa: E402
import widgets  # noqa: E402
from image_files import write_bmp24, write_ico  # noqa: E402

STATES = ("hover", "normal", "pressed")  # resource order: hover, normal, pressed


def bitmaps():
    """{resource number: RGB image}"""
    out = {
        135: backgrounds.main_window(),
        158: backgrounds.editor("增加事件"),
        164: backgrounds.editor("修改事件"),
        165: backgrounds.reminder(),
        166: backgrounds.about_box(),
        167: backgrounds.settings(),
        171: backgrounds.find_box(),
        175: backgrounds.confirm_box(),
        179: backgrounds.import_box(),
        183: backgrounds.sync_box(),
        162: widgets.radio_box(False),
        163: widgets.radio_box(True),
        168: widgets.check_box(True),
        169: widgets.check_box(False),
    }
    triples = {
        136: lambda s: widgets.caption_button("close", s),
        139: lambda s: widgets.caption_button("minimize", s),
        142: lambda s: widgets.picture_button("help", "帮助", s),
        145: lambda s: widgets.picture_button("home", "首页", s),
        148: lambda s: widgets.picture_button("about", "关于", s),
        151: lambda s: widgets.picture_button("settings", "设置", s),
        154: widgets.list_button,
        159: widgets.push_button,
        176: widgets.browse_button,
        180: lambda s: widgets.picture_button("import", "导入", s),
    }
    for first, draw in triples.items():
        for offset, state in enumerate(STATES):
            out[first + offset] = draw(state)
    return out


def icons():
    """{resource number: [(RGBA image, bits per pixel)]}"""
    main = app_icons.main_icon_images()  # 48, 32, 24, 16
    return {
        128: [(img, 8) for img in main],
        133: [(app_icons.flash_art(32), 32), (app_icons.flash_art(16), 32)],
        173: [(app_icons.tray_classic_16(), 4)],
        174: [(main[0], 32), (main[1], 32), (main[3], 32)],
    }


def main():
    root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    out_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "res", "skin")
    os.makedirs(out_dir, exist_ok=True)
    for number, image in sorted(bitmaps().items()):
        write_bmp24(image, os.path.join(out_dir, "bitmap_%d.bmp" % number))
    for number, images in sorted(icons().items()):
        write_ico(images, os.path.join(out_dir, "icon_%d.ico" % number))
    print("skin: wrote %d bitmaps and %d icons to %s" % (len(bitmaps()), len(icons()), out_dir))


if __name__ == "__main__":
    main()
