#!/usr/bin/env bash
# Builds the program and runs its benchmarks under Wine (make bench; not part of the tests).
# Each benchmark is one step: a function below, listed in `steps`, that runs inside the prepared
# Wine environment and prints its own figures. A new benchmark is a new function and a new entry.
set -euo pipefail
. "$(dirname "$0")/wine-env.sh"
root=$lexoria_root
cd "$root"
bin=$lexoria_test_tree/bin

# The vocabulary store: loadNextWord and buildIndex against their file-reading floors; with
# LEXORIA_BENCH_BASELINE (a folder of an earlier build's bin/), the earlier store right after.
bench_store() {
  wine "$bin/store_bench.exe"
  if [ -n "${LEXORIA_BENCH_BASELINE:-}" ] && [ -f "$LEXORIA_BENCH_BASELINE/store_bench.exe" ]; then
    echo "  -- the earlier build's store:"
    wine "$LEXORIA_BENCH_BASELINE/store_bench.exe"
  fi
}

# Start-up: CreateProcess to the first word on screen, against a program that opens an empty
# window, and the size of the stripped Lexoria.exe.
bench_startup() {
  tools/bench/startup/startup.sh --in-wine
}

# Wine's Z: drive is the Unix root.
winpath() { echo "Z:$1" | tr / '\\'; }

# "Next Word", from the click to the new text in the pane and the window idle again, against the
# floor program that does only what a press needs, the two taking turns press by press in each
# round; with LEXORIA_BENCH_BASELINE, the earlier build's Lexoria.exe takes its turn too. All of
# them run from one scratch folder, on the marked three-script list the driver writes there.
bench_nextword() {
  local folder=$lexoria_out/bench-nextword earlier=()
  rm -rf "$folder"
  mkdir -p "$folder"
  cp "$bin/Lexoria.exe" "$bin/nextword_floor.exe" "$folder/"
  if [ -n "${LEXORIA_BENCH_BASELINE:-}" ]; then
    cp "$LEXORIA_BENCH_BASELINE/Lexoria.exe" "$folder/Lexoria-earlier.exe"
    earlier=("$(winpath "$folder/Lexoria-earlier.exe")")
  fi
  wine "$bin/nextword_bench.exe" "$(winpath "$folder/Lexoria.exe")" \
    "$(winpath "$folder/nextword_floor.exe")" "${LEXORIA_BENCH_ROUNDS:-12}" \
    "${LEXORIA_BENCH_PRESSES:-10}" "${earlier[@]}"
}

# lexoria-list import of 1 MB and 4 MB fields that once took quadratic time, and their ratio.
bench_import() {
  wine "$bin/import_bench.exe"
}

# Practice with a full return queue against "Next Word" alone: the store's word (within 10%), and
# "Next Word" then "Show" in the running program.
bench_practice() {
  wine "$bin/practice_bench.exe"
}

# A repaint of the whole window with a 1 MB definition in the pane; with LEXORIA_BENCH_BASELINE,
# the earlier build's program right after.
bench_repaint() {
  local earlier=()
  [ -n "${LEXORIA_BENCH_BASELINE:-}" ] && earlier=("$(winpath "$LEXORIA_BENCH_BASELINE/Lexoria.exe")")
  wine "$bin/repaint_bench.exe" "${earlier[@]}"
}

steps=(bench_store bench_startup bench_nextword bench_import bench_practice bench_repaint)

# Arguments name the steps to run (`tools/bench.sh nextword`); none runs them all.
if [ "${1:-}" = --run-steps ]; then
  shift
  [ $# -gt 0 ] || set -- "${steps[@]#bench_}"
  for step in "$@"; do
    echo "== $step"
    "bench_$step"
    echo
  done
  exit 0
fi

JOBS=${JOBS:-2} tools/build.sh
exec tools/with-wine.sh "$root/tools/bench.sh" --run-steps "$@"
