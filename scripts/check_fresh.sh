#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs the README's test command on a bare Debian 12, as a new contributor's
# machine would: builds a minimal root with `debootstrap --variant=minbase
# bookworm` from this machine's own Debian mirror, unpacks the committed tree
# into it, and runs there, as root, scripts/run.sh (which must build and start
# the tool with only the packages it installs itself) and then scripts/test.sh.
# A package that scripts/deps.sh forgets, and that this machine happens to
# have, fails here. Slow (half an hour or more), so not part of CI. Needs root
# and the network.
#   scripts/check_fresh.sh [FOLDER]    FOLDER defaults to build/fresh; it is
#                                      emptied first, and kept afterwards
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD
. scripts/debian_root.sh

start=$SECONDS
make_root "${1:-build/fresh}"
put_tree "$top"
# First the README's first command, with only the packages it installs: it
# builds the tool, which then starts (no display here: offscreen) and runs
# until it is stopped.
echo "== scripts/run.sh in the fresh root (commit $(git -C "$top" rev-parse --short HEAD))"
in_root 'scripts/run.sh --version'
in_root 'QT_QPA_PLATFORM=offscreen timeout 10 build/release/kelvo; test $? = 124' ||
  { echo "$0: the tool built by scripts/run.sh did not keep running" >&2; exit 1; }
echo "== scripts/test.sh in the fresh root, $((SECONDS - start)) s in"
test_start=$SECONDS
status=0
in_root scripts/test.sh || status=$?
echo "== scripts/test.sh ended with $status after $((SECONDS - test_start)) s" \
     "($((SECONDS - start)) s in all)"
exit "$status"
