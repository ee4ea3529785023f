#!/usr/bin/env bash
# Configures and builds the trees under build/ (or the folder that LEXORIA_BUILD names): host/
# (platform-free code and the build tools, with sanitizers), win/ (Lexoria.exe, its tools and its
# Windows tests, cross-built with MinGW-w64 for 32-bit Windows: the release), and, on a machine
# that runs no 32-bit code, win64/ (the same for 64-bit Windows, whose tests then run under wine64).
# With a tree's name as argument (host, win or win64) it configures only that tree and builds the
# targets named after it: `tools/build.sh win Lexoria lexoria_soak`.
set -euo pipefail
. "$(dirname "$0")/wine-env.sh"
cd "$lexoria_root"
jobs=${JOBS:-$(nproc)}

configure() {
  case $1 in
    host) cmake -S . -B "$lexoria_out/host" -DCMAKE_BUILD_TYPE=Debug >/dev/null ;;
    win | win64)
      local toolchain=cmake/mingw-i686.cmake
      [ "$1" = win64 ] && toolchain=cmake/mingw-x86_64.cmake
      cmake -S . -B "$lexoria_out/$1" -DCMAKE_TOOLCHAIN_FILE=$toolchain \
            -DCMAKE_BUILD_TYPE=Release -DLEXORIA_HOST_TOOLS="$lexoria_out/host/bin" >/dev/null ;;
  esac
}

if [ $# -gt 0 ]; then
  tree=$1
  shift
  configure "$tree"
  targets=()
  for target in "$@"; do targets+=(--target "$target"); done
  cmake --build "$lexoria_out/$tree" -j "$jobs" "${targets[@]}"
  exit 0
fi

trees=(host win)
[ "$lexoria_wine_arch" = win64 ] && trees+=(win64)
for tree in "${trees[@]}"; do
  configure "$tree"
  cmake --build "$lexoria_out/$tree" -j "$jobs"
done
