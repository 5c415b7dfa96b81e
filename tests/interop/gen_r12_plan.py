#!/usr/bin/python3
"""Writes an R12 (AC1009) floor plan with ezdxf, the way many programs still export plans:
rooms as closed 2D POLYLINEs (4000 x 3000, the right side an arc of bulge 0.5, at elevation 25),
a tag block ROOMTAG with NAME and AREA attributes referenced once per room just inside it, one
room with widths (start 10, end 20 on every vertex), and a 3D polyline.

usage: gen_r12_plan.py OUT [--rooms N] [--no-handles]
  --no-handles  writes the drawing without handles ($HANDLING 0), as R12 allowed
"""
import argparse

import ezdxf


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("out")
    ap.add_argument("--rooms", type=int, default=3)
    ap.add_argument("--no-handles", action="store_true")
    a = ap.parse_args()
    doc = ezdxf.new("R12")
    msp = doc.modelspace()
    doc.layers.new("ROOMS")
    tag = doc.blocks.new("ROOMTAG")
    tag.add_attdef("NAME", (0, 0), dxfattribs={"height": 100})
    tag.add_attdef("AREA", (0, -200), dxfattribs={"height": 100})
    for i in range(a.rooms):
        x = i * 5000
        w = (10, 20) if i == a.rooms - 1 else (0, 0)
        points = [(x, 0, w[0], w[1], 0), (x + 4000, 0, w[0], w[1], 0.5), (x + 4000, 3000, w[0], w[1], 0),
                  (x, 3000, w[0], w[1], 0)]
        msp.add_polyline2d(points, format="xyseb", close=True, dxfattribs={"layer": "ROOMS", "elevation": (0, 0, 25)})
        ref = msp.add_blockref("ROOMTAG", (x + 500, 1500))
        ref.add_auto_attribs({"NAME": "Room %d" % (i + 1), "AREA": "0"})
    msp.add_polyline3d([(0, 0, 0), (1, 1, 1), (2, 0, 3)])
    doc.saveas(a.out)
    if a.no_handles:
        with open(a.out, encoding="cp1252") as f:
            lines = f.read().splitlines()
        out, i = [], 0
        while i + 1 < len(lines):
            code, value = lines[i].strip(), lines[i + 1]
            if code == "5" and out and out[-1] != "$HANDSEED":
                i += 2
                continue
            out += [lines[i], value]
            if value == "$HANDLING":
                out += [lines[i + 2], "0"]
                i += 4
                continue
            i += 2
        with open(a.out, "w", encoding="cp1252", newline="\n") as f:
            f.write("\n".join(out) + "\n")


if __name__ == "__main__":
    main()
