#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs the README's test command on a bare Debian 12, as a new contributor's
# machine would: builds a minimal root with `debootstrap --variant=minbase
# bookworm` from this machine's own Debian mirror, unpacks the committed tree
# (git archive HEAD: uncommitted changes are not tested) into it, and runs
# there, as root, scripts/run.sh (which must build and start the tool with
# only the packages it installs itself) and then scripts/test.sh. A package
# that scripts/deps.sh forgets, and that this machine happens to have, fails
# here. Slow (half an hour or more),
# so not part of CI. Needs root and the network.
#   scripts/check_fresh.sh [FOLDER]    FOLDER defaults to build/fresh; it is
#                                      emptied first, and kept afterwards
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD
root=$(realpath -m "${1:-build/fresh}")
[ "$(id -u)" -eq 0 ] || { echo "$0: needs root (debootstrap, chroot, mount)" >&2; exit 1; }

# The first Debian bookworm mirror named in the apt sources, one-line or deb822.
find_mirror() {
  cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null |
    awk '$1 == "deb" { sub(/^deb[ \t]+(\[[^]]*\][ \t]+)?/, ""); split($0, w)
                       if (w[2] == "bookworm") { print w[1]; exit } }'
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    awk 'BEGIN { RS = "" }
         { uri = ""; deb = 0; suite = 0; off = 0; n = split($0, line, "\n")
           for (i = 1; i <= n; i++) {
             if (line[i] ~ /^Types:/ && line[i] ~ /[ \t]deb([ \t]|$)/) deb = 1
             if (line[i] ~ /^Suites:/ && line[i] ~ /[ \t]bookworm([ \t]|$)/) suite = 1
             if (line[i] ~ /^Enabled:[ \t]*no/) off = 1
             if (line[i] ~ /^URIs:/) { split(line[i], w); uri = w[2] } }
           if (deb && suite && !off && uri != "") { print uri; exit } }' "$f"
  done
}
mirror=$(find_mirror | head -n 1)
[ -n "$mirror" ] || { echo "$0: no Debian bookworm mirror in /etc/apt/sources*" >&2; exit 1; }

mounts_under() { awk -v r="$1" '$2 == r || index($2, r "/") == 1 { print $2 }' /proc/mounts | sort -r; }

cleanup() {
  # Whatever the run left behind in the root (an X server of a failed test)
  # would keep its mounts busy.
  local p
  for p in /proc/[0-9]*; do
    [ "$(readlink "$p/root" 2>/dev/null)" = "$root" ] && kill -9 "${p#/proc/}" 2>/dev/null
  done
  local m
  for m in $(mounts_under "$root"); do umount "$m" 2>/dev/null || umount -l "$m"; done
}

if [ -n "$(mounts_under "$root")" ]; then
  echo "$0: $root still has file systems mounted; unmount them first" >&2
  exit 1
fi
command -v debootstrap >/dev/null || { apt-get update && apt-get install -y debootstrap; }
git diff --quiet HEAD || echo "note: uncommitted changes are not part of the check" >&2

start=$SECONDS
rm -rf "$root"
mkdir -p "$root"
echo "== debootstrap --variant=minbase bookworm from $mirror into $root"
debootstrap --variant=minbase bookworm "$root" "$mirror" >"$root.debootstrap.log" 2>&1 ||
  { tail -n 30 "$root.debootstrap.log"; exit 1; }
echo "== root built in $((SECONDS - start)) s"

trap cleanup EXIT
trap "exit 130" INT TERM
cp /etc/resolv.conf "$root/etc/resolv.conf"
mount -t proc proc "$root/proc"
mount -t devpts -o newinstance,ptmxmode=0666 devpts "$root/dev/pts"
mount -t tmpfs -o mode=1777 tmpfs "$root/dev/shm"

mkdir "$root/kelvo"
git -C "$top" archive --format=tar HEAD | tar -x -C "$root/kelvo"
in_root() {
  chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM=dumb \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin bash -c "cd /kelvo && $1"
}
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
