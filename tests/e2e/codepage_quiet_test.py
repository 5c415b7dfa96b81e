#!/usr/bin/python3
"""Quiet mode links an attribute whose tag has a character beyond ASCII the same in an R2018
drawing (UTF-8 in its file) as in an R2000 drawing (code page 1252 in its file).

Usage: codepage_quiet_test.py --cadhost BIN --module FILE --source DIR --work DIR

The example floor plan, its AREA tags renamed FLÄCHE and its room names given umlauts, is run in
both versions with the Attname "FLÄCHE" in the user's registry: both must link the three rooms
the script picks, and the saved drawings must hold the text in their own encoding, unchanged.
"""
import argparse
import os
import shutil
import subprocess
import sys

SCRIPT = "ZORVIK\nCreate\n30,30\n2000,2300\nZORVIK\n\n6230,30\n7200,2300\nZORVIK\nc\n15630,30\n18100,2300\n"
REGISTRY = (
    "Windows Registry Editor Version 5.00\n\n"
    "[HKEY_CURRENT_USER\\Software\\Cadhost\\R15.0\\ACAD-1:409\\VelmoraApps\\Zorvik\\Settings]\n"
    '"AutoUpdate"=dword:00000001\n"AreaPrec"=dword:00000002\n"Divisor"="1000000"\n'
    '"QuietMode"=dword:00000001\n"Attname"="FL\u00c4CHE"\n')


def drawing(source, version, encoding):
    with open(os.path.join(source, "examples", "floorplan.dxf"), encoding="ascii") as f:
        lines = f.read().split("\n")
    for i in range(1, len(lines)):
        if lines[i] == "AREA" and lines[i - 1].strip() == "2":
            lines[i] = "FL\u00c4CHE"
        elif lines[i] == "Kitchen":
            lines[i] = "K\u00fcche"
        elif lines[i] == "AC1015":
            lines[i] = version
    return "\n".join(lines).encode(encoding)


def run(args, name, version, encoding):
    work = os.path.join(args.work, name)
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    src = os.path.join(work, "in.dxf")
    with open(src, "wb") as f:
        f.write(drawing(args.source, version, encoding))
    with open(os.path.join(work, "run.scr"), "w") as f:
        f.write(SCRIPT)
    with open(os.path.join(work, "user.reg"), "w", encoding="utf-8") as f:
        f.write(REGISTRY)
    out = os.path.join(work, "out.dxf")
    proc = subprocess.run([args.cadhost, src, "-l", args.module, "-s", os.path.join(work, "run.scr"), "-o", out,
                           "--registry", os.path.join(work, "user.reg"), "-q"],
                          cwd=work, stdin=subprocess.DEVNULL, capture_output=True, timeout=120)
    if proc.returncode != 0 or not os.path.exists(out):
        return None, "%s: cadhost ended with %d: %s" % (name, proc.returncode, proc.stderr.decode("latin-1"))
    with open(out, "rb") as f:
        return f.read(), None


def main():
    ap = argparse.ArgumentParser()
    for a in ("--cadhost", "--module", "--source", "--work"):
        ap.add_argument(a, required=True)
    args = ap.parse_args()
    failures = []
    saved = {}
    for name, version, encoding in (("r2000", "AC1015", "cp1252"), ("r2018", "AC1032", "utf-8")):
        data, problem = run(args, "codepage-quiet-" + name, version, encoding)
        if problem:
            failures.append(problem)
            continue
        saved[name] = data
        links = data.count(b"  0\r\nPLINENOTIFYOBJECT\r\n")
        if links != 3:
            failures.append("%s: %d links, expected the 3 rooms picked" % (name, links))
        for text in ("FL\u00c4CHE", "K\u00fcche"):
            if ("\r\n" + text + "\r\n").encode(encoding) not in data:
                failures.append("%s: %r is not in the saved drawing in %s" % (name, text, encoding))
        other = "utf-8" if encoding == "cp1252" else "cp1252"
        if "FL\u00c4CHE".encode(other) in data:
            failures.append("%s: the saved drawing holds the tag in %s" % (name, other))
        try:
            import ezdxf
            doc = ezdxf.readfile(os.path.join(args.work, "codepage-quiet-" + name, "out.dxf"))
            tags = sorted({a.dxf.tag for ins in doc.modelspace().query("INSERT") for a in ins.attribs})
            if "FL\u00c4CHE" not in tags:
                failures.append("%s: ezdxf reads the tags %r" % (name, tags))
            auditor = doc.audit()
            if auditor.has_errors:
                failures.append("%s: ezdxf audit: %s" % (name, "; ".join(str(e.message) for e in auditor.errors)))
        except ImportError:
            failures.append("ezdxf is not installed")
    if failures:
        print("\n".join(failures))
        return 1
    print("ok")
    return 0


if __name__ == "__main__":
    sys.exit(main())
