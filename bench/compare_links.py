#!/usr/bin/python3
"""Compares the links of a drawing saved by cadhost with the links a plan is meant to have
(the OUTPUT.links.csv of gen_floorplan.py --linked).

A room's link is read the way the module files it: the polyline's extension dictionary
(group 360 after {ACAD_XDICTIONARY) holds the entry ZORVIK, a PLINENOTIFYOBJECT whose group
330 (after its subclass marker) names the attribute.

usage: compare_links.py LINKED.dxf EXPECTED.links.csv
Prints `expected=N linked=N equal=N differ=N`; exit status 1 when any differs."""
import sys


def records(path):
    """Every record of the file as (type, [(code, value)...]), all sections."""
    with open(path, "r", encoding="cp1252", errors="replace") as f:
        lines = f.read().split("\n")
    current, tags = None, []
    for i in range(0, len(lines) - 1, 2):
        code, value = lines[i].strip(), lines[i + 1].strip()
        if code == "0":
            if current is not None:
                yield current, tags
            current, tags = value, []
        else:
            tags.append((code, value))
    if current is not None:
        yield current, tags


def links(path):
    handles = {}
    for kind, tags in records(path):
        h = next((v for c, v in tags if c == "5"), None)
        if h is not None:
            handles[h] = (kind, tags)
    out = {}
    for h, (kind, tags) in handles.items():
        if kind != "LWPOLYLINE":
            continue
        xdict = None
        for k, (c, v) in enumerate(tags):
            if c == "102" and v == "{ACAD_XDICTIONARY":
                xdict = tags[k + 1][1]
        if xdict is None or xdict not in handles:
            continue
        dtags = handles[xdict][1]
        link = None
        for k, (c, v) in enumerate(dtags):
            if c == "3" and v == "ZORVIK" and k + 1 < len(dtags):
                link = dtags[k + 1][1]
        if link is None or link not in handles:
            continue
        ltags = handles[link][1]
        marker = [k for k, (c, v) in enumerate(ltags) if c == "100" and v == "PlineNotifyObject"]
        if marker:
            attrib = [v for c, v in ltags[marker[0]:] if c == "330"]
            if attrib:
                out[h] = attrib[-1]
    return out


def main():
    got = links(sys.argv[1])
    expected = {}
    with open(sys.argv[2]) as f:
        for line in f:
            room, attrib = line.strip().split(",")
            expected[room] = attrib
    differ = [r for r in expected if got.get(r) != expected[r]] + [r for r in got if r not in expected]
    print("expected=%d linked=%d equal=%d differ=%d" % (len(expected), len(got), len(expected) - len([r for r in expected if got.get(r) != expected[r]]), len(differ)))
    for r in differ[:5]:
        print("  room %s: %r vs %r" % (r, got.get(r), expected.get(r)), file=sys.stderr)
    return 1 if differ else 0


if __name__ == "__main__":
    sys.exit(main())
