# SPDX-License-Identifier: MIT
# Sourced by the scripts that work in a bare Debian 12 root of their own
# (check_fresh.sh, check_arm64.sh): nothing installed on this machine by
# chance can make them pass. Defines make_root ROOT (debootstrap, then the
# mounts a build and its tests need; undone on exit) and in_root COMMAND (runs
# COMMAND as root at /kelvo inside it, with a clean environment). Needs root
# and the network.

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

mounts_under() { awk -v r="$1" '$2 == r || index($2, r "/") == 1 { print $2 }' /proc/mounts | sort -r; }

root_cleanup() {
  # Whatever a run left behind in the root (an X server of a failed test)
  # would keep its mounts busy.
  local p m
  for p in /proc/[0-9]*; do
    [ "$(readlink "$p/root" 2>/dev/null)" = "$root" ] && kill -9 "${p#/proc/}" 2>/dev/null
  done
  for m in $(mounts_under "$root"); do umount "$m" 2>/dev/null || umount -l "$m"; done
}

# make_root ROOT: a minimal bookworm in ROOT (emptied first), mounted for use.
make_root() {
  root=$(realpath -m "$1")
  if [ -n "$(mounts_under "$root")" ]; then
    echo "$0: $root still has file systems mounted; unmount them first" >&2
    exit 1
  fi
  local mirror
  mirror=$(find_mirror | head -n 1)
  [ -n "$mirror" ] || { echo "$0: no Debian bookworm mirror in /etc/apt/sources*" >&2; exit 1; }
  command -v debootstrap >/dev/null || { apt-get update && apt-get install -y debootstrap; }
  local start=$SECONDS
  rm -rf "$root"
  mkdir -p "$root"
  echo "== debootstrap --variant=minbase bookworm from $mirror into $root"
  debootstrap --variant=minbase bookworm "$root" "$mirror" >"$root.debootstrap.log" 2>&1 ||
    { tail -n 30 "$root.debootstrap.log"; exit 1; }
  echo "== root built in $((SECONDS - start)) s"
  trap root_cleanup EXIT
  trap "exit 130" INT TERM
  cp /etc/resolv.conf "$root/etc/resolv.conf"
  mount -t proc proc "$root/proc"
  mount -t devpts -o newinstance,ptmxmode=0666 devpts "$root/dev/pts"
  mount -t tmpfs -o mode=1777 tmpfs "$root/dev/shm"
}

# put_tree TOP: the committed tree of the clone at TOP (git archive HEAD:
# uncommitted changes are not part of the check) as /kelvo in the root.
put_tree() {
  git -C "$1" diff --quiet HEAD || echo "note: uncommitted changes are not part of the check" >&2
  mkdir "$root/kelvo"
  git -C "$1" archive --format=tar HEAD | tar -x -C "$root/kelvo"
}

in_root() {
  chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM=dumb \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin bash -c "cd /kelvo && $1"
}
