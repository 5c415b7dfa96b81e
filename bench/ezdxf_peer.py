#!/usr/bin/python3
"""The ezdxf side of the DXF benchmark: times ezdxf reading a drawing, or reading and writing it.

usage: ezdxf_peer.py load FILE | ezdxf_peer.py loadsave FILE OUT
Prints `load_s=... save_s=... load_cpu=... save_cpu=... maxrss_kb=...` (wall and processor
seconds) on one line.
"""
import resource
import sys
import time

import ezdxf


def cpu():
    ru = resource.getrusage(resource.RUSAGE_SELF)
    return ru.ru_utime + ru.ru_stime


def main():
    mode, path = sys.argv[1], sys.argv[2]
    c0 = cpu()
    t0 = time.perf_counter()
    doc = ezdxf.readfile(path)
    t1 = time.perf_counter()
    c1 = cpu()
    save = save_cpu = 0.0
    if mode == "loadsave":
        doc.saveas(sys.argv[3])
        save = time.perf_counter() - t1
        save_cpu = cpu() - c1
    rss = resource.getrusage(resource.RUSAGE_SELF).ru_maxrss
    print("load_s=%.3f save_s=%.3f load_cpu=%.3f save_cpu=%.3f maxrss_kb=%d"
          % (t1 - t0, save, c1 - c0, save_cpu, rss))


if __name__ == "__main__":
    main()
