#!/usr/bin/env bash
# The relay's cached answers beside the simulated market's: the same 50-symbol request with wrk
# over kept-alive loopback connections, the service on one core and wrk on the other, first with
# --source simulated, then with --source yahoo against a local stand-in for Yahoo (every answer
# from the cache after the first). Goal: the relay at least 0.8 times the simulated market. Both
# run without their request log. Also counts the upstream calls of a 200-row refresh, on a
# logged relay of its own.
#   bench/relay-bench.sh [seconds] [connections]
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/lib.sh
seconds=${1:-10}
connections=${2:-32}
bench_build
bench_deps wrk
work=$(mktemp -d)
pids=()
trap 'kill "${pids[@]}" 2>/dev/null; rm -rf "$work"' EXIT

python3 bench/fake_upstream.py tests/data/upstream/yahoo-quote-v7-AAPL-MSFT.json >"$work/up" &
pids+=($!)
for _ in $(seq 50); do [ -s "$work/up" ] && break; sleep 0.1; done
upstream=$(head -n1 "$work/up")

# Starts the service with the given sources; sets $served to its port. (Not run in a
# subshell: the trap must know every process to stop.)
serve() {
  rm -f "$work/port"
  taskset -c 0 build-bench/bin/tickwell-quotes --port 0 --threads 1 --max-age 3600 \
    --clock 2026-12-07T15:30:00Z "$@" >"$work/port" 2>"$work/log" &
  pids+=($!)
  for _ in $(seq 50); do [ -s "$work/port" ] && break; sleep 0.1; done
  served=$(head -n1 "$work/port")
}

symbols=""
for i in $(seq 1000 1049); do symbols+="${symbols:+,}R$i"; done
path="/d/quotes.csv?s=%22${symbols}%22&d=t&f=sperl1c1p2vj1kjd1t1ghnj2"

serve --quiet --source simulated
simulated=$served
read -r sim_rps sim_p99 < <(wrk_load "http://127.0.0.1:${simulated}${path}")
serve --quiet --source yahoo --upstream "yahoo=http://127.0.0.1:${upstream}"
relay=$served
curl -sf "http://127.0.0.1:${relay}${path}" >/dev/null  # fills the cache
read -r relay_rps relay_p99 < <(wrk_load "http://127.0.0.1:${relay}${path}")
serve --source yahoo --upstream "yahoo=http://127.0.0.1:${upstream}"
relay=$served
curl -sf "http://127.0.0.1:${relay}${path}" >/dev/null  # makes the session
calls_before=$(grep -c '^upstream ' "$work/log" || true)
for batch in 0 1 2 3; do  # a 200-row refresh: four requests of 50 new symbols
  list=""
  for i in $(seq $((2000 + batch * 50)) $((2049 + batch * 50))); do list+="${list:+,}R$i"; done
  curl -sf "http://127.0.0.1:${relay}/d/quotes.csv?s=%22${list}%22&f=sl1" >/dev/null
done
calls=$(( $(grep -c '^upstream ' "$work/log") - calls_before ))

ratio=$(awk -v r="$relay_rps" -v s="$sim_rps" 'BEGIN {printf "%.2f", r / s}')
echo "50-symbol requests, $connections kept-alive connections, one core each, ${seconds}s"
echo "simulated market: $sim_rps requests/s, p99 $sim_p99"
echo "relay, cached answers: $relay_rps requests/s, p99 $relay_p99 ($ratio x the simulated;" \
  "goal: at least 0.8)"
echo "upstream calls for a 200-row refresh: $calls"
result relay "$ratio x simulated ($relay_rps / $sim_rps requests/s); $calls calls a 200-row refresh" \
  "at least 0.8 x" "$(awk -v r="$ratio" 'BEGIN {print (r >= 0.8) ? "yes" : "no"}')"
