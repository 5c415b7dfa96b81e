#!/usr/bin/python3
"""Compares a drawing of an older release (R12 to R14) with the R2000 drawing saved from it, as
ezdxf reads both, one fact a line:

  version V               $ACADVER of the saved drawing
  audit_errors N          errors ezdxf's audit finds in the saved drawing
  audit_error MESSAGE     each of them
  expected TYPE N         model-space entities of the original by type, a 2D polyline counted
                          as a lightweight one (unless it is curve- or spline-fit)
  saved TYPE N            model-space entities of the saved drawing by type
  lwpolyline H N CLOSED ELEVATION WIDTHS BULGES   each lightweight polyline of the saved drawing
  blocks N M              blocks the original defines (spaces excluded), and how many of them
                          the saved drawing defines

usage: ezdxf_older_check.py ORIGINAL SAVED
Exits 2 when ezdxf cannot read one of them.
"""
import collections
import sys

import ezdxf


def expected_counts(doc):
    counts = collections.Counter()
    for e in doc.modelspace():
        t = e.dxftype()
        if t == "POLYLINE" and e.is_2d_polyline and not (e.dxf.flags & 6):
            t = "LWPOLYLINE"
        counts[t] += 1
    return counts


SPACES = ("*model_space", "*paper_space", "$model_space", "$paper_space")


def defined_blocks(path):
    """The names of the blocks a file defines (ezdxf adds arrow blocks when it reads an older
    drawing, so its block list is not the file's)."""
    with open(path, "rb") as f:
        lines = f.read().decode("cp1252").splitlines()
    names, in_block = set(), False
    for i in range(0, len(lines) - 1, 2):
        code, value = lines[i].strip(), lines[i + 1]
        if code == "0":
            in_block = value.strip() == "BLOCK"
        elif code == "2" and in_block:
            if value.lower() not in SPACES:
                names.add(value)
            in_block = False
    return names


def main():
    try:
        original = ezdxf.readfile(sys.argv[1])
        saved = ezdxf.readfile(sys.argv[2])
    except Exception as e:  # noqa: BLE001 - any refusal is the answer
        print("read_error %s" % str(e).replace("\n", " "))
        sys.exit(2)
    print("version %s" % saved.dxfversion)
    auditor = saved.audit()
    print("audit_errors %d" % len(auditor.errors))
    for err in auditor.errors:
        print("audit_error %s" % str(err.message).replace("\n", " "))
    for t, n in sorted(expected_counts(original).items()):
        print("expected %s %d" % (t, n))
    for t, n in sorted(collections.Counter(e.dxftype() for e in saved.modelspace()).items()):
        print("saved %s %d" % (t, n))
    for e in saved.modelspace().query("LWPOLYLINE"):
        pts = e.get_points("xyseb")
        widths = ",".join("%g/%g" % (p[2], p[3]) for p in pts)
        bulges = ",".join("%g" % p[4] for p in pts)
        print("lwpolyline %s %d %d %g %s %s" % (e.dxf.handle, len(pts), e.closed, e.dxf.elevation, widths, bulges))
    before, after = defined_blocks(sys.argv[1]), defined_blocks(sys.argv[2])
    print("blocks %d %d" % (len(before), len(before & after)))


if __name__ == "__main__":
    main()
