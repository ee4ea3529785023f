#!/usr/bin/env bash
# The start-up benchmark (a step of make bench): builds its two small programs, times Lexoria.exe
# against an empty-window program under Wine, and reports the size of the stripped Lexoria.exe.
# Run on its own it prepares Wine itself; bench.sh runs it with --in-wine inside its environment.
set -euo pipefail
. "$(dirname "$0")/../../wine-env.sh"
root=$lexoria_root
cd "$root"
out=$lexoria_out
bench=$out/bench-startup
tree=$lexoria_test_tree
toolchain=mingw-i686
[ "$lexoria_wine_arch" = win64 ] && toolchain=mingw-x86_64

if [ "${1:-}" != --in-wine ]; then
  [ -x "$tree/bin/Lexoria.exe" ] || tools/build.sh
  exec tools/with-wine.sh "$0" --in-wine
fi

cmake -S tools/bench/startup -B "$bench" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$toolchain.cmake" \
      -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$bench" -j "${JOBS:-2}" >/dev/null

# Wine's Z: drive is the Unix root.
winpath() { echo "Z:$1" | tr / '\\'; }
# LEXORIA_BENCH_BASELINE: a folder with an earlier Lexoria.exe and its lexoria.lst, timed in turn.
earlier=()
[ -n "${LEXORIA_BENCH_BASELINE:-}" ] && earlier=("$(winpath "$LEXORIA_BENCH_BASELINE/Lexoria.exe")")
wine "$bench/bin/startup_bench.exe" "$(winpath "$tree/bin/Lexoria.exe")" \
     "$(winpath "$bench/bin/empty_window.exe")" "${LEXORIA_BENCH_STARTS:-15}" "${earlier[@]}"

# The size is the release's: the 32-bit build, whole, its code and data, and each resource.
stripped=$bench/Lexoria-stripped.exe
i686-w64-mingw32-strip -o "$stripped" "$out/win/bin/Lexoria.exe"
resources=$(printf '%d' "0x$(i686-w64-mingw32-objdump -h "$stripped" | awk '$2 == ".rsrc" { print $3 }')")
printf '  Lexoria.exe stripped %8d bytes, %d of them code and data, %d resources:\n' \
  "$(stat -c %s "$stripped")" "$(($(stat -c %s "$stripped") - resources))" "$resources"
tools/bench/resource-list.sh "$stripped" i686-w64-mingw32-objdump |
  awk '{ printf "    %-10s %-14s %s %8d\n", $1, $2, $3, $4 }'
