#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the picture library and its tests for 64-bit ARM and runs them
# there, emulated: the shrink's vector code is compiled for each CPU (and its
# wider sums have an x86-64 path beside the plain one), and this is the one
# CPU Debian ships that the development machines are not. In a bare
# Debian 12 root of its own (as check_fresh.sh), with Debian's cross compiler,
# the arm64 libraries beside the build machine's (multiarch) and qemu-user.
# Not part of CI: slow (emulated tests, a fresh root), needs root and the
# network.
#   scripts/check_arm64.sh [FOLDER]    FOLDER defaults to build/arm64-root
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD
. scripts/debian_root.sh

start=$SECONDS
make_root "${1:-build/arm64-root}"
put_tree "$top"
echo "== the cross compiler, qemu-user and the arm64 libraries"
in_root 'dpkg --add-architecture arm64 && apt-get update -q >/dev/null &&
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
    crossbuild-essential-arm64 cmake ninja-build pkg-config qemu-user qt6-base-dev-tools \
    qt6-base-dev:arm64 qt6-image-formats-plugins:arm64 libgl-dev:arm64 libjpeg62-turbo-dev:arm64 libxlsxwriter-dev:arm64 \
    zlib1g-dev:arm64 libpng-dev:arm64 libfreexl-dev:arm64 libgtest-dev:arm64 fonts-liberation >/dev/null'
echo "== building tests_picture and tests_downscale_portable for arm64, $((SECONDS - start)) s in"
in_root 'cmake -S . -B build/arm64 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/aarch64-linux-gnu.cmake \
  -DQT_HOST_PATH=/usr -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELVO_TESTS=ON -DKELVO_BENCH=OFF \
  -DKELVO_WERROR=ON >/dev/null &&
  cmake --build build/arm64 -j"$(nproc)" --target tests_picture tests_downscale_portable'
in_root 'file build/arm64/tests/tests_picture'
echo "== running them under qemu-aarch64, $((SECONDS - start)) s in"
status=0
in_root 'export QT_QPA_PLATFORM=offscreen QEMU_LD_PREFIX=/;
  qemu-aarch64 build/arm64/tests/tests_picture &&
  qemu-aarch64 build/arm64/tests/tests_downscale_portable' || status=$?
echo "== arm64 tests ended with $status ($((SECONDS - start)) s in all)"
exit "$status"
