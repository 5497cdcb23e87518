#!/usr/bin/env bash
# The quote service: 50-symbol requests over kept-alive loopback connections with wrk, the
# service on one core (one event loop) and wrk on the other; beside it, in the same run, nginx
# on the same core serving a static file of the same reply's size. Goal: at least 0.5 times
# nginx's requests/s; goal: the same with every request different (none answered from the memo
# of the current second) at least 0.5 times; and, goal: with 64 silent connections and 8 that
# send a head a line a second, an ordinary request still answered in under 100 ms.
#   bench/quotes-bench.sh [seconds] [connections]
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/lib.sh
seconds=${1:-10}
connections=${2:-32}
bench_build
bench_deps wrk nginx-light
work=$(mktemp -d)
chmod 755 "$work"
start_service 0
nginx_pid=""
trap 'kill $service_pid 2>/dev/null; [ -n "$nginx_pid" ] && kill $nginx_pid 2>/dev/null; rm -rf "$work"' EXIT

symbols="MSFT,AAPL,GOOG,AMZN,IBM,INTC,CSCO,ORCL,GE,F,GM,T,XOM,WMT,KO,PEP,JNJ,PG,MRK,PFE"
symbols+=",BA,CAT,DIS,MCD,HD,JPM,C,BAC,WFC,AXP,RY.TO,TD.TO,VOD.L,HSBA.L,BP.L,SAP.DE,SIE.DE"
symbols+=",0005.HK,0700.HK,BHP.AX,CBA.AX,MC.PA,OR.PA,NESN.SW,ASML.AS,2330.TW,005930.KS"
symbols+=",^GSPC,EURUSD=X,XQZW"
path="/d/quotes.csv?s=%22${symbols}%22&d=t&f=sperl1c1p2vj1kjd1t1ghnj2"

# nginx, one worker on the same core, serving the same reply as a file.
mkdir -p "$work/www"
curl -s "http://127.0.0.1:${service_port}${path}" >"$work/www/quotes.csv"
nginx_port=$((20000 + RANDOM % 20000))
cat >"$work/nginx.conf" <<CONF
worker_processes 1;
daemon off;
pid $work/nginx.pid;
error_log $work/error.log;
events { worker_connections 1024; }
http {
  access_log off;
  keepalive_requests 10000000;
  server {
    listen 127.0.0.1:$nginx_port;
    root $work/www;
    location / { default_type text/plain; }
  }
}
CONF
taskset -c 0 nginx -c "$work/nginx.conf" -p "$work" &
nginx_pid=$!
for _ in $(seq 50); do curl -sf "http://127.0.0.1:$nginx_port/quotes.csv" >/dev/null && break; sleep 0.1; done

read -r service_rps service_p99 < <(wrk_load "http://127.0.0.1:${service_port}${path}")
read -r nginx_rps nginx_p99 < <(wrk_load "http://127.0.0.1:${nginx_port}/quotes.csv")
read -r new_rps new_p99 < <(wrk_load -s bench/every-request-new.lua \
  "http://127.0.0.1:${service_port}${path}")
read -r _ crowd_median crowd_max < <(python3 bench/crowd.py "$service_port" "$path")
ratio=$(awk -v s="$service_rps" -v n="$nginx_rps" 'BEGIN {printf "%.2f", s / n}')
new_ratio=$(awk -v s="$new_rps" -v n="$nginx_rps" 'BEGIN {printf "%.2f", s / n}')
echo "50-symbol requests, $connections kept-alive connections, one core each, ${seconds}s"
echo "tickwell-quotes: $service_rps requests/s, p99 $service_p99"
echo "nginx, the same bytes as a static file: $nginx_rps requests/s, p99 $nginx_p99"
echo "ratio: $ratio (goal: at least 0.5)"
echo "tickwell-quotes, every request different: $new_rps requests/s, p99 $new_p99" \
  "($new_ratio x; goal: at least 0.5)"
echo "an ordinary request beside 64 silent and 8 dawdling connections: median" \
  "$crowd_median ms, slowest $crowd_max ms (goal: under 100 ms)"
result service "$ratio x nginx ($service_rps / $nginx_rps; p99 $service_p99 / $nginx_p99)" \
  "at least 0.5 x" "$(awk -v r="$ratio" 'BEGIN {print (r >= 0.5) ? "yes" : "no"}')"
result "service, all new" "$new_ratio x nginx ($new_rps requests/s, p99 $new_p99)" \
  "at least 0.5 x" "$(awk -v r="$new_ratio" 'BEGIN {print (r >= 0.5) ? "yes" : "no"}')"
result "service, crowd" "slowest of 50: $crowd_max ms (median $crowd_median ms)" \
  "under 100 ms" "$(awk -v m="$crowd_max" 'BEGIN {print (m < 100) ? "yes" : "no"}')"
