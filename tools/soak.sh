#!/usr/bin/env bash
# The soak run: builds Lexoria.exe and the soak program only, then presses "&Next Word" 10,000
# times on a 4000-entry list under Wine, checking the rotation and that memory and handle counts
# stay flat, and prints the figures. Not part of `make test`. Optional argument: the press count.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
jobs=${JOBS:-$(nproc)}
out=${LEXORIA_BUILD:-build}

# Configured as tools/build.sh does, so the trees stay shared with `make test`.
mkdir -p "$out"
cmake -S . -B "$out/host" -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake -S . -B "$out/win" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
      -DCMAKE_BUILD_TYPE=Release -DLEXORIA_HOST_TOOLS="$(cd "$out" && pwd)/host/bin" >/dev/null
cmake --build "$out/win" -j "$jobs" --target Lexoria lexoria_soak >/dev/null
tools/with-wine.sh wine "$out/win/bin/lexoria_soak.exe" "$@"
