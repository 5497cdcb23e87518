#!/usr/bin/env bash
# Benchmark of the quote service: 50-symbol requests over kept-alive loopback connections,
# the service on one core and wrk on another. Prints requests per second and p99 latency.
#   bench/quotes-bench.sh [seconds] [connections]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-10}
connections=${2:-32}
command -v wrk >/dev/null || { sudo=""; [ "$(id -u)" -ne 0 ] && sudo=sudo; $sudo apt-get install -y -qq wrk >/dev/null; }
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DTICKWELL_TESTS=OFF >/dev/null
cmake --build build-bench -j"$(nproc)" --target tickwell-quotes >/dev/null

out=$(mktemp)
taskset -c 0 build-bench/bin/tickwell-quotes --port 0 --quiet --threads "$connections" \
  --clock 2026-12-07T15:30:00Z >"$out" &
service=$!
trap 'kill $service 2>/dev/null; rm -f "$out"' EXIT
for _ in $(seq 50); do [ -s "$out" ] && break; sleep 0.1; done
port=$(head -n1 "$out")

symbols="MSFT,AAPL,GOOG,AMZN,IBM,INTC,CSCO,ORCL,GE,F,GM,T,XOM,WMT,KO,PEP,JNJ,PG,MRK,PFE"
symbols+=",BA,CAT,DIS,MCD,HD,JPM,C,BAC,WFC,AXP,RY.TO,TD.TO,VOD.L,HSBA.L,BP.L,SAP.DE,SIE.DE"
symbols+=",0005.HK,0700.HK,BHP.AX,CBA.AX,MC.PA,OR.PA,NESN.SW,ASML.AS,2330.TW,005930.KS"
symbols+=",^GSPC,EURUSD=X,XQZW"
path="/d/quotes.csv?s=%22${symbols}%22&d=t&f=sperl1c1p2vj1kjd1t1ghnj2"
echo "50-symbol requests, $connections kept-alive connections, service on one core, ${seconds}s"
taskset -c 1 wrk -t1 -c"$connections" -d"${seconds}s" --latency "http://127.0.0.1:${port}${path}" |
  awk '/Requests\/sec/ {print "requests/s: " $2} / 99%/ {print "p99 latency: " $2} /Socket errors|Non-2xx/ {print}'
