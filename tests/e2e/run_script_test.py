#!/usr/bin/python3
"""Runs cadhost once and compares its transcript and saved drawing with expected files.

Usage: run_script_test.py NAME --cadhost BIN --expected DIR --work DIR [--status N]
                          [--module FILE] [--drawing FILE] [--script FILE]
                          [--save | --save-none] [--registry-seed FILE] [--check-registry]
                          [-- EXTRA CADHOST ARGS]

The transcript (standard output, then standard error) must equal DIR/NAME.txt; with --save the
drawing saved with -o must equal DIR/NAME.dxf tag by tag (numbers rounded to 9 significant
digits, so that the last bits of a float do not matter) and pass ezdxf's audit. With the
environment variable UPDATE_GOLDEN=1 the expected files are rewritten instead, for review.
"""
import argparse
import os
import re
import shutil
import subprocess
import sys


def read_tags(path):
    with open(path, "rb") as f:
        lines = f.read().decode("cp1252").splitlines()
    tags = []
    for i in range(0, len(lines) - 1, 2):
        code = lines[i].strip()
        value = lines[i + 1]
        try:
            v = float(value) if re.fullmatch(r"\s*[-+]?(\d+\.\d*|\.\d+|\d+)([eE][-+]?\d+)?\s*", value) and "." in value else None
        except ValueError:
            v = None
        if v is not None:
            value = "%.9g" % v
        tags.append((code, value))
    return tags


def audit(path):
    try:
        import ezdxf
    except ImportError:
        return "ezdxf is not installed"
    doc = ezdxf.readfile(path)
    auditor = doc.audit()
    if auditor.has_errors:
        return "; ".join(str(e.message) for e in auditor.errors)
    return None


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("name")
    ap.add_argument("--cadhost", required=True)
    ap.add_argument("--expected", required=True)
    ap.add_argument("--work", required=True)
    ap.add_argument("--status", type=int, default=0)
    ap.add_argument("--drawing")
    ap.add_argument("--script")
    ap.add_argument("--module")
    ap.add_argument("--save", action="store_true", help="save with -o and compare the drawing")
    ap.add_argument("--save-none", action="store_true", help="save with -o and expect nothing written")
    ap.add_argument("--registry-seed", help="a .reg file copied in as the user's hive before the run")
    ap.add_argument("--check-registry", action="store_true", help="compare the hive after the run")
    argv = sys.argv[1:]
    extra = argv[argv.index("--") + 1:] if "--" in argv else []
    a = ap.parse_args(argv[:argv.index("--")] if "--" in argv else argv)
    a.extra = extra

    work = os.path.join(a.work, a.name)
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    cmd = [a.cadhost]
    if a.drawing:
        cmd.append(a.drawing)
    if a.module:
        cmd += ["-l", a.module]
    if a.script:
        cmd += ["-s", a.script]
    out_dxf = os.path.join(work, "out.dxf")
    if a.save or a.save_none:
        cmd += ["-o", out_dxf]
    registry = os.path.join(work, "user.reg")
    if a.registry_seed:
        shutil.copyfile(a.registry_seed, registry)
    cmd += ["--registry", registry]
    cmd += a.extra
    # Paths in the transcript are made relative to the work folder so expected files are portable.
    proc = subprocess.run(cmd, cwd=work, stdin=subprocess.DEVNULL, capture_output=True, timeout=120)
    transcript = proc.stdout.decode("cp1252") + proc.stderr.decode("cp1252")
    source = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(a.expected))))
    for root, label in ((work, "<work>"), (os.path.dirname(a.cadhost), "<bin>"), (source, "<src>")):
        transcript = transcript.replace(root, label)

    update = os.environ.get("UPDATE_GOLDEN") == "1"
    if update:
        os.makedirs(a.expected, exist_ok=True)
    failures = []
    if proc.returncode != a.status:
        failures.append("exit status %d, expected %d" % (proc.returncode, a.status))
    exp_txt = os.path.join(a.expected, a.name + ".txt")
    if update:
        with open(exp_txt, "w", encoding="cp1252", newline="\n") as f:
            f.write(transcript)
    else:
        with open(exp_txt, encoding="cp1252") as f:
            expected = f.read()
        if expected != transcript:
            import difflib
            diff = "".join(difflib.unified_diff(expected.splitlines(True), transcript.splitlines(True),
                                                "expected", "actual"))
            failures.append("transcript differs:\n" + diff)
    if a.save:
        if not os.path.exists(out_dxf):
            failures.append("no drawing was saved")
        else:
            exp_dxf = os.path.join(a.expected, a.name + ".dxf")
            if update:
                shutil.copyfile(out_dxf, exp_dxf)
            elif read_tags(exp_dxf) != read_tags(out_dxf):
                exp, act = read_tags(exp_dxf), read_tags(out_dxf)
                for i, (e, g) in enumerate(zip(exp, act)):
                    if e != g:
                        failures.append("saved drawing differs at tag %d: expected %r, got %r" % (i, e, g))
                        break
                else:
                    failures.append("saved drawing has %d tags, expected %d" % (len(act), len(exp)))
            problem = audit(out_dxf)
            if problem:
                failures.append("ezdxf audit of the saved drawing: " + problem)
    elif os.path.exists(out_dxf) or any(n.startswith("out.dxf") for n in os.listdir(work)):
        failures.append("a drawing (or part of one) was written although the run failed")
    if a.check_registry:
        exp_reg = os.path.join(a.expected, a.name + ".reg")
        if not os.path.exists(registry):
            failures.append("no registry hive was written")
        elif update:
            shutil.copyfile(registry, exp_reg)
        else:
            with open(exp_reg, "rb") as f1, open(registry, "rb") as f2:
                if f1.read() != f2.read():
                    failures.append("registry hive differs from " + exp_reg)
    if failures:
        print("command: " + " ".join(cmd))
        print("\n".join(failures))
        return 1
    print("ok" + (" (expected files updated)" if update else ""))
    return 0


if __name__ == "__main__":
    sys.exit(main())
