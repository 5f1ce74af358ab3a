#!/usr/bin/env bash
# Builds kelvo and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DKELVO_TESTS=OFF -DKELVO_BENCH=OFF
cmake --build build/release --target kelvo
exec build/release/kelvo "$@"
