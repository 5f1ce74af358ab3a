#!/usr/bin/env bash
# Builds kelvo and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake --preset release
cmake --build build/release --target kelvo
exec build/release/kelvo "$@"
