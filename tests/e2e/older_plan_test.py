#!/usr/bin/python3
"""End-to-end: an R12 plan ezdxf writes (rooms as 2D polylines with an arc, a tag block with
attributes, no handles) opens in cadhost, a room is linked with ZORVIK Create and updated, and
the drawing saved is an R2000 drawing that ezdxf's audit accepts, with the room's exact area in
its tag and the other tags untouched.

usage: older_plan_test.py --cadhost BIN --module FILE --work DIR
"""
import argparse
import math
import os
import shutil
import subprocess
import sys

import ezdxf

HERE = os.path.dirname(os.path.abspath(__file__))


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--cadhost", required=True)
    ap.add_argument("--module", required=True)
    ap.add_argument("--work", required=True)
    a = ap.parse_args()
    work = os.path.join(a.work, "older-plan")
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    plan = os.path.join(work, "plan-r12.dxf")
    subprocess.run([sys.executable, os.path.join(HERE, "..", "interop", "gen_r12_plan.py"), plan, "--no-handles"], check=True)
    script = os.path.join(work, "link.scr")
    with open(script, "w", newline="\n") as f:
        # Room 1 (0,0)-(4000,3000) picked just inside, its tag at (500,1500).
        f.write("ZORVIK\nCreate\n30,30\n500,1500\n@select 2016 AREA\n@ok\nZORVIK\nUpdate\n")
    out = os.path.join(work, "out.dxf")
    proc = subprocess.run([a.cadhost, plan, "-l", a.module, "-s", script, "-o", out, "--registry",
                           os.path.join(work, "user.reg")], cwd=work, stdin=subprocess.DEVNULL, capture_output=True,
                          timeout=120)
    transcript = proc.stdout.decode("cp1252") + proc.stderr.decode("cp1252")
    failures = []
    if proc.returncode != 0:
        failures.append("exit status %d" % proc.returncode)
    if "Number of updated entities: 1" not in transcript:
        failures.append("Update did not update the linked tag")
    if not os.path.exists(out):
        failures.append("no drawing was saved")
    else:
        doc = ezdxf.readfile(out)
        if doc.dxfversion != "AC1015":
            failures.append("saved as %s, not AC1015" % doc.dxfversion)
        auditor = doc.audit()
        if auditor.has_errors:
            failures.append("ezdxf audit: " + "; ".join(str(e.message) for e in auditor.errors))
        msp = doc.modelspace()
        rooms = msp.query("LWPOLYLINE")
        if len(rooms) != 3 or len(msp.query("POLYLINE")) != 1:
            failures.append("rooms: %d lightweight polylines, %d polylines" % (len(rooms), len(msp.query("POLYLINE"))))
        linked = [r for r in rooms if r.has_extension_dict]
        if len(linked) != 1:
            failures.append("%d linked rooms, expected 1" % len(linked))
        # The rectangle and the circular segment of the arc (chord 3000, bulge 0.5).
        c, b = 3000.0, 0.5
        area = 4000.0 * 3000.0 + c * c / (8 * b * b) * ((1 + b * b) ** 2 * math.atan(b) - b * (1 - b * b))
        tags = {}
        for ref in msp.query("INSERT"):
            values = {att.dxf.tag: att.dxf.text for att in ref.attribs}
            tags[values.get("NAME")] = values.get("AREA")
        if tags.get("Room 1") != "%.2f" % area:
            failures.append("Room 1 AREA is %r, expected %r" % (tags.get("Room 1"), "%.2f" % area))
        if tags.get("Room 2") != "0" or tags.get("Room 3") != "0":
            failures.append("tags of rooms not linked changed: %r" % tags)
    if failures:
        print(transcript)
        print("\n".join(failures))
        return 1
    print("ok")
    return 0


if __name__ == "__main__":
    sys.exit(main())
