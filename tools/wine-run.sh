#!/usr/bin/env bash
# Runs one Windows program under Wine in the project's private test prefix (ctest's emulator).
# with-wine.sh prepares the prefix, the display and a persistent wineserver around a batch of runs.
. "$(dirname "$0")/wine-env.sh"
wine_env_private
exec wine "$@"
