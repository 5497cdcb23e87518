#!/usr/bin/env bash
# Every speed and memory goal: builds the Release build once, runs each benchmark command and
# prints one table of figure, value, goal and whether it holds, then "N of M goals hold".
# Each benchmark is also a command of its own: bench/start-bench.sh, refresh-bench.sh,
# idle-bench.sh, memory-bench.sh, render-bench.sh, quotes-bench.sh, relay-bench.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/lib.sh
bench_build
bench_deps wrk nginx-light curl

results=$(mktemp)
trap 'rm -f "$results"' EXIT
for bench in start-bench refresh-bench idle-bench memory-bench render-bench quotes-bench relay-bench; do
  echo "== bench/$bench.sh"
  output=$(bench/$bench.sh)
  grep -v '^result ' <<<"$output" || true
  sed -n 's/^result //p' <<<"$output" >>"$results"
done

echo
printf '%-20s %-58s %-16s %s\n' figure value goal holds
held=0
goals=0
while IFS='|' read -r figure value goal holds; do
  printf '%-20s %-58s %-16s %s\n' "$figure" "$value" "$goal" "$holds"
  if [ "$holds" != "-" ]; then
    goals=$((goals + 1))
    [ "$holds" = yes ] && held=$((held + 1))
  fi
done <"$results"
echo "$held of $goals goals hold"
