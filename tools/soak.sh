#!/usr/bin/env bash
# The soak run: builds Lexoria.exe and the soak program only, then presses "&Next Word" 10,000
# times on a 4000-entry list under Wine, checking the rotation and that memory and handle counts
# stay flat, and prints the figures. Not part of `make test`. Optional argument: the press count.
set -euo pipefail
. "$(dirname "$0")/wine-env.sh"
cd "$lexoria_root"

tools/build.sh "$(basename "$lexoria_test_tree")" Lexoria lexoria_soak >/dev/null
tools/with-wine.sh wine "$lexoria_test_tree/bin/lexoria_soak.exe" "$@"
