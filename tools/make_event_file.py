#!/usr/bin/env python3
"""Writes an event.dat of N made-up events for measuring the store and tallyo-cli.

Titles of 2 to 6 words, bodies of 5 to 25 (in lines of a few words, joined by
CR LF), about a third of the events reminders, words mixed Latin and Chinese.
The same N and seed always give the same bytes. The archive is written here
directly, not by Tallyo, so the measured program reads a file it did not make.

usage: make_event_file.py N OUTPUT [SEED]
"""
import random
import struct
import sys

LATIN = (
    "call meeting report dentist bill project review budget team lead supplier invoice "
    "ticket train flight hotel parcel doctor school lunch dinner friday monday weekend "
    "release test figures plan draft contract insurance renew password backup server "
    "garden car service birthday gift mother father library book return payment order"
).split()
CHINESE = [
    w.encode("gbk")
    for w in (
        "开会 项目 进度 报告 妈妈 电话 医生 预约 账单 缴费 周末 会议室 文档 提醒 "
        "朋友 生日 礼物 火车 机票 酒店 快递 学校 午饭 晚饭 合同 保险 续费 密码 "
        "备份 服务器 花园 汽车 保养 图书馆 还书 付款 订单 测试 发布 计划 草稿"
    ).split()
]


def word(rng):
    # Mixed: a little over half the words Latin, the rest Chinese.
    if rng.random() < 0.55:
        w = rng.choice(LATIN).encode("ascii")
        return w.capitalize() if rng.random() < 0.2 else w
    return rng.choice(CHINESE)


def words(rng, lo, hi):
    return [word(rng) for _ in range(rng.randint(lo, hi))]


def title(rng):
    return b" ".join(words(rng, 2, 6))


def body(rng):
    ws = words(rng, 5, 25)
    lines, line = [], []
    for w in ws:
        line.append(w)
        if len(line) >= rng.randint(4, 12):
            lines.append(b" ".join(line))
            line = []
    if line:
        lines.append(b" ".join(line))
    return b"\r\n".join(lines)


def text(data):
    n = len(data)
    if n <= 254:
        head = struct.pack("<B", n)
    elif n <= 65533:
        head = struct.pack("<BH", 0xFF, n)
    else:
        head = struct.pack("<BHI", 0xFF, 0xFFFF, n)
    return head + data


def archive(n, seed):
    rng = random.Random(seed)
    out = [struct.pack("<H", n) if n < 0xFFFF else struct.pack("<HI", 0xFFFF, n)]
    t = 1600000000
    for i in range(n):
        t += rng.randint(0, 3000)
        remind = 1 if rng.random() < 1 / 3 else 0
        when = t + rng.randint(0, 30 * 86400) if remind else 0
        out.append(b"\xff\xff\x01\x00\x08\x00CMyEvent" if i == 0 else b"\x01\x80")
        out.append(text(title(rng)))
        out.append(struct.pack("<i", t))
        out.append(text(body(rng)))
        out.append(struct.pack("<ii", remind, when))
    return b"".join(out)


def main():
    if len(sys.argv) not in (3, 4):
        sys.exit(__doc__)
    n = int(sys.argv[1])
    seed = int(sys.argv[3]) if len(sys.argv) == 4 else n
    with open(sys.argv[2], "wb") as f:
        f.write(archive(n, seed))


if __name__ == "__main__":
    main()
