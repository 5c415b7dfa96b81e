#!/usr/bin/python3
"""The peer of `cadhost plan.dxf -l zorvik.arx -c "ZORVIK;Update" -o out.dxf`, written with ezdxf.

Reads the drawing, finds every linked polyline of model space and paper space through its
extension dictionary entry "ZORVIK" (the link object, whose group 330 names the attribute),
computes the polyline's exact area (shoelace plus the circular segment of every bulged edge; an
open polyline is closed by a straight edge), writes the attribute text with the settings' divisor
and precision and the field length (group 73) equal to the text length, and saves.

usage: ezdxf_job.py IN.dxf OUT.dxf [--divisor D] [--prec P]
Prints `load_s=... update_s=... save_s=... updated=N maxrss_kb=...` on one line.
"""
import argparse
import math
import resource
import time

import ezdxf


def area(points, closed_bulges):
    """Exact enclosed area of a lightweight polyline given as (x, y, bulge) vertices."""
    n = len(points)
    if n < 2:
        return 0.0
    twice = 0.0
    segments = 0.0
    for i in range(n):
        x1, y1, b = points[i]
        x2, y2, _ = points[(i + 1) % n]
        twice += x1 * y2 - x2 * y1
        if b and (i < n - 1 or closed_bulges):
            chord = math.hypot(x2 - x1, y2 - y1)
            theta = 4.0 * math.atan(abs(b))
            radius = chord * (1.0 + b * b) / (4.0 * abs(b))
            seg = 0.5 * radius * radius * (theta - math.sin(theta))
            segments += seg if b > 0 else -seg
    return abs(twice / 2.0 + segments)


def link_target(doc, pline):
    """Handle of the attribute the polyline's link names, or None."""
    if not pline.has_extension_dict:
        return None
    xdict = pline.get_extension_dict()
    link = xdict.get("ZORVIK")
    if link is None:
        return None
    # An unknown class: ezdxf keeps its tags; the attribute is group 330 of subclass
    # "PlineNotifyObject" (the first 330 of the record is the owner).
    for subclass in link.xtags.subclasses:
        if subclass and subclass[0].value == "PlineNotifyObject":
            handles = [t.value for t in subclass if t.code == 330]
            return handles[-1] if handles else None
    return None


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("input")
    ap.add_argument("output")
    ap.add_argument("--divisor", type=float, default=1.0)
    ap.add_argument("--prec", type=int, default=2)
    args = ap.parse_args()

    t0 = time.perf_counter()
    doc = ezdxf.readfile(args.input)
    t1 = time.perf_counter()
    fmt = "%%.%df" % args.prec
    updated = 0
    # Model space and the active paper space (*Paper_Space), as Update scans them.
    for layout in (doc.modelspace(), doc.layouts.active_layout()):
        for pline in layout.query("LWPOLYLINE"):
            handle = link_target(doc, pline)
            if handle is None:
                continue
            attrib = doc.entitydb.get(handle)
            if attrib is None or attrib.dxftype() != "ATTRIB" or not attrib.is_alive:
                continue
            value = area([(p[0], p[1], p[4]) for p in pline.get_points("xyseb")], pline.closed)
            if args.divisor > 0.00001:
                value /= args.divisor
            text = fmt % value
            attrib.dxf.text = text
            attrib.dxf.field_length = len(text)
            updated += 1
    t2 = time.perf_counter()
    doc.saveas(args.output)
    t3 = time.perf_counter()
    rss = resource.getrusage(resource.RUSAGE_SELF).ru_maxrss
    print("load_s=%.3f update_s=%.3f save_s=%.3f updated=%d maxrss_kb=%d" % (t1 - t0, t2 - t1, t3 - t2, updated, rss))


if __name__ == "__main__":
    main()
