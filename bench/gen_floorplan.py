#!/usr/bin/python3
"""Writes a floor-plan drawing of N rooms with ezdxf, so that benchmark and interoperability
inputs come from other software.

Each room is a closed LWPOLYLINE with an arc edge, a ROOMTAG block reference with NAME and AREA
attributes, a HATCH filling the room, an MTEXT label; every fourth room also gets a rendered
linear DIMENSION (its anonymous block holds lines, points, arrows and text).

With --linked, also writes OUTPUT.links.csv: the links the plan is meant to have, one line
"room handle,AREA attribute handle" per room, for checking what a bulk link makes of it
(bench/compare_links.py).

usage: gen_floorplan.py ROOMS OUTPUT.dxf [--version R2000|R2004|R2007|R2010|R2013|R2018] [--linked]
"""
import argparse
import math

import ezdxf


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("rooms", type=int)
    ap.add_argument("output")
    ap.add_argument("--version", default="R2000")
    ap.add_argument("--linked", action="store_true", help="also write OUTPUT.links.csv")
    args = ap.parse_args()

    doc = ezdxf.new(args.version, setup=True)
    doc.layers.add("ROOMS", color=1)
    doc.layers.add("TAGS", color=3)
    doc.layers.add("HATCH", color=8)
    msp = doc.modelspace()
    tag = doc.blocks.new("ROOMTAG")
    tag.add_circle((0, 0), 0.6)
    tag.add_attdef("NAME", (0, 0.1), dxfattribs={"height": 0.25})
    tag.add_attdef("AREA", (0, -0.35), dxfattribs={"height": 0.25})

    links = []
    per_row = max(1, int(math.sqrt(args.rooms)))
    for i in range(args.rooms):
        x = (i % per_row) * 10.0
        y = (i // per_row) * 8.0
        w = 6.0 + (i % 7) * 0.25
        h = 5.0 + (i % 5) * 0.2
        bulge = 0.15 + (i % 3) * 0.1
        # (x, y, start width, end width, bulge): the right-hand edge bows outwards.
        pts = [(x, y, 0, 0, 0), (x + w, y, 0, 0, bulge), (x + w, y + h, 0, 0, 0), (x, y + h, 0, 0, 0)]
        room = msp.add_lwpolyline(pts, format="xyseb", close=True, dxfattribs={"layer": "ROOMS"})
        ref = msp.add_blockref("ROOMTAG", (x + w / 2, y + h / 2), dxfattribs={"layer": "TAGS"})
        ref.add_auto_attribs({"NAME": "Room %d" % (i + 1), "AREA": "%.2f" % (w * h)})
        links.append((room.dxf.handle, ref.get_attrib("AREA").dxf.handle))
        hatch = msp.add_hatch(color=8, dxfattribs={"layer": "HATCH"})
        hatch.paths.add_polyline_path([(p[0], p[1], p[4]) for p in pts], is_closed=True)
        msp.add_mtext("Room %d\\Pfloor %d" % (i + 1, 1 + i % 3),
                      dxfattribs={"insert": (x + 0.3, y + h - 0.3), "char_height": 0.3, "layer": "TAGS"})
        if i % 4 == 0:
            dim = msp.add_linear_dim(base=(x, y - 0.8), p1=(x, y), p2=(x + w, y))
            dim.render()
    doc.saveas(args.output)
    if args.linked:
        base = args.output[:-4] if args.output.lower().endswith(".dxf") else args.output
        with open(base + ".links.csv", "w") as out:
            for room, attrib in links:
                out.write("%s,%s\n" % (room, attrib))


if __name__ == "__main__":
    main()
