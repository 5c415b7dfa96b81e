#!/usr/bin/python3
"""The ezdxf side of the DXF benchmark: times ezdxf reading a drawing, or reading and writing it.

usage: ezdxf_peer.py load FILE | ezdxf_peer.py loadsave FILE OUT
Prints `load_s=... save_s=... maxrss_kb=...` on one line.
"""
import resource
import sys
import time

import ezdxf


def main():
    mode, path = sys.argv[1], sys.argv[2]
    t0 = time.perf_counter()
    doc = ezdxf.readfile(path)
    t1 = time.perf_counter()
    save = 0.0
    if mode == "loadsave":
        doc.saveas(sys.argv[3])
        save = time.perf_counter() - t1
    rss = resource.getrusage(resource.RUSAGE_SELF).ru_maxrss
    print("load_s=%.3f save_s=%.3f maxrss_kb=%d" % (t1 - t0, save, rss))


if __name__ == "__main__":
    main()
