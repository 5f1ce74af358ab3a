#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Fails when a C++ source file differs from what clang-format makes of it
# (.clang-format at the top of the tree). Run `clang-format -i` on the file.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/list_files.sh '*.cpp' '*.h' | xargs clang-format --dry-run --Werror
