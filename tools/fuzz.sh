#!/usr/bin/env bash
# Builds the fuzz targets of tests/fuzz with clang's libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer in a tree of their own ($LEXORIA_BUILD/fuzz), runs every kept
# regression input, then fuzzes each target for a bounded time (LEXORIA_FUZZ_SECONDS, 30 by
# default). Fails on any crash, leak, time-out or failed check, and names the input that caused
# it. New inputs the fuzzer finds stay in the build tree.
set -euo pipefail
. "$(dirname "$0")/wine-env.sh"
root=$lexoria_root
cd "$root"
jobs=${JOBS:-$(nproc)}
out=$lexoria_out
tree=$out/fuzz
seconds=${LEXORIA_FUZZ_SECONDS:-30}
corpus=$root/tests/fuzz/corpus
regression=$root/tests/fuzz/regression

# Every target gets the same time; keep the sum well inside CI's budget.
targets=()
for t in fuzz_wordlist fuzz_groupinfo; do
  [ -d "$corpus/$t" ] && targets+=("$t")
done

cmake -S . -B "$tree" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLEXORIA_FUZZ=ON \
      -DCMAKE_C_FLAGS=-fsanitize=fuzzer-no-link -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link >/dev/null
# A target whose code under test is not in the tree yet is not configured; it is skipped.
known=$(cmake --build "$tree" --target help)
built=()
for t in "${targets[@]}"; do
  if grep -qx "\.\.\. $t" <<<"$known"; then built+=("$t"); fi
done
cmake --build "$tree" -j "$jobs" --target "${built[@]}"

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
status=0
for t in "${built[@]}"; do
  bin=$tree/bin/$t
  work=$tree/work/$t
  mkdir -p "$work/corpus" "$work/artifacts"
  log=$work/last.log

  mapfile -t kept < <(find "$regression/$t" -type f 2>/dev/null | sort)
  if [ ${#kept[@]} -gt 0 ]; then
    if ! "$bin" -runs=1 "${kept[@]}" >"$work/regression.log" 2>&1; then
      echo "fuzz: $t fails on a kept regression input; see $work/regression.log" >&2
      grep -E 'Running:|ERROR|check failed' "$work/regression.log" | tail -5 >&2
      status=1
      continue
    fi
  fi

  if "$bin" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
       -artifact_prefix="$work/artifacts/" "$work/corpus" "$corpus/$t" \
       ${kept[@]:+"$regression/$t"} >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    cov=$(grep -Eo 'cov: [0-9]+ ft: [0-9]+' "$log" | tail -1)
    echo "fuzz: $t ${seconds}s, $runs runs, $cov, ${#kept[@]} regression inputs, no crash"
  else
    echo "fuzz: $t CRASHED; log $log" >&2
    grep -E 'ERROR|check failed|Test unit written|SUMMARY' "$log" | head -8 >&2
    echo "fuzz: minimise with $bin -minimize_crash=1 -max_total_time=60 <crash file>, then keep" \
         "the smallest input in tests/fuzz/regression/$t/" >&2
    status=1
  fi
done
exit $status
