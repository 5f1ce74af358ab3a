#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the Debian 12 packages kelvo needs, when any is missing. Run as
# root (or with sudo available).
#   scripts/deps.sh run     what building and running the tool needs
#   scripts/deps.sh test    that, and what its tests, checks and packaging need
set -euo pipefail

# Compiler, CMake, Qt (with the X11 platform plugin and the TIFF/WebP readers),
# libjpeg-turbo, libpng (the exported picture as a PNG), the workbook libraries (libxlsxwriter links zlib, and its
# -dev package does not bring zlib's) and the fonts the panel is designed in.
run_packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-qpa-plugins qt6-image-formats-plugins libgl-dev
  libjpeg62-turbo-dev libpng-dev libxlsxwriter-dev zlib1g-dev libfreexl-dev
  fonts-liberation
)
# GoogleTest and Benchmark; clang with its sanitizer and fuzzer runtime; the
# X server, window manager and tools the end-to-end tests drive the window
# with; independent readers of what the tool writes; the package checks.
test_packages=(
  clang-format
  libgtest-dev libgmock-dev libbenchmark-dev
  clang-14 libclang-rt-14-dev
  xvfb xdotool openbox imagemagick x11-utils
  python3 python3-xlrd python3-xlwt python3-pil python3-openpyxl libjpeg-turbo-progs locales
  file desktop-file-utils shared-mime-info appstream lintian
)

case "${1:-test}" in
  run) packages=("${run_packages[@]}") ;;
  test) packages=("${run_packages[@]}" "${test_packages[@]}") ;;
  *) echo "usage: $0 run|test" >&2; exit 2 ;;
esac

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
