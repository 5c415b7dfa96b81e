#!/usr/bin/env bash
# The main job on the bundled example: link every room of examples/floorplan.dxf to the AREA
# attribute of its tag (attribute picker answered by the script), then switch the areas to
# square metres through the Options dialog and update them. Prints both transcripts and writes
# the results (DXF and SVG) to the output folder. Then links the same plan with one ZORVIKLINK,
# audits it and exports its room schedule.
#
# usage: examples/run-demo.sh [BUILD_DIR] [OUTPUT_DIR]     (defaults: build, demo-output)
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="${1:-$here/../build}"
out="${2:-demo-output}"
mkdir -p "$out"
cadhost="$build/apps/cadhost/cadhost"
module="$build/zorvik.arx"
registry="$out/user.reg"   # the demo's own settings, so the user's are left alone
rm -f "$registry"

echo "== Linking the rooms (examples/link-rooms.scr)"
"$cadhost" "$here/floorplan.dxf" -l "$module" -s "$here/link-rooms.scr" \
  -o "$out/floorplan-linked.dxf" --svg "$out/floorplan-linked.svg" --registry "$registry"
echo
echo "== Areas in square metres (examples/metric-areas.scr)"
"$cadhost" "$out/floorplan-linked.dxf" -l "$module" -s "$here/metric-areas.scr" \
  -o "$out/floorplan-metric.dxf" --svg "$out/floorplan-metric.svg" --registry "$registry"
echo
echo "== The whole plan at once: one ZORVIKLINK, then ZORVIKAUDIT and ZORVIKEXPORT"
# The attribute picker lists the tags of the plan's blocks; AREA is chosen.
"$cadhost" "$here/floorplan.dxf" -l "$module" --registry "$registry" \
  -c "ZORVIKLINK;;;@select 2016 AREA;@ok" \
  -c "ZORVIKAUDIT;;$out/floorplan-audit.csv" \
  -c "ZORVIKEXPORT;$out/floorplan-rooms.csv" \
  -o "$out/floorplan-bulk.dxf" --svg "$out/floorplan-check.svg" \
  --svg-marks "$out/floorplan-audit.csv" --svg-marks "$out/floorplan-rooms.csv" \
  --svg-colour current=#2e9e44 --svg-colour stale=#e08a00 --svg-colour broken=#d7263d --svg-colour unlinked=#8e44ad
echo
echo "Written: $out/floorplan-linked.dxf, $out/floorplan-metric.dxf and their .svg pictures;"
echo "$out/floorplan-bulk.dxf with its audit report and room schedule (floorplan-audit.csv, floorplan-rooms.csv)"
echo "and the picture of the check, floorplan-check.svg."
