# SPDX-License-Identifier: MIT
# Cross-building for 64-bit ARM with Debian's cross compiler and the arm64
# libraries installed side by side (multiarch: /usr/lib/aarch64-linux-gnu).
# Qt's own tools (moc) come from the build machine's Qt: -DQT_HOST_PATH=/usr.
# The tests run under qemu-user, which ctest and test discovery use too.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(CMAKE_C_COMPILER aarch64-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER aarch64-linux-gnu-g++)
set(CMAKE_LIBRARY_ARCHITECTURE aarch64-linux-gnu)
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/aarch64-linux-gnu/pkgconfig:/usr/share/pkgconfig)
