#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the unit and widget tests and the fuzz targets with clang,
# AddressSanitizer and UndefinedBehaviorSanitizer (warnings are errors), and
# runs the tests there; any report fails the run. The end-to-end tests are
# left to the ordinary build.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
cmake --preset sanitize
cmake --build build/sanitize -j"$jobs"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
(cd build/sanitize && ctest --output-on-failure -j"$jobs" --timeout 900 --schedule-random -E '^e2e_')
