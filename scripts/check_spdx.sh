#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Fails, listing them, when source files (C++, CMake, Python, shell) lack the
# line "SPDX-License-Identifier: MIT" among their first five lines. Pictures
# and other data carry no such line and are not looked at.
set -euo pipefail
cd "$(dirname "$0")/.."
missing=0
while IFS= read -r file; do
  if ! head -n 5 "$file" | grep -q 'SPDX-License-Identifier: MIT'; then
    echo "$file: no SPDX-License-Identifier: MIT line at the top" >&2
    missing=1
  fi
done < <(scripts/list_files.sh '*.cpp' '*.h' '*.in' '*.py' '*.sh' '*CMakeLists.txt' '*.cmake'
         [ -f .ci/run ] && echo .ci/run)
exit "$missing"
