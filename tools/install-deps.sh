#!/usr/bin/env bash
# Installs what building and testing Lexoria needs on a Debian 12 machine: the MinGW-w64 i686
# cross compilers (and their 64-bit twins), 32-bit Wine through i386 multiarch and 64-bit Wine
# (for machines that run no 32-bit code; see wine-env.sh), Xvfb, and GoogleTest sources.
# Does nothing when everything is already there.
set -euo pipefail

need=()
# The win32 thread model's compilers (see cmake/mingw-cross.cmake).
command -v i686-w64-mingw32-g++-win32 >/dev/null ||
  need+=(g++-mingw-w64-i686-win32 binutils-mingw-w64-i686)
command -v x86_64-w64-mingw32-g++-win32 >/dev/null ||
  need+=(g++-mingw-w64-x86-64-win32 binutils-mingw-w64-x86-64)
command -v cmake >/dev/null || need+=(cmake)
command -v make >/dev/null || need+=(make)
command -v xvfb-run >/dev/null || need+=(xvfb xauth)
command -v import >/dev/null || need+=(imagemagick)
command -v halibut >/dev/null || need+=(halibut)
command -v makensis >/dev/null || need+=(nsis)
command -v unzip >/dev/null || need+=(unzip zip)
command -v xwininfo >/dev/null || need+=(x11-utils)
# Metric-compatible faces for the Times New Roman and Arial fonts the window asks for.
[ -d /usr/share/fonts/truetype/liberation ] || need+=(fonts-liberation)
# Glyphs for Japanese and Chinese words, which Wine's font fallback takes in place of SimSun.
[ -f /usr/share/fonts/truetype/wqy/wqy-microhei.ttc ] || need+=(fonts-wqy-microhei)
[ -f /usr/src/googletest/CMakeLists.txt ] || need+=(googletest)
command -v g++ >/dev/null || need+=(g++)
# zlib compresses the icon's large images (tools/artwork/mkicon.cpp).
[ -f /usr/include/zlib.h ] || need+=(zlib1g-dev)
command -v clang++ >/dev/null || need+=(clang)
command -v clang-format >/dev/null || need+=(clang-format)
dpkg -s libclang-rt-14-dev >/dev/null 2>&1 || need+=(libclang-rt-14-dev)
[ -e /usr/lib/wine/wine ] || [ -e /usr/lib/wine/wine32 ] || need+=(wine)
dpkg -s wine32:i386 >/dev/null 2>&1 || need+=(wine32:i386)
[ -e /usr/lib/wine/wine64 ] || need+=(wine64)

[ ${#need[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages: ${need[*]}; run as root or install them." >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
