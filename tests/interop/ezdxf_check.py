#!/usr/bin/python3
"""Reads a drawing with ezdxf and reports what the interoperability tests check, one fact a line:

  audit_errors N          errors ezdxf's audit finds
  audit_fixes N           problems it fixed
  count TYPE N            entities of each type in model space
  blocks N                block definitions
  xdict HANDLE KEY TYPE   extension-dictionary entries of model-space entities
  reactors HANDLE H,H...  persistent reactors of model-space entities
  object HANDLE TYPE TAGS subclass groups of objects of the DXF type named by --dump (code=value;...)

usage: ezdxf_check.py FILE [--dump DXFTYPE]
Exits 2 when ezdxf cannot read the file at all.
"""
import collections
import sys

import ezdxf


def main():
    path = sys.argv[1]
    dump = sys.argv[sys.argv.index("--dump") + 1] if "--dump" in sys.argv else None
    try:
        doc = ezdxf.readfile(path)
    except Exception as e:  # noqa: BLE001 - any refusal is the answer
        print("read_error %s" % str(e).replace("\n", " "))
        sys.exit(2)
    msp = doc.modelspace()
    counts = collections.Counter(e.dxftype() for e in msp)
    auditor = doc.audit()
    print("audit_errors %d" % len(auditor.errors))
    print("audit_fixes %d" % len(auditor.fixes))
    for err in auditor.errors:
        print("audit_error %s" % str(err.message).replace("\n", " "))
    for t, n in sorted(counts.items()):
        print("count %s %d" % (t, n))
    print("blocks %d" % len(doc.blocks))
    for e in msp:
        if e.has_extension_dict:
            xd = e.get_extension_dict()
            for key, obj in xd.items():
                t = obj.dxftype() if hasattr(obj, "dxftype") else "?"
                print("xdict %s %s %s" % (e.dxf.handle, key, t))
        reactors = e.get_reactors()
        if reactors:
            print("reactors %s %s" % (e.dxf.handle, ",".join(reactors)))
    if dump:
        for obj in doc.objects:
            if obj.dxftype() == dump:
                tags = []
                xtags = getattr(obj, "xtags", None)
                if xtags is not None:
                    for sub in xtags.subclasses[1:]:
                        for tag in sub:
                            tags.append("%d=%s" % (tag.code, tag.value))
                print("object %s %s %s" % (obj.dxf.handle, obj.dxftype(), ";".join(tags)))


if __name__ == "__main__":
    main()
