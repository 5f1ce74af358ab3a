#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs each fuzz target for SECONDS (default 300), one after the other, from
# the generated seeds and the corpus kept from earlier runs in
# BUILD/fuzz-corpus. A crash, a hang (10 s on one input), a sanitizer report
# or a failed expectation stops the run; the input is left in
# BUILD/fuzz-findings for the regression tests.
#   scripts/fuzz.sh [SECONDS] [BUILD]      BUILD defaults to build/sanitize
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-300}
build=${2:-build/sanitize}
targets=(fuzz_picture fuzz_scale_file fuzz_numbers fuzz_typed_text fuzz_workbook fuzz_read_workbook)

missing=0
for t in "${targets[@]}"; do [ -x "$build/fuzz/$t" ] || missing=1; done
if [ "$missing" = 1 ]; then
  cmake --preset sanitize -B "$build"
  cmake --build "$build" -j"$(nproc)" --target "${targets[@]}"
fi

seeds="$build/fuzz-seeds"
scripts/fuzz_seeds.py "$seeds" "$build/fuzz"
mkdir -p "$build/fuzz-findings"
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export QT_QPA_PLATFORM=offscreen
for t in "${targets[@]}"; do
  corpus="$build/fuzz-corpus/$t"
  mkdir -p "$corpus"
  # Inputs that once found a fault are replayed first, every run.
  kept=()
  [ "$t" = fuzz_picture ] && kept=(fuzz/findings)
  log="$build/fuzz-findings/$t.log"
  echo "== $t, $seconds s"
  # Memory: each run may hold 2 GB; a single allocation past 1 GB is a finding.
  if ! "$build/fuzz/$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -malloc_limit_mb=1024 -print_final_stats=1 \
        -artifact_prefix="$build/fuzz-findings/$t-" "$corpus" "$seeds/$t" "${kept[@]}" >"$log" 2>&1; then
    tail -n 60 "$log"
    echo "$t: finding kept in $build/fuzz-findings/" >&2
    exit 1
  fi
  grep -E "stat::number_of_executed_units|stat::peak_rss_mb" "$log" | tr '\n' ' '
  echo
done
