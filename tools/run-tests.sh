#!/usr/bin/env bash
# Builds and runs every test: the platform-free code on the host under the sanitizers (which
# includes replaying the fuzz corpora), then the Windows program and its tests under Wine, from the
# tree that Wine can run on this machine (wine-env.sh). Ends with ctest's summary of the Windows
# run. Live fuzzing is `make fuzz`, not part of this.
# The Windows tests share one Wine prefix, one display and the program's registry key, and start
# the one Lexoria a user may run at a time: ctest runs them one after another.
set -euo pipefail
. "$(dirname "$0")/wine-env.sh"
cd "$lexoria_root"
jobs=${JOBS:-$(nproc)}

tools/build.sh
ctest --test-dir "$lexoria_out/host" --output-on-failure -j "$jobs"
tools/with-wine.sh ctest --test-dir "$lexoria_test_tree" --output-on-failure
