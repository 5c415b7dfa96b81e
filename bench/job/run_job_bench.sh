#!/usr/bin/env bash
# The whole-job benchmark: cadhost + zorvik.arx against the ezdxf peer job, side by side on the
# same generated drawings, then Update alone, copy repair and memory per object in-process.
#
# usage: bench/job/run_job_bench.sh [BUILD_DIR] [ROOMS...]   (defaults: ./build, 1000 10000 100000)
# Needs the targets cadhost, zorvik, job_bench built in BUILD_DIR, and python3-ezdxf.
# Drawings are generated once into BUILD_DIR/bench-data (bench/gen_floorplan.py, then linked by
# cadhost in quiet mode with a script of ZORVIK/Create/#h/#h lines). The figures go to standard
# output and to BUILD_DIR/bench-data/job_results.md.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$(cd "${1:-$here/../../build}" && pwd)"
shift || true
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(1000 10000 100000)
data="$build/bench-data"
mkdir -p "$data"
cadhost="$build/apps/cadhost/cadhost"
module="$build/zorvik.arx"
[ -x "$cadhost" ] || cadhost="$(find "$build" -name cadhost -type f -perm -u+x | head -1)"
[ -f "$module" ] || module="$(find "$build" -name zorvik.arx | head -1)"
driver="$(find "$build" -name job_bench -type f -perm -u+x | head -1)"
for f in "$cadhost" "$module" "$driver"; do
  [ -n "$f" ] && [ -e "$f" ] || { echo "build the targets cadhost, zorvik and job_bench in $build first" >&2; exit 1; }
done
py=/usr/bin/python3
results="$data/job_results.md"

# Settings: linking runs with AutoUpdate off (the generated texts stay as they were, so the job
# has every text to rewrite); the job divides by 2.5 and prints 3 decimals.
hive() {  # hive FILE AUTOUPDATE
  printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Cadhost\\R15.0\\ACAD-1:409\\VelmoraApps\\Zorvik\\Settings]\r\n"AutoUpdate"=dword:%08d\r\n"AreaPrec"=dword:00000003\r\n"Divisor"="2.5"\r\n"QuietMode"=dword:00000001\r\n"Attname"="AREA"\r\n' "$2" > "$1"
}
# time_of CMD...: runs CMD, prints "SECONDS PEAK_KB CPU_SECONDS" of it (GNU time; processor time
# is user + system, which stays fair when other work shares the machine).
time_of() {
  /usr/bin/time -f "%e %M %U %S" -o "$data/.time" "$@" > "$data/.out" 2> "$data/.err" || { cat "$data/.err" >&2; return 1; }
  awk '{ printf "%s %s %.2f\n", $1, $2, $3 + $4 }' "$data/.time"
}

{
echo "# Whole-job benchmark"
echo
echo "- date: $(date -u '+%Y-%m-%d %H:%M UTC'); machine: $(nproc) cores, $(lscpu | sed -n 's/^Model name: *//p'); load average at start: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "- command: \`bench/job/run_job_bench.sh $build ${sizes[*]}\`"
echo "- job: \`cadhost linked.dxf -l zorvik.arx -c \"ZORVIK;Update\" -o out.dxf --registry job.reg -q\`; peer: \`bench/job/ezdxf_job.py linked.dxf out.dxf --divisor 2.5 --prec 3\` (wall time and peak RSS of each process by GNU time)"
echo
echo "- \`job_bench job\` is the same batch job in-process (bench/job/job_bench.cpp), for comparison with the cadhost process"
echo "- times are wall clock, with processor time (user + system) in brackets; ratios: ezdxf / cadhost by the clock and by processor time"
echo
echo "| rooms | links | linking run | cadhost job | peak | updated | job_bench job | peak | ezdxf job | peak | ezdxf / cadhost (clock, cpu) | cadhost / ezdxf memory | texts: cadhost vs ezdxf | texts: job_bench vs ezdxf |"
echo "|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---|---|"
} | tee "$results"

hive "$data/link.reg" 0
hive "$data/job.reg" 1
for rooms in "${sizes[@]}"; do
  plan="$data/floorplan_$rooms.dxf"
  [ -s "$plan" ] || $py "$here/../gen_floorplan.py" "$rooms" "$plan"
  linked="$data/linked_$rooms.dxf"
  links=$($py "$here/link_script.py" "$plan" "$data/link_$rooms.scr")
  if [ ! -s "$linked" ] || [ "$linked" -ot "$plan" ]; then
    read -r link_s _ _ < <(time_of "$cadhost" "$plan" -l "$module" -s "$data/link_$rooms.scr" -o "$linked" --registry "$data/link.reg" -q)
  else
    link_s="(cached)"
  fi
  read -r cad_s cad_kb cad_c < <(time_of "$cadhost" "$linked" -l "$module" -c "ZORVIK;Update" -o "$data/out_cadhost_$rooms.dxf" --registry "$data/job.reg" -q)
  cad_upd=$(sed -n 's/.*Number of updated entities: \([0-9]*\).*/\1/p' "$data/.out" | tail -1)
  read -r job_s job_kb job_c < <(time_of "$driver" job "$linked" "$module" "$data/job.reg" "$data/out_job_$rooms.dxf")
  ez="$data/out_ezdxf_$rooms.dxf"
  if [ -s "$ez" ] && [ "$ez" -nt "$linked" ] && [ -s "$ez.time" ]; then
    read -r ez_s ez_kb ez_c < "$ez.time"   # the peer's output and figures of an earlier run on the same drawing
  else
    read -r ez_s ez_kb ez_c < <(time_of $py "$here/ezdxf_job.py" "$linked" "$ez" --divisor 2.5 --prec 3)
    echo "$ez_s $ez_kb $ez_c" > "$ez.time"
  fi
  cmp_job=$($py "$here/compare_attribs.py" "$data/out_job_$rooms.dxf" "$ez" "$linked" 2>/dev/null || true)
  cmp_cad=$($py "$here/compare_attribs.py" "$data/out_cadhost_$rooms.dxf" "$ez" "$linked" 2>/dev/null || true)
  awk -v r="$rooms" -v l="$links" -v ls="$link_s" -v cs="$cad_s" -v cc="$cad_c" -v ck="$cad_kb" -v cu="$cad_upd" \
      -v js="$job_s" -v jc="$job_c" -v jk="$job_kb" -v es="$ez_s" -v ec="$ez_c" -v ek="$ez_kb" -v c1="$cmp_cad" -v c2="$cmp_job" 'BEGIN {
    printf "| %d | %d | %s s | %.2f s (%.2f) | %.0f MB | %s | %.2f s (%.2f) | %.0f MB | %.2f s (%.2f) | %.0f MB | %.1fx, %.1fx | 1/%.1f | %s | %s |\n",
      r, l, ls, cs, cc, ck / 1024, cu, js, jc, jk / 1024, es, ec, ek / 1024, es / cs, (cc > 0 ? ec / cc : 0), ek / ck, c1, c2 }' | tee -a "$results"
done

big="${sizes[${#sizes[@]}-1]}"
linked="$data/linked_$big.dxf"
upd=$("$driver" update "$linked" "$module" "$data/job.reg")
c1=$("$driver" copy "$linked" "$module" "$data/job.reg" 1000)
c2=$("$driver" copy "$linked" "$module" "$data/job.reg" 10000)
f() { sed -n "s/.*\b$1=\([0-9.-]*\).*/\1/p" <<<"$2"; }
{
echo
echo "In-process on the loaded $big-room drawing (\`job_bench\`, bench/job/job_bench.cpp):"
echo
awk -v u="$(f updated "$upd")" -v s="$(f cmd_s "$upd")" -v eo="$(f entity_opens "$upd")" -v ec="$(f entity_closes "$upd")" \
    -v oo="$(f object_opens "$upd")" -v oc="$(f object_closes "$upd")" -v hb="$(f heap_bytes "$upd")" -v ob="$(f objects "$upd")" \
    -v bpo="$(f bytes_per_object "$upd")" -v ls="$(f load_s "$upd")" 'BEGIN {
  printf "- Update alone: %d links updated in %.3f s = %.2f us per linked polyline; opens/closes by id: %d/%d entities, %d/%d other objects (%.2f entity opens and %.2f object opens per linked polyline)\n",
    u, s, (u ? s / u * 1e6 : 0), eo, ec, oo, oc, (u ? eo / u : 0), (u ? oo / u : 0)
  printf "- Memory: %d database objects, %.1f MB of heap after loading (load %.2f s) = %d bytes per object\n", ob, hb / 1048576, ls, bpo }'
awk -v n1="$(f items "$c1")" -v s1="$(f cmd_s "$c1")" -v n2="$(f items "$c2")" -v s2="$(f cmd_s "$c2")" 'BEGIN {
  printf "- Copy repair: COPY of %d linked polylines %.3f s, of %d: %.3f s; ratio %.1f (goal: below 15)\n", n1, s1, n2, s2, (s1 > 0 ? s2 / s1 : 0) }'
echo
echo "raw: update: $upd"
echo "raw: copy 1000: $c1"
echo "raw: copy 10000: $c2"
} | tee -a "$results"
