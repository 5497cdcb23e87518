# Shared by the benchmark commands: what they need installed, the Release build they measure,
# the quote service on loopback, and the one line each ends with for bench/all.sh:
#   result <figure>|<value>|<goal>|<holds: yes, no or ->
# Sourced, not run.

bench_deps() {
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo=sudo
  echo "Installing: ${missing[*]}" >&2
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
  # The nginx package starts a server of its own; the benchmark runs its own instead.
  if printf '%s\n' "${missing[@]}" | grep -q '^nginx'; then
    $sudo service nginx stop >/dev/null 2>&1 || true
  fi
}

bench_build() {
  ./scripts/install-deps.sh
  bench_deps libbenchmark-dev
  cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DTICKWELL_TESTS=OFF -DTICKWELL_BENCH=ON \
    >/dev/null
  cmake --build build-bench -j"$(nproc)" >/dev/null
}

# Starts tickwell-quotes, one event loop, on a free port (on the cores in $1, if given); sets
# $service_pid and $service_port.
start_service() {
  local cores=${1:-}
  local out
  out=$(mktemp)
  local pin=()
  [ -n "$cores" ] && pin=(taskset -c "$cores")
  "${pin[@]}" build-bench/bin/tickwell-quotes --port 0 --quiet --threads 1 \
    --clock 2026-12-07T15:30:00Z >"$out" &
  service_pid=$!
  for _ in $(seq 50); do [ -s "$out" ] && break; sleep 0.1; done
  service_port=$(head -n1 "$out")
  rm -f "$out"
}

# wrk on core 1 against URL with $connections kept-alive connections for $seconds; prints the
# requests a second and the p99 latency.
wrk_load() {
  taskset -c 1 wrk -t1 -c"$connections" -d"${seconds}s" --latency "$@" |
    awk '/Requests\/sec/ {r=$2} / 99%/ {p=$2} END {print r, p}'
}

result() {
  echo "result $1|$2|$3|$4"
}
