#!/usr/bin/env bash
# Writes the seed inputs of every fuzz target, from valid data made by the project's own code.
# Usage: fuzz/make-corpus.sh SEED_TOOL DIR
set -euo pipefail
tool=$1
dir=$2
rm -rf "$dir"
mkdir -p "$dir"
"$tool" "$dir"
