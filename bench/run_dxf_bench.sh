#!/usr/bin/env bash
# DXF benchmark: our library against ezdxf on a generated floor plan, side by side.
#
# usage: bench/run_dxf_bench.sh [ROOMS] [BUILD_DIR]     (defaults: 100000 rooms, ./build)
# The drawing is generated once with ezdxf (bench/gen_floorplan.py) into BUILD_DIR/bench-data.
# Reported: file size, `cat` time (the floor), load and load+save times, MB/s, peak memory
# (maximum resident set) of each process, and ezdxf's time divided by ours, both by the clock and
# by processor time (user + system), which stays fair on a machine busy with other work.
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

bytes=$(stat -L -c %s "$dxf")
mb=$(awk -v b="$bytes" 'BEGIN{printf "%.1f", b/1e6}')
cat "$dxf" > /dev/null  # warm the page cache for every contender
cat_s=$( { /usr/bin/time -f "%e" cat "$dxf" > /dev/null; } 2>&1 )

field() { sed -n "s/.*$1=\([0-9.]*\).*/\1/p" <<<"$2"; }
ours_load=$("$driver" load "$dxf")
ours_ls=$("$driver" loadsave "$dxf" "$data/out_ours.dxf")
ez_load=$(/usr/bin/python3 "$here/ezdxf_peer.py" load "$dxf")
ez_ls=$(/usr/bin/python3 "$here/ezdxf_peer.py" loadsave "$dxf" "$data/out_ezdxf.dxf")

ol=$(field load_s "$ours_load"); olc=$(field load_cpu "$ours_load"); om=$(field maxrss_kb "$ours_load")
osl=$(field load_s "$ours_ls"); oss=$(field save_s "$ours_ls"); osm=$(field maxrss_kb "$ours_ls")
oslc=$(field load_cpu "$ours_ls"); ossc=$(field save_cpu "$ours_ls")
el=$(field load_s "$ez_load"); elc=$(field load_cpu "$ez_load"); em=$(field maxrss_kb "$ez_load")
esl=$(field load_s "$ez_ls"); ess=$(field save_s "$ez_ls"); eslc=$(field load_cpu "$ez_ls"); essc=$(field save_cpu "$ez_ls")

awk -v rooms="$rooms" -v mb="$mb" -v cat="$cat_s" -v ol="$ol" -v olc="$olc" -v om="$om" -v osl="$osl" -v oss="$oss" \
    -v oslc="$oslc" -v ossc="$ossc" -v osm="$osm" -v el="$el" -v elc="$elc" -v em="$em" -v esl="$esl" -v ess="$ess" \
    -v eslc="$eslc" -v essc="$essc" 'BEGIN {
  printf "floor plan of %d rooms: %.1f MB; cat %.2f s (%.0f MB/s)\n", rooms, mb, cat, (cat > 0 ? mb / cat : 0)
  printf "%-16s %10s %10s %11s %10s\n", "", "ours", "ezdxf", "ezdxf/ours", "ours MB/s"
  printf "%-16s %9.2fs %9.2fs %10.1fx %10.1f\n", "load (clock)", ol, el, el / ol, mb / ol
  printf "%-16s %9.2fs %9.2fs %10.1fx %10.1f\n", "load (cpu)", olc, elc, elc / olc, mb / olc
  printf "%-16s %9.2fs %9.2fs %10.1fx %10.1f\n", "load+save (clock)", osl + oss, esl + ess, (esl + ess) / (osl + oss), mb / (osl + oss)
  printf "%-16s %9.2fs %9.2fs %10.1fx %10.1f\n", "load+save (cpu)", oslc + ossc, eslc + essc, (eslc + essc) / (oslc + ossc), mb / (oslc + ossc)
  printf "%-16s %8.0fMB %8.0fMB   (ours: %.2f x file size; load+save %.0f MB)\n", "peak memory", om / 1024, em / 1024, om / 1024 / mb, osm / 1024
}'
