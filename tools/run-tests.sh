#!/usr/bin/env bash
# Builds and runs every test: the platform-free code on the host under the sanitizers (which
# includes replaying the fuzz corpora), then the Windows program and its tests under Wine. Ends
# with ctest's summary of the Windows run. Live fuzzing is `make fuzz`, not part of this.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
jobs=${JOBS:-$(nproc)}
out=${LEXORIA_BUILD:-build}

tools/build.sh
ctest --test-dir "$out/host" --output-on-failure -j "$jobs"
tools/with-wine.sh ctest --test-dir "$out/win" --output-on-failure
