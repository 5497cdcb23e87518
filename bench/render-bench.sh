#!/usr/bin/env bash
# Render: filling a 200 x 19 list and drawing the screen with it on the device, beside one
# full-screen refresh of the same cells by bare curses (into /dev/null). Reported, no goal.
#   bench/render-bench.sh [extra google-benchmark flags]
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/lib.sh
bench_build
micros() { awk -F, -v n="\"$1\"" '$1 == n {printf "%.1f", $4}'; }
device=$(build-bench/bin/render_bench --benchmark_format=csv "$@" 2>/dev/null)
curses=$(build-bench/bin/curses_render_bench --benchmark_format=csv "$@" 2>/dev/null)
fill=$(micros FillList <<<"$device")
draw=$(micros DrawScreen <<<"$device")
full=$(micros FullScreenRefresh <<<"$curses")
echo "render: fill of a 200 x 19 list $fill us, full draw $draw us; bare curses full-screen refresh $full us"
result render "fill $fill us, draw $draw us; curses refresh $full us" "report both" "-"
