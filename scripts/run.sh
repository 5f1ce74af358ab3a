#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds kelvo (a release build) and starts it; arguments go to the program.
# Installs only what building and running it needs; the window needs a
# graphical display (DISPLAY or WAYLAND_DISPLAY).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh run
cmake --preset release
cmake --build build/release --target kelvo
exec build/release/kelvo "$@"
