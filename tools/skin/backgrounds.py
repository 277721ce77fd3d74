"""The nine dialog backgrounds. Each is a rounded window on magenta (the
window region cuts the corners away), a caption strip that drags the window,
and the labels that belong next to the dialog's controls (see layout.py)."""
from PIL import Image, ImageChops, ImageDraw, ImageFilter

import app_icons
import layout as L
import skin_palette as P

RADIUS = 7


def _window(size, title, title_x=16):
    w, h = size
    mask = Image.new("L", size, 0)
    ImageDraw.Draw(mask).rounded_rectangle([0, 0, w - 1, h - 1], radius=RADIUS, fill=255)
    img = Image.new("RGB", size, P.MAGENTA)
    img.paste(P.BODY, (0, 0, w, h), mask)
    caption = Image.new("L", size, 0)
    ImageDraw.Draw(caption).rectangle([0, 0, w, L.CAPTION_HEIGHT - 1], fill=255)
    img.paste(P.CAPTION, (0, 0, w, h), ImageChops.multiply(mask, caption))
    # one-pixel edge: inside pixels that touch the outside or the image border
    padded = Image.new("L", (w + 2, h + 2), 0)
    padded.paste(mask, (1, 1))
    inner = padded.filter(ImageFilter.MinFilter(3)).crop((1, 1, w + 1, h + 1))
    img.paste(P.OUTLINE, (0, 0, w, h), ImageChops.subtract(mask, inner))
    d = ImageDraw.Draw(img)
    d.line([1, L.CAPTION_HEIGHT, w - 2, L.CAPTION_HEIGHT], fill=P.mix(P.BODY, P.OUTLINE, 0.35))
    if title:
        P.text(d, (title_x, 15), title, size=P.WINDOW_TITLE, fill=P.TITLE)
    return img, d


def _right_label(d, right, mid_y, s, size=P.LABEL, fill=P.MUTED):
    P.text(d, (right, mid_y), s, size=size, fill=fill, anchor="rm")


# The field names of the larger dialogs stand in one column at the left,
# clear of the option buttons (x 50 and more).
FIELD_COLUMN = 16


def _field_label(d, mid_y, s):
    P.text(d, (FIELD_COLUMN, mid_y), s, size=P.LABEL, fill=P.MUTED)


def _mid(rect):
    return (rect[1] + rect[3]) / 2


def _rule(d, y, x0, x1):
    d.line([x0, y, x1, y], fill=P.RULE)


def _paste_icon(img, icon, xy):
    img.paste(icon.convert("RGB"), xy, icon.getchannel("A"))


def _glyph_layer(size, draw_fn, ss=4):
    layer = Image.new("RGBA", (size[0] * ss, size[1] * ss), (0, 0, 0, 0))
    draw_fn(ImageDraw.Draw(layer), ss)
    return layer.reduce(ss)


def main_window():
    m = L.MAIN
    img, d = _window((641, 481), "Tallyo-Quillo软件系列", title_x=54)
    _paste_icon(img, app_icons.art(16), (30, 7))
    # the grid's well
    g = m["grid"]
    d.rectangle([g[0] - 1, g[1] - 1, g[2], g[3]], outline=P.OUTLINE)
    # note, with its heading
    n = m["note"]
    d.rectangle([n[0], n[1] - 20, n[0] + 2, n[1] - 8], fill=P.ACCENT)
    P.text(d, (n[0] + 8, n[1] - 14), "我的便签", size=P.LABEL, fill=P.TEXT)
    # view choice
    _right_label(d, m["date"][0] - 7, _mid(m["date"]), "查看日期")
    _right_label(d, m["selector"][0] - 7, _mid(m["selector"]) + 1, "显示内容")
    # ticker and bottom bar
    t = m["ticker"]
    d.rectangle([t[0], t[1], t[2] - 1, t[3] - 1], fill=P.TICKER)
    # the bottom bar, inside the window's edge; the picture buttons sit on it
    bar = Image.new("L", img.size, 0)
    ImageDraw.Draw(bar).rectangle([1, t[3], 639, 479], fill=255)
    inside = Image.new("L", img.size, 0)
    ImageDraw.Draw(inside).rounded_rectangle([1, 1, 639, 479], radius=RADIUS - 1, fill=255)
    img.paste(P.CAPTION, (0, 0, 641, 481), ImageChops.multiply(bar, inside))
    _paste_icon(img, app_icons.art(32), (20, 436))
    P.text(d, (62, 447), "Tallyo", size=22, fill=P.TITLE)
    P.text(d, (62, 468), "记事 · 提醒 · 不遗忘", size=P.SMALL, fill=P.MUTED)
    return img


def about_box():
    a = L.ABOUT
    img, d = _window((276, 169), "关于 Tallyo")
    _paste_icon(img, app_icons.art(48), (30, 45))
    v = a["version"]
    P.text(d, (v[0], v[3] + 15), "个人事件记录与定时提醒", size=P.SMALL, fill=P.TEXT)
    P.text(d, (v[0], v[3] + 36), "Quillo 软件系列", size=P.SMALL, fill=P.MUTED)
    _rule(d, 121, 18, 258)
    return img


def confirm_box():
    c = L.CONFIRM
    img, d = _window((276, 169), "提示")

    def question(g, ss):
        cx, cy, r = 40 * ss, _mid(c["text"]) * ss, 15 * ss
        g.ellipse([cx - r, cy - r, cx + r, cy + r], fill=P.ACCENT + (255,))
    layer = _glyph_layer((276, 169), question)
    img.paste(layer.convert("RGB"), (0, 0), layer.getchannel("A"))
    P.text(d, (40, _mid(c["text"]) + 1), "?", size=22, fill=(38, 40, 40), anchor="mm")
    _rule(d, 121, 18, 258)
    return img


def find_box():
    f = L.FIND
    img, d = _window((276, 169), "查找事件")
    k = f["keyword"]
    _right_label(d, k[0] - 8, _mid(k), "关键字", fill=P.TEXT)
    P.text(d, (k[0], k[3] + 16), "在标题和内容中查找", size=P.SMALL, fill=P.MUTED)
    _rule(d, 121, 18, 258)
    return img


def editor(title):
    e = L.EDITOR
    img, d = _window((394, 348), title)
    _field_label(d, _mid(e["title"]), "标题")
    _rule(d, 112, 20, 374)
    _field_label(d, _mid(e["no_remind"]), "提醒")
    P.text(d, (e["no_remind"][2] + 6, _mid(e["no_remind"])), "不提醒")
    P.text(d, (e["remind_at"][2] + 6, _mid(e["remind_at"])), "在", size=P.SMALL)
    P.text(d, (e["time"][2] + 6, _mid(e["remind_at"])), "提醒")
    P.text(d, (e["remind_after"][2] + 6, _mid(e["remind_after"])), "在", size=P.SMALL)
    P.text(d, (e["minutes"][2] + 6, _mid(e["minutes"])), "分钟后提醒")
    P.text(d, (e["no_remind"][0], _mid(e["repeat"])), "重复")
    _rule(d, 227, 20, 374)
    _field_label(d, e["body"][1] + 8, "内容")
    return img


def reminder():
    r = L.REMINDER
    img, d = _window((394, 349), "事情提醒")
    P.text(d, (r["title"][0], 48), "有一件事情到时间了", size=P.SMALL, fill=P.MUTED)
    t = r["title"]
    d.rounded_rectangle([t[0] - 6, t[1] - 5, t[2] + 6, t[3] + 5], radius=5, outline=P.RULE)

    def bell(g, ss):
        cx, cy = 40 * ss, 92 * ss
        g.pieslice([cx - 13 * ss, cy - 16 * ss, cx + 13 * ss, cy + 10 * ss], 180, 360, fill=P.ACCENT + (255,))
        g.rectangle([cx - 13 * ss, cy - 3 * ss, cx + 13 * ss, cy + 8 * ss], fill=P.ACCENT + (255,))
        g.rounded_rectangle([cx - 17 * ss, cy + 6 * ss, cx + 17 * ss, cy + 10 * ss], radius=2 * ss,
                            fill=P.ACCENT + (255,))
        g.ellipse([cx - 4 * ss, cy + 10 * ss, cx + 4 * ss, cy + 17 * ss], fill=P.ACCENT + (255,))
        g.ellipse([cx - 3 * ss, cy - 21 * ss, cx + 3 * ss, cy - 15 * ss], fill=P.ACCENT + (255,))
    layer = _glyph_layer((394, 349), bell)
    img.paste(layer.convert("RGB"), (0, 0), layer.getchannel("A"))
    _rule(d, 135, 20, 374)
    _field_label(d, _mid(r["done"]), "处理")
    P.text(d, (r["done"][2] + 6, _mid(r["done"])), "我知道了，不用再提醒我了")
    P.text(d, (r["at"][2] + 5, _mid(r["at"])), "请在", size=P.SMALL)
    P.text(d, (r["time"][2] + 6, _mid(r["at"])), "再提醒我")
    P.text(d, (r["after"][2] + 5, _mid(r["after"])), "请在", size=P.SMALL)
    P.text(d, (r["minutes"][2] + 6, _mid(r["minutes"])), "分钟后再提醒我")
    _rule(d, 228, 20, 374)
    _field_label(d, r["body"][1] + 8, "内容")
    return img


def settings():
    s = L.SETTINGS
    img, d = _window((394, 349), "设置")

    def item(key, label, size=P.LABEL):
        rect = s[key]
        P.text(d, (rect[0] + 19, _mid(rect)), label, size=size)

    _field_label(d, _mid(s["autorun"]), "常规")
    item("autorun", "开机自动运行")
    item("tray", "点击关闭按钮时将程序最小化到托盘区")
    _field_label(d, _mid(s["tip_popup"]), "提醒")
    item("tip_popup", "弹出提示框提醒")
    item("tip_flash", "闪动托盘区图标提醒")
    _field_label(d, _mid(s["play_sound"]), "声音")
    item("play_sound", "播放提示音")
    item("beep", "蜂鸣声")
    item("sound_file_choice", "指定声音文件", size=P.SMALL)
    _rule(d, 196, 20, 374)
    _field_label(d, s["mark"][1] + 8, "便签")
    P.text(d, (s["mark"][0], 207), "显示在主窗口的便签文字", size=P.SMALL, fill=P.MUTED)
    return img


def import_box():
    i = L.IMPORT
    img, d = _window((394, 250), "导入日历")

    def calendar(g, ss):
        x0, y0, x1, y1 = 24 * ss, 52 * ss, 56 * ss, 84 * ss
        g.rounded_rectangle([x0, y0, x1, y1], radius=4 * ss, fill=P.TEXT + (255,))
        g.rounded_rectangle([x0, y0, x1, y0 + 9 * ss], radius=4 * ss, fill=P.ACCENT + (255,))
        g.rectangle([x0, y0 + 5 * ss, x1, y0 + 9 * ss], fill=P.ACCENT + (255,))
        for rx in (31, 49):  # the rings
            g.rounded_rectangle([rx * ss - ss, y0 - 3 * ss, rx * ss + ss, y0 + 3 * ss], radius=ss,
                                fill=P.CAPTION + (255,))
        # the arrow into the page
        cx = 40 * ss
        g.rectangle([cx - 2 * ss, y0 + 12 * ss, cx + 2 * ss, y0 + 20 * ss], fill=P.BODY + (255,))
        g.polygon([(cx - 7 * ss, y0 + 19 * ss), (cx + 7 * ss, y0 + 19 * ss), (cx, y0 + 27 * ss)],
                  fill=P.BODY + (255,))
    layer = _glyph_layer((394, 250), calendar)
    img.paste(layer.convert("RGB"), (0, 0), layer.getchannel("A"))
    _rule(d, 203, 18, 376)
    return img


def sync_box():
    s = L.SYNC
    img, d = _window((394, 349), "日历同步")
    _field_label(d, _mid(s["address"]), "地址")
    P.text(d, (s["address"][0], s["address"][1] - 11), "日历服务器、账户或日历的网址", size=P.SMALL, fill=P.MUTED)
    _field_label(d, _mid(s["user"]), "用户")
    _field_label(d, _mid(s["password"]), "密码")
    _rule(d, 134, 20, 374)
    _field_label(d, _mid(s["calendar"]), "日历")
    _rule(d, 202, 20, 374)
    _field_label(d, _mid(s["enabled"]), "同步")
    P.text(d, (s["enabled"][2] + 7, _mid(s["enabled"])), "开启自动同步")
    P.text(d, (s["enabled"][0], _mid(s["interval"])), "每")
    P.text(d, (s["interval"][2] + 6, _mid(s["interval"])), "分钟同步一次")
    _rule(d, 258, 20, 374)
    _field_label(d, s["result"][1] + 7, "状态")
    return img
