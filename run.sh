#!/usr/bin/env bash
# Installs what is missing, builds, starts the bundled quote service on a free loopback port
# and the viewer routed to it; the service stops when the viewer exits.
#   ./run.sh          the simulated market (offline)
#   ./run.sh --live   real quotes: Yahoo, then Finnhub and Twelve Data where a key is set
#   ./run.sh --live --upstream yahoo=URL   Yahoo's calls to URL instead (a mirror, a fake)
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh

# The two programs alone, in a build of their own: test.sh's build has the sanitizers and every
# test. The first build takes a few minutes; it says how far it is.
build=build-run
cmake -S . -B "$build" -DTICKWELL_TESTS=OFF -DTICKWELL_SANITIZE=OFF >/dev/null
build_log=$(mktemp)
if ! cmake --build "$build" -j"$(nproc)" --target tickwell tickwell-quotes 2>&1 | tee "$build_log" |
  awk '/^\[ *[0-9]+%\] (Building|Linking)/ {
         match($0, /[0-9]+%/)
         done = substr($0, RSTART, RLENGTH - 1) + 0
         if (!shown || done > most) most = done
         printf "\rBuilding Tickwell (the first time takes a few minutes)... %3d%%", most
         shown = 1
         fflush()
       }
       END { if (shown) print "" }'; then
  echo "run.sh: the build failed:" >&2
  tail -n 30 "$build_log" >&2
  rm -f "$build_log"
  exit 1
fi
rm -f "$build_log"

# --live picks the live sources: Yahoo needs no key; a keyed source joins the chain when its key
# is in the environment or in the service's config file.
sources=simulated
viewer_args=()
config="${XDG_CONFIG_HOME:-$HOME/.config}/tickwell/quotes.conf"
has_key() {
    [ -n "${!1:-}" ] || { [ -r "$config" ] && grep -Eq "^[[:space:]]*$1[[:space:]]*=[[:space:]]*[^[:space:]#]" "$config"; }
}
service_args=()
while [ $# -gt 0 ]; do
    if [ "$1" = "--live" ]; then
        sources=yahoo
        has_key FINNHUB_API_KEY && sources+=,finnhub
        has_key TWELVEDATA_API_KEY && sources+=,twelvedata
    elif [ "$1" = "--upstream" ] && [ $# -gt 1 ]; then
        # A source's calls to another base URL (a mirror, or bench/fake_upstream.py offline).
        service_args+=(--upstream "$2")
        shift
    else
        viewer_args+=("$1")
    fi
    shift
done

port_file=$(mktemp)
service_log=$(mktemp)
# The service's own messages go to a file: written to the terminal, they would land on the
# viewer's screen.
"$build/bin/tickwell-quotes" --port 0 --quiet --source "$sources" ${service_args[@]+"${service_args[@]}"} \
  >"$port_file" 2>"$service_log" &
service=$!
trap 'kill "$service" 2>/dev/null; rm -f "$port_file" "$service_log"' EXIT
for _ in $(seq 50); do [ -s "$port_file" ] && break; sleep 0.1; done
port=$(head -n 1 "$port_file")
[ -n "$port" ] || { echo "run.sh: the quote service did not start" >&2; cat "$service_log" >&2; exit 1; }

# With live sources, up to 3 s for the service's first look at their hosts: one line before the
# viewer starts when none can be reached.
if [ "$sources" != simulated ]; then
  status=""
  for _ in $(seq 30); do
    status=$(curl -s --max-time 1 "http://127.0.0.1:${port}/status" || true)
    [ -n "$status" ] && ! grep -q ': checking' <<<"$status" && break
    sleep 0.1
  done
  # Every source unreachable; one that answers in any way (ok, backing off, blocked...) is there.
  if [ -n "$status" ] && ! grep -v ': unreachable' <<<"$status" | grep -q .; then
    echo "tickwell: no live quote source can be reached (is the network up?); the list keeps its last quotes"
    sleep 2  # long enough to read before the viewer takes the screen
  fi
fi

# Every host the viewer reaches on port 80 (quotes, charts, news, overview) is the service.
TICKWELL_CONNECT_TO="::127.0.0.1:${port}" "$build/bin/tickwell" ${viewer_args[@]+"${viewer_args[@]}"}
