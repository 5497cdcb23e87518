#!/usr/bin/env bash
# Memory: peak resident set (VmHWM) of the Release viewer after its start and one refresh of
# 200 rows against the quote service. Goal: at most 6 MB.
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/lib.sh
bench_build
start_service
trap 'kill $service_pid 2>/dev/null' EXIT
kb=$(build-bench/bin/viewer_bench memory build-bench/bin/tickwell "$service_port" |
  awk '$1 == "peak_rss_kb" {print $2}')
mb=$(awk -v k="$kb" 'BEGIN {printf "%.1f", k / 1024}')
echo "peak resident set after start and one refresh: $kb kB ($mb MB)"
result memory "$mb MB" "at most 6 MB" "$(awk -v k="$kb" 'BEGIN {print (k <= 6144) ? "yes" : "no"}')"
