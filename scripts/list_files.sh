#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Lists the project's files matching the given name patterns ('*.cpp' ...),
# relative to the top of the tree: the files git tracks in a clone, every
# file outside the build folders in an unpacked archive of the tree.
set -euo pipefail
cd "$(dirname "$0")/.."
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  git ls-files -- "$@"
else
  names=()
  for pattern in "$@"; do names+=(${names:+-o} -name "$pattern"); done
  find . -path './build*' -prune -o -path './.git' -prune -o -type f \( "${names[@]}" \) -print |
    sed 's|^\./||' | sort
fi
