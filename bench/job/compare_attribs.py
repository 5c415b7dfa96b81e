#!/usr/bin/python3
"""Compares the attributes of two drawings by handle: text (group 1) and field length (group 73).
With a third drawing (the input of both jobs), also counts the attributes the jobs changed.

usage: compare_attribs.py A.dxf B.dxf [INPUT.dxf]
Prints `attribs=N equal=N differ=N changed=N`; exit status 1 when any differs."""
import sys

from dxf_scan import entities


def attribs(path):
    out = {}
    for kind, g in entities(path):
        if kind == "ATTRIB":
            out[g["5"][0]] = (g.get("1", [""])[0], g.get("73", ["0"])[0].strip())
    return out


def main():
    a, b = attribs(sys.argv[1]), attribs(sys.argv[2])
    differ = [h for h in a if a[h] != b.get(h)] + [h for h in b if h not in a]
    changed = 0
    if len(sys.argv) > 3:
        before = attribs(sys.argv[3])
        changed = sum(1 for h in a if before.get(h, (None,))[0] != a[h][0])
    print("attribs=%d equal=%d differ=%d changed=%d" % (len(a), len(a) - len(differ), len(differ), changed))
    for h in differ[:5]:
        print("  %s: %r vs %r" % (h, a.get(h), b.get(h)), file=sys.stderr)
    return 1 if differ else 0


if __name__ == "__main__":
    sys.exit(main())
