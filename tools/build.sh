#!/usr/bin/env bash
# Configures and builds both trees: build/host (platform-free code and the build tools, with
# sanitizers) and build/win (Lexoria.exe and its Windows tests, cross-built with MinGW-w64).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
jobs=${JOBS:-$(nproc)}

cmake -S . -B build/host -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build/host -j "$jobs"
cmake -S . -B build/win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
      -DCMAKE_BUILD_TYPE=Release -DLEXORIA_HOST_TOOLS="$root/build/host/bin" >/dev/null
cmake --build build/win -j "$jobs"
