#!/usr/bin/env bash
# Installs what is missing, builds, starts the bundled quote service on a free loopback port
# and the viewer routed to it; the service stops when the viewer exits.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
cmake -S . -B build >/dev/null
cmake --build build -j"$(nproc)" >/dev/null

port_file=$(mktemp)
build/bin/tickwell-quotes --port 0 --quiet >"$port_file" &
service=$!
trap 'kill "$service" 2>/dev/null; rm -f "$port_file"' EXIT
for _ in $(seq 50); do [ -s "$port_file" ] && break; sleep 0.1; done
port=$(head -n 1 "$port_file")
[ -n "$port" ] || { echo "run.sh: the quote service did not start" >&2; exit 1; }

# Every host the viewer reaches on port 80 (quotes, charts, news, overview) is the service.
TICKWELL_CONNECT_TO="::127.0.0.1:${port}" build/bin/tickwell "$@"
