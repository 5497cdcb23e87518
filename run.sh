#!/usr/bin/env bash
# Installs what is missing, builds, and runs the viewer against the bundled quote service.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
cmake -S . -B build >/dev/null
cmake --build build -j"$(nproc)" >/dev/null
if [ ! -x build/bin/tickwell ]; then
  echo "The viewer arrives with the window system; the portfolio core is built and tested (./test.sh)."
  exit 0
fi
exec build/bin/tickwell "$@"
