#!/usr/bin/env bash
# Installs what the project needs on a fresh Debian 12 machine (run as root).
# Skips the package steps when every tool is already there.
set -euo pipefail
say() { printf '==> %s\n' "$*"; }
fail() { printf 'setup: %s\n' "$*" >&2; exit 1; }

need_install=0
for tool in i686-w64-mingw32-g++-posix i686-w64-mingw32-windres wine xvfb-run xauth cmake zip unzip g++; do
  command -v "$tool" >/dev/null 2>&1 || need_install=1
done
[ -f /usr/src/googletest/CMakeLists.txt ] || need_install=1
[ -f /usr/include/stb/stb_image_write.h ] || need_install=1
dpkg -s wine32:i386 >/dev/null 2>&1 || need_install=1
# Wine animates cursors on the X display only with the 32-bit libXcursor; the
# native program that watches the display needs the X and XFixes headers.
for package in libxcursor1:i386 libx11-dev libxfixes-dev; do
  dpkg -s "$package" >/dev/null 2>&1 || need_install=1
done
# The native fuzz targets: clang with its sanitizer and fuzzer runtimes, and
# the i386 C and C++ libraries for 32-bit builds.
for package in clang libclang-rt-14-dev gcc-multilib lib32stdc++-12-dev; do
  dpkg -s "$package" >/dev/null 2>&1 || need_install=1
done

if [ "$need_install" = 1 ]; then
  [ "$(id -u)" = 0 ] || fail "missing packages; run this script as root to install them"
  say "adding the i386 architecture (for 32-bit Wine)"
  dpkg --add-architecture i386
  say "apt-get update"
  apt-get update -q || fail "apt-get update failed"
  say "installing the cross compiler, Wine (with its 32-bit libXcursor), Xvfb, CMake, GoogleTest, stb, clang and the X headers"
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
    g++-mingw-w64-i686 binutils-mingw-w64-i686 wine wine32:i386 xvfb xauth \
    cmake make g++ googletest libstb-dev zip unzip ca-certificates \
    clang libclang-rt-14-dev gcc-multilib lib32stdc++-12-dev \
    libxcursor1:i386 libx11-dev libxfixes-dev \
    || fail "apt-get install failed"
else
  say "all packages present"
fi
