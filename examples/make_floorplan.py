#!/usr/bin/python3
"""Writes examples/floorplan.dxf, a small floor plan in millimetres, and the example scripts.

The plan has twelve rooms drawn as closed lightweight polylines (three with a curved bay
window), walls as lines, two round columns, and one room tag per room: an insert of the block
ROOMTAG with the attributes NAME and AREA. Rooms are separated by 200 mm walls, so a point just
inside a room's outline picks that room and no other.

Run with the system Python, which has ezdxf:  /usr/bin/python3 examples/make_floorplan.py
"""
import os
import sys

import ezdxf

HERE = os.path.dirname(os.path.abspath(__file__))
WALL = 200.0
TAG_W, TAG_H = 2000.0, 900.0

# name, x, y, width, depth, bulge of the outer (bottom or top) edge or 0
ROOMS = [
    ("Hall", 0, 0, 6000, 4000, 0.0),
    ("Kitchen", 6200, 0, 4000, 4000, 0.25),
    ("Dining", 10400, 0, 5000, 4000, 0.0),
    ("Living", 15600, 0, 7000, 4000, 0.3),
    ("Study", 0, 4200, 4000, 3600, 0.0),
    ("Bath", 4200, 4200, 2600, 3600, 0.0),
    ("Utility", 7000, 4200, 2400, 3600, 0.0),
    ("Corridor", 9600, 4200, 13000, 1600, 0.0),
    ("Bedroom 1", 9600, 6000, 4400, 3800, 0.0),
    ("Bedroom 2", 14200, 6000, 4200, 3800, 0.0),
    ("Bedroom 3", 18600, 6000, 4000, 3800, 0.2),
    ("Storage", 0, 8000, 9400, 1800, 0.0),
]


def room_outline(x, y, w, d, bulge):
    """Vertices (x, y, start width, end width, bulge) counter-clockwise from the lower left.

    A non-zero bulge curves the bottom edge (rooms of the lower row) or the top edge (upper
    row) outwards, like a bay window.
    """
    if bulge and y == 0:
        return [(x, y, 0, 0, bulge), (x + w, y, 0, 0, 0), (x + w, y + d, 0, 0, 0), (x, y + d, 0, 0, 0)]
    if bulge:
        return [(x, y, 0, 0, 0), (x + w, y, 0, 0, 0), (x + w, y + d, 0, 0, bulge), (x, y + d, 0, 0, 0)]
    return [(x, y, 0, 0, 0), (x + w, y, 0, 0, 0), (x + w, y + d, 0, 0, 0), (x, y + d, 0, 0, 0)]


def make_drawing(path):
    doc = ezdxf.new("R2000")
    doc.header["$INSUNITS"] = 4  # millimetres
    doc.layers.add("ROOMS", color=5)
    doc.layers.add("WALLS", color=7)
    doc.layers.add("TAGS", color=3)
    doc.layers.add("COLUMNS", color=1)

    tag = doc.blocks.new("ROOMTAG")
    tag.add_lwpolyline([(-TAG_W / 2, -TAG_H / 2), (TAG_W / 2, -TAG_H / 2), (TAG_W / 2, TAG_H / 2), (-TAG_W / 2, TAG_H / 2)],
                       close=True, dxfattribs={"layer": "0"})
    tag.add_attdef("NAME", (-TAG_W / 2 + 100, 80), dxfattribs={"height": 250, "prompt": "Room name"})
    tag.add_attdef("AREA", (-TAG_W / 2 + 100, -330), dxfattribs={"height": 250, "prompt": "Room area"})

    msp = doc.modelspace()
    picks = []
    for name, x, y, w, d, bulge in ROOMS:
        outline = msp.add_lwpolyline(room_outline(x, y, w, d, bulge), format="xyseb", close=True,
                                     dxfattribs={"layer": "ROOMS"})
        cx, cy = x + w / 2, y + d / 2
        ref = msp.add_blockref("ROOMTAG", (cx, cy), dxfattribs={"layer": "TAGS"})
        ref.add_auto_attribs({"NAME": name, "AREA": "?"})
        # A point 30 mm inside the room's lower left corner, and one on the tag's left frame edge.
        picks.append((name, outline.dxf.handle, (x + 30, y + 30), ref.dxf.handle, (cx - TAG_W / 2, cy + 300)))

    # Outer walls and two columns, so that the plan holds more than rooms.
    total_w, total_d = 22600, 9800
    for a, b in [((-WALL, -WALL), (total_w + WALL, -WALL)), ((total_w + WALL, -WALL), (total_w + WALL, total_d + WALL)),
                 ((total_w + WALL, total_d + WALL), (-WALL, total_d + WALL)), ((-WALL, total_d + WALL), (-WALL, -WALL))]:
        msp.add_line(a, b, dxfattribs={"layer": "WALLS"})
    msp.add_circle((10300, 4100), 150, dxfattribs={"layer": "COLUMNS"})
    msp.add_circle((15500, 4100), 150, dxfattribs={"layer": "COLUMNS"})
    doc.saveas(path)
    return picks


def write_scripts(picks):
    with open(os.path.join(HERE, "link-rooms.scr"), "w") as f:
        f.write("; Links every room outline to the AREA attribute of its room tag, then saves.\n")
        f.write("; Each room is picked by a point just inside its outline, the tag by a point on its frame;\n")
        f.write("; the attribute is chosen in the attribute picker (list box 2016).\n")
        for name, _, (px, py), _, (tx, ty) in picks:
            f.write(f"; {name}\nZORVIK\nCreate\n{px:g},{py:g}\n{tx:g},{ty:g}\n@select 2016 AREA\n@ok\n")
        f.write("LIST\n#%s\n\n" % picks[0][1])
    with open(os.path.join(HERE, "metric-areas.scr"), "w") as f:
        f.write("; The plan is drawn in millimetres: show the areas in square metres with one decimal.\n")
        f.write("; Options: divisor 1000000 (edit 2020), precision 1 (edit 2018), then Update.\n")
        f.write("ZORVIK\nOptions\n@text 2020 1000000\n@text 2018 1\n@ok\nZORVIK\nUpdate\n")


if __name__ == "__main__":
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "floorplan.dxf")
    write_scripts(make_drawing(out))
