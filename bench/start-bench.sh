#!/usr/bin/env bash
# Start: exec to the first complete frame (navigation bar, list of 200 rows, menu bar) of the
# viewer in a pseudo-terminal, beside a bare curses program drawing the same bars, rounds
# alternating, medians. Goal: at most 1.25 times the bare program.
#   bench/start-bench.sh [rounds]
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/lib.sh
rounds=${1:-30}
bench_build
read -r viewer bare < <(build-bench/bin/viewer_bench start build-bench/bin/tickwell \
  build-bench/bin/bare_screen "$rounds" | awk '{v[$1]=$2} END {print v["start_ms"], v["bare_ms"]}')
ratio=$(awk -v a="$viewer" -v b="$bare" 'BEGIN {printf "%.2f", a / b}')
echo "start, medians of $rounds: viewer $viewer ms, bare curses $bare ms, ratio $ratio"
result start "$ratio x ($viewer ms / $bare ms)" "at most 1.25 x" \
  "$(awk -v r="$ratio" 'BEGIN {print (r <= 1.25) ? "yes" : "no"}')"
