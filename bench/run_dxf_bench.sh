#!/usr/bin/env bash
# DXF benchmark: our library against ezdxf on a generated floor plan, side by side.
#
# usage: bench/run_dxf_bench.sh [ROOMS] [BUILD_DIR]     (defaults: 100000 rooms, ./build)
# The drawing is generated once with ezdxf (bench/gen_floorplan.py) into BUILD_DIR/bench-data.
# Reported: file size, `cat` time (the floor), load and load+save times, MB/s, peak memory
# (maximum resident set) of each process, and ezdxf's time divided by ours.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
rooms="${1:-100000}"
build="$(cd "${2:-$here/../build}" && pwd)"
data="$build/bench-data"
mkdir -p "$data"
dxf="$data/floorplan_$rooms.dxf"
if [ ! -s "$dxf" ]; then
  echo "generating $dxf with ezdxf ..."
  /usr/bin/python3 "$here/gen_floorplan.py" "$rooms" "$dxf"
fi
driver="$build/bench/dxf_bench"
[ -x "$driver" ] || { echo "build the dxf_bench target first" >&2; exit 1; }

bytes=$(stat -c %s "$dxf")
mb=$(awk -v b="$bytes" 'BEGIN{printf "%.1f", b/1e6}')
cat "$dxf" > /dev/null  # warm the page cache for every contender
cat_s=$( { /usr/bin/time -f "%e" cat "$dxf" > /dev/null; } 2>&1 )

field() { sed -n "s/.*$1=\([0-9.]*\).*/\1/p" <<<"$2"; }
ours_load=$("$driver" load "$dxf")
ours_ls=$("$driver" loadsave "$dxf" "$data/out_ours.dxf")
ez_load=$(/usr/bin/python3 "$here/ezdxf_peer.py" load "$dxf")
ez_ls=$(/usr/bin/python3 "$here/ezdxf_peer.py" loadsave "$dxf" "$data/out_ezdxf.dxf")

ol=$(field load_s "$ours_load"); om=$(field maxrss_kb "$ours_load")
osl=$(field load_s "$ours_ls"); oss=$(field save_s "$ours_ls"); osm=$(field maxrss_kb "$ours_ls")
el=$(field load_s "$ez_load"); em=$(field maxrss_kb "$ez_load")
esl=$(field load_s "$ez_ls"); ess=$(field save_s "$ez_ls")

awk -v rooms="$rooms" -v mb="$mb" -v cat="$cat_s" -v ol="$ol" -v om="$om" -v osl="$osl" -v oss="$oss" -v osm="$osm" \
    -v el="$el" -v em="$em" -v esl="$esl" -v ess="$ess" 'BEGIN {
  printf "floor plan of %d rooms: %.1f MB; cat %.2f s (%.0f MB/s)\n", rooms, mb, cat, (cat > 0 ? mb / cat : 0)
  printf "%-12s %10s %10s %12s %14s\n", "", "ours", "ezdxf", "ezdxf/ours", "ours MB/s"
  printf "%-12s %9.2fs %9.2fs %11.1fx %14.1f\n", "load", ol, el, el / ol, mb / ol
  printf "%-12s %9.2fs %9.2fs %11.1fx %14.1f\n", "load+save", osl + oss, esl + ess, (esl + ess) / (osl + oss), mb / (osl + oss)
  printf "%-12s %8.0fMB %8.0fMB   (ours: %.2f x file size; load+save %.0f MB)\n", "peak memory", om / 1024, em / 1024, om / 1024 / mb, osm / 1024
}'
