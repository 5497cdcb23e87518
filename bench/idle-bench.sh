#!/usr/bin/env bash
# Idle: CPU ticks (utime + stime) of a started viewer with 200 rows over SECONDS, first with no
# timer, then with a one-minute refresh period set through its dialog (no refresh falls in the
# window). Goal: 0 both times.
#   bench/idle-bench.sh [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/lib.sh
seconds=${1:-10}
bench_build
read -r idle timer < <(build-bench/bin/viewer_bench idle build-bench/bin/tickwell "$seconds" |
  awk '{v[$1]=$2} END {print v["idle_ticks"], v["idle_timer_ticks"]}')
echo "idle over ${seconds}s: $idle ticks; with a one-minute refresh period: $timer ticks"
result idle "$idle ticks in ${seconds} s" "0" "$([ "$idle" = 0 ] && echo yes || echo no)"
result "idle with a timer" "$timer ticks in ${seconds} s" "0" \
  "$([ "$timer" = 0 ] && echo yes || echo no)"
