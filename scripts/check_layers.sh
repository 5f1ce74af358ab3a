#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Each folder of src/ is a library that links exactly the folders its files
# include: a link nothing uses hides what a folder really needs, and an
# include reached only through another folder's links hides a dependency.
# Compares the kelvo_layer() lines of CMakeLists.txt with the includes.
set -euo pipefail
cd "$(dirname "$0")/.."
status=0
while read -r folder links; do
  linked=$(tr ' ' '\n' <<<"$links" | sed -n 's/^kelvo_//p' | sort -u | tr '\n' ' ')
  included=$(grep -rhoE '^#include "[a-z_]+/' "src/$folder" | sed -E 's/#include "//; s#/##' |
             grep -vx "$folder" | sort -u | tr '\n' ' ' || true)
  if [ "$linked" != "$included" ]; then
    echo "src/$folder: links [ $linked] but includes [ $included]" >&2
    status=1
  fi
done < <(sed -nE 's/^kelvo_layer\(([a-z_]+)(.*)\)$/\1\2/p' CMakeLists.txt)
[ "$status" -eq 0 ] && echo "layers: every folder links what it includes"
exit "$status"
