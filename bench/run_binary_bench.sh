#!/usr/bin/env bash
# Binary against ASCII DXF: the same floor plan loaded from both forms, and saved in both.
#
# usage: bench/run_binary_bench.sh [ROOMS] [BUILD_DIR] [RUNS]   (defaults: 10000 rooms, ./build, 5 runs)
# The plan is generated with ezdxf (bench/gen_floorplan.py) and turned binary by cadhost
# (--dxf-form binary). Reported: sizes, and the median of RUNS alternated loads and load+saves.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
rooms="${1:-10000}"
build="$(cd "${2:-$here/../build}" && pwd)"
runs="${3:-5}"
data="$build/bench-data"
mkdir -p "$data"
ascii="$data/floorplan_$rooms.dxf"
binary="$data/floorplan_${rooms}_binary.dxf"
[ -s "$ascii" ] || /usr/bin/python3 "$here/gen_floorplan.py" "$rooms" "$ascii"
"$build/apps/cadhost/cadhost" "$ascii" -q --dxf-form binary -o "$binary" </dev/null
driver="$build/bench/dxf_bench"
field() { sed -n "s/.*$1=\([0-9.]*\).*/\1/p" <<<"$2"; }
median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }
al=(); bl=(); as=(); bs=()
for _ in $(seq "$runs"); do
  r=$("$driver" load "$ascii"); al+=("$(field load_s "$r")")
  r=$("$driver" load "$binary"); bl+=("$(field load_s "$r")")
  r=$("$driver" loadsave "$ascii" "$data/out_ascii.dxf"); as+=("$(field save_s "$r")")
  r=$("$driver" loadsave "$binary" "$data/out_binary.dxf"); bs+=("$(field save_s "$r")")
done
printf "floor plan of %d rooms: ASCII %.1f MB, binary %.1f MB\n" "$rooms" \
  "$(awk -v b="$(stat -L -c %s "$ascii")" 'BEGIN{print b/1e6}')" "$(awk -v b="$(stat -L -c %s "$binary")" 'BEGIN{print b/1e6}')"
printf "load: ASCII %.3f s, binary %.3f s (median of %d)\n" "$(printf '%s\n' "${al[@]}" | median)" \
  "$(printf '%s\n' "${bl[@]}" | median)" "$runs"
printf "save: ASCII %.3f s, binary %.3f s (median of %d)\n" "$(printf '%s\n' "${as[@]}" | median)" \
  "$(printf '%s\n' "${bs[@]}" | median)" "$runs"
