#!/usr/bin/env python3
"""Checks what the writer scripts left in a folder: every add that exited 0
(its printed creation time, one a line in the given files) must be in
event.dat with its rule. Reads `tallyo-cli list --all --with-created` from
standard input (the rule is the column before the last).

usage: tallyo-cli --dir D list --all --with-created | writers_check.py OK_FILE...
Prints: adds N, lost N, rule-less N; exits 1 when anything is lost or rule-less.
"""
import sys


def main():
    rules = {}
    for n, line in enumerate(sys.stdin):
        if n == 0:
            continue
        cells = line.rstrip("\n").split("\t")
        rules[cells[-1]] = cells[-2]
    adds = lost = ruleless = 0
    for name in sys.argv[1:]:
        with open(name) as f:
            for created in f.read().split():
                adds += 1
                if created not in rules:
                    lost += 1
                elif not rules[created]:
                    ruleless += 1
    print(f"adds {adds}, lost {lost}, rule-less {ruleless}")
    return 1 if lost or ruleless else 0


if __name__ == "__main__":
    sys.exit(main())
