#!/usr/bin/env bash
# Benchmark of a refresh: 200 rows (four requests) by the viewer's own download code against
# tickwell-quotes on loopback, beside libcurl fetching the same four targets over one kept-alive
# connection, in one run; medians of the rounds, and their ratios (aim: at most 1.3).
#   bench/refresh-bench.sh [rounds]
set -euo pipefail
cd "$(dirname "$0")/.."
rounds=${1:-25}
./scripts/install-deps.sh
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DTICKWELL_TESTS=OFF -DTICKWELL_BENCH=ON >/dev/null
cmake --build build-bench -j"$(nproc)" --target refresh_bench tickwell-quotes >/dev/null

out=$(mktemp)
build-bench/bin/tickwell-quotes --port 0 --quiet --clock 2026-12-07T15:30:00Z >"$out" &
service=$!
trap 'kill $service 2>/dev/null; rm -f "$out"' EXIT
for _ in $(seq 50); do [ -s "$out" ] && break; sleep 0.1; done
port=$(head -n1 "$out")

viewer=$(build-bench/bin/refresh_bench "$port" "$rounds")
value() { awk -v k="$1" '$1 == k {print $2}' <<<"$viewer"; }
echo "refresh of $(value rows) rows, 4 requests, medians of $rounds rounds, side by side"
echo "viewer's refresh (download, parse, save, list): $(value refresh_ms) ms"
echo "viewer's HTTP client, the 4 requests alone:     $(value http_ms) ms"
echo "libcurl, the 4 requests on one connection:      $(value curl_ms) ms"
awk -v h="$(value http_ms)" -v r="$(value refresh_ms)" -v c="$(value curl_ms)" 'BEGIN {
  printf "ratio, HTTP client / libcurl: %.2f (aim: at most 1.3)\n", h / c
  printf "ratio, whole refresh / libcurl: %.2f\n", r / c
}'
