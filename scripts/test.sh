#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# What CI runs. Builds kelvo with its tests and benchmarks (GCC, warnings are
# errors) and runs every test in a random order: each unit and widget test on
# its own, each test binary whole in a shuffled order twice over, and the
# end-to-end tests under Xvfb. Then builds the unit tests and the fuzz targets
# with clang, AddressSanitizer and UndefinedBehaviorSanitizer, runs the tests
# there, and runs each fuzz target for a short fixed time.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh test
scripts/check_format.sh
scripts/check_spdx.sh
scripts/check_layers.sh
jobs=$(nproc)

cmake --preset test
cmake --build build/test -j"$jobs"
(cd build/test && ctest --output-on-failure -j"$jobs" --timeout 900 --schedule-random)

scripts/sanitize.sh
scripts/fuzz.sh "${KELVO_FUZZ_SECONDS:-20}" build/sanitize
