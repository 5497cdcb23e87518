#!/usr/bin/env bash
# Installs what is missing, builds with the sanitizers and runs every test through ctest, then
# runs each fuzz target briefly, so that a regression in a reader of outside data fails too.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
cmake -S . -B build -DTICKWELL_SANITIZE=ON >/dev/null
cmake --build build -j"$(nproc)"
(cd build && ctest --output-on-failure -j"$(nproc)" "$@")
fuzz/run.sh 10
