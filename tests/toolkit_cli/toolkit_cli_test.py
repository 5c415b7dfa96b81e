#!/usr/bin/python3
"""ZORVIKLINK, ZORVIKAUDIT and ZORVIKEXPORT run by cadhost on a plan from gen_floorplan.py."""
import argparse
import csv
import filecmp
import os
import shutil
import subprocess
import sys

REGISTRY = """Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\\Software\\Cadhost\\R15.0\\ACAD-1:409\\VelmoraApps\\Zorvik\\Settings]
"AutoUpdate"=dword:%08x
"AreaPrec"=dword:00000002
"Divisor"="1"
"QuietMode"=dword:00000001
"Attname"="AREA"
"""

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
        print("FAIL: " + message, file=sys.stderr)


def main():
    ap = argparse.ArgumentParser()
    for name in ("cadhost", "module", "bench", "work"):
        ap.add_argument("--" + name, required=True)
    args = ap.parse_args()
    shutil.rmtree(args.work, ignore_errors=True)
    os.makedirs(args.work)
    w = lambda name: os.path.join(args.work, name)
    for auto, name in ((1, "on.reg"), (0, "off.reg")):
        with open(w(name), "w") as f:
            f.write(REGISTRY % auto)

    def cadhost(drawing, commands, registry="on.reg", save=None):
        cmd = [args.cadhost, drawing, "-l", args.module, "-q", "--registry", w(registry)]
        for c in commands:
            cmd += ["-c", c]
        if save:
            cmd += ["-o", save]
        r = subprocess.run(cmd, capture_output=True, text=True)
        return r.returncode, r.stdout + r.stderr

    plan = w("plan.dxf")
    subprocess.run([sys.executable, os.path.join(args.bench, "gen_floorplan.py"), "300", plan, "--linked"], check=True)
    status, out = cadhost(plan, ["ZORVIKLINK;;"], save=w("linked.dxf"))
    check(status == 0, "ZORVIKLINK run status %d" % status)
    check("Linked 300 rooms; 0 without a tag; 0 with several tags; 0 tags in no room." in out, out)
    r = subprocess.run([sys.executable, os.path.join(args.bench, "compare_links.py"), w("linked.dxf"), w("plan.links.csv")],
                       capture_output=True, text=True)
    check(r.returncode == 0 and "differ=0" in r.stdout, "links differ from the generator's: " + r.stdout + r.stderr)

    # Linked with automatic update on, the plan audits clean: exit 0.
    status, out = cadhost(w("linked.dxf"), ["ZORVIKAUDIT;;"])
    check(status == 0, "clean audit exit %d: %s" % (status, out))

    # A room scaled with automatic update off is stale: exit 3, and the audit changes nothing.
    room = open(w("plan.links.csv")).readline().split(",")[0]
    status, out = cadhost(w("linked.dxf"), ["SCALE;#%s;;0,0;2" % room], registry="off.reg", save=w("scaled.dxf"))
    check(status == 0, "scale run status %d" % status)
    status, out = cadhost(w("scaled.dxf"), ["ZORVIKAUDIT;;"], registry="off.reg", save=w("audited.dxf"))
    check(status == 3, "stale audit exit %d: %s" % (status, out))
    check("stale: room #%s" % room in out, out)
    cadhost(w("scaled.dxf"), [], registry="off.reg", save=w("resaved.dxf"))
    check(filecmp.cmp(w("audited.dxf"), w("resaved.dxf"), shallow=False), "the audit changed the saved drawing")
    # Fixed, the next audit passes.
    status, out = cadhost(w("scaled.dxf"), ["ZORVIKAUDIT;Yes;", "ZORVIKAUDIT;;"], registry="off.reg")
    check(status == 0, "audit after fix exit %d: %s" % (status, out))

    # The schedule, read back with the csv module.
    status, out = cadhost(w("linked.dxf"), ["ZORVIKEXPORT;" + w("rooms.csv")])
    check(status == 0 and "Schedule of 300 rooms" in out, out)
    with open(w("rooms.csv"), newline="", encoding="utf-8") as f:
        rows = list(csv.reader(f))
    check(rows[0] == ["Handle", "Space", "Layer", "Block", "NAME", "AREA", "Shown", "Area", "Area/Divisor",
                      "Perimeter", "Status"], "header %r" % rows[0])
    body, total = rows[1:-1], rows[-1]
    check(len(body) == 300, "%d rows" % len(body))
    check([int(r[0], 16) for r in body] == sorted(int(r[0], 16) for r in body), "rows not in handle order")
    check(all(r[10] == "current" and r[5] == r[6] for r in body), "a row is not current")
    exact = sum(float(r[8]) for r in body)
    shown = sum(float(r[6]) for r in body)
    check(total[0] == "Total" and abs(float(total[8]) - exact) < 1e-6 and abs(float(total[6]) - shown) < 1e-6,
          "total row %r" % total)
    check(abs(float(total[10].split()[1]) - (shown - exact)) < 1e-6, "difference %r" % total[10])

    # A schedule in a missing folder: a clear message, nothing written.
    status, out = cadhost(w("linked.dxf"), ["ZORVIKEXPORT;" + w("no/such/rooms.csv")])
    check("cannot be written (No such file or directory); nothing was written." in out, out)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
