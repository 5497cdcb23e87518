#!/usr/bin/env bash
# Benchmark of the screen: filling a 200 x 19 list and drawing the screen with it.
set -euo pipefail
cd "$(dirname "$0")/.."
dpkg-query -W libbenchmark-dev >/dev/null 2>&1 || { sudo=""; [ "$(id -u)" -ne 0 ] && sudo=sudo; $sudo apt-get install -y -qq libbenchmark-dev >/dev/null; }
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DTICKWELL_TESTS=OFF -DTICKWELL_BENCH=ON >/dev/null
cmake --build build-bench -j"$(nproc)" --target render_bench >/dev/null
build-bench/bin/render_bench "$@"
