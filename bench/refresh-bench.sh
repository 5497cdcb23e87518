#!/usr/bin/env bash
# Benchmark of a refresh: 200 rows (four requests) by the viewer's own download code against
# tickwell-quotes on loopback, beside libcurl fetching the same four targets over one kept-alive
# connection, in one run; medians of the rounds, and their ratios (aim: at most 1.3).
#   bench/refresh-bench.sh [rounds]
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/lib.sh
rounds=${1:-25}
bench_build
start_service
trap 'kill $service_pid 2>/dev/null' EXIT
port=$service_port

viewer=$(build-bench/bin/refresh_bench "$port" "$rounds")
value() { awk -v k="$1" '$1 == k {print $2}' <<<"$viewer"; }
echo "refresh of $(value rows) rows, 4 requests, medians of $rounds rounds, side by side"
echo "viewer's refresh (download, parse, save, list): $(value refresh_ms) ms"
echo "viewer's HTTP client, the 4 requests alone:     $(value http_ms) ms"
echo "libcurl, the 4 requests on one connection:      $(value curl_ms) ms"
http=$(awk -v h="$(value http_ms)" -v c="$(value curl_ms)" 'BEGIN {printf "%.2f", h / c}')
whole=$(awk -v r="$(value refresh_ms)" -v c="$(value curl_ms)" 'BEGIN {printf "%.2f", r / c}')
echo "ratio, HTTP client / libcurl: $http (aim: at most 1.3)"
echo "ratio, whole refresh / libcurl: $whole"
result refresh "$http x curl ($(value http_ms) ms / $(value curl_ms) ms)" "at most 1.3 x" \
  "$(awk -v r="$http" 'BEGIN {print (r <= 1.3) ? "yes" : "no"}')"
result "refresh, whole" "$whole x curl ($(value refresh_ms) ms: download, parse, save, list)" \
  "report" "-"
