#!/usr/bin/python3
"""Writes the script that links the rooms of a generated floor plan (bench/gen_floorplan.py):
for each room, `ZORVIK`, `Create`, `#<polyline handle>`, `#<tag handle>`, run by cadhost with
QuietMode on and Attname AREA. Every tenth room is left unlinked.

usage: link_script.py PLAN.dxf OUT.scr   (prints the number of links)"""
import sys

from dxf_scan import entities


def main():
    plines, tags = [], []
    for kind, g in entities(sys.argv[1]):
        if kind == "LWPOLYLINE" and g.get("8", [""])[0] == "ROOMS":
            plines.append(g["5"][0])
        elif kind == "INSERT" and g.get("2", [""])[0] == "ROOMTAG":
            tags.append(g["5"][0])
    links = 0
    with open(sys.argv[2], "w") as out:
        for i, (p, t) in enumerate(zip(plines, tags)):
            if i % 10 == 9:
                continue
            out.write("ZORVIK\nCreate\n#%s\n#%s\n" % (p, t))
            links += 1
    print(links)


if __name__ == "__main__":
    main()
