#!/usr/bin/env bash
# Configures and builds both trees: host/ (platform-free code and the build tools, with sanitizers)
# and win/ (Lexoria.exe and its Windows tests, cross-built with MinGW-w64), under build/ or the
# folder that LEXORIA_BUILD names.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
jobs=${JOBS:-$(nproc)}
out=${LEXORIA_BUILD:-build}

cmake -S . -B "$out/host" -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$out/host" -j "$jobs"
cmake -S . -B "$out/win" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
      -DCMAKE_BUILD_TYPE=Release -DLEXORIA_HOST_TOOLS="$(cd "$out" && pwd)/host/bin" >/dev/null
cmake --build "$out/win" -j "$jobs"
