#!/usr/bin/env bash
# Installs the Debian 12 packages kelvo needs to build, run and test, when any
# is missing. Run as root (or with sudo available).
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config clang-format
  qt6-base-dev qt6-base-dev-tools qt6-image-formats-plugins libqt6opengl6-dev libgl-dev
  libjpeg62-turbo-dev
  fonts-liberation
  libgtest-dev libgmock-dev libbenchmark-dev
  python3 python3-xlrd python3-pil libjpeg-turbo-progs
  xvfb xdotool openbox imagemagick x11-utils
  clang-14 libclang-rt-14-dev libfreexl-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi
