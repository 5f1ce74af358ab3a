#!/usr/bin/env bash
# Builds kelvo with its tests and benchmarks, and runs every test: the unit and
# widget tests on the offscreen platform, the end-to-end tests under Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELVO_TESTS=ON -DKELVO_BENCH=ON
cmake --build build/test -j"$(nproc)"
cd build/test
ctest --output-on-failure -j"$(nproc)" --timeout 900
