#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, ASan, UBSan) and runs each for SECONDS, all
# at once, then prints executions, coverage and findings per target. A finding (a crash, a
# broken invariant, a leak, a hang) fails the run; its input is kept under build-fuzz/findings.
# Usage: fuzz/run.sh [SECONDS]    (default 60)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
build=build-fuzz
./scripts/install-deps.sh
CC=clang CXX=clang++ cmake -S . -B "$build" -DTICKWELL_FUZZ=ON >/dev/null
cmake --build "$build" -j"$(nproc)" >/dev/null
fuzz/make-corpus.sh "$build/bin/tickwell-fuzz-seeds" "$build/seeds"

# A smaller quarantine: the runs allocate much and briefly; use after free is still caught.
export ASAN_OPTIONS=${ASAN_OPTIONS:-quarantine_size_mb=8}
targets=()
while read -r name longest; do
  [[ -z "$name" || "$name" == \#* ]] && continue
  targets+=("$name")
  corpus="$build/corpus/$name"
  findings="$build/findings/$name"
  mkdir -p "$corpus" "$findings"
  "$build/bin/fuzz-$name" "$corpus" "$build/seeds/$name" -max_total_time="$seconds" \
    -max_len="$longest" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$findings/" >"$build/$name.log" 2>&1 &
done <fuzz/targets.txt
wait || true

status=0
printf '%-12s %14s %9s %9s %s\n' target executions coverage features findings
for name in "${targets[@]}"; do
  log="$build/$name.log"
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
  ft=$(grep -o 'ft: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
  found=$(find "$build/findings/$name" -type f | wc -l)
  printf '%-12s %14s %9s %9s %s\n' "$name" "${execs:-?}" "${cov:-?}" "${ft:-?}" "$found"
  if [[ "$found" -ne 0 || -z "$execs" ]]; then
    status=1
    grep -E 'invariant broken|ERROR|SUMMARY' "$log" | head -5 || true
    find "$build/findings/$name" -type f | head -5
  fi
done
exit $status
