#!/usr/bin/env bash
# Runs a command (usually ctest) with the private Wine prefix ready: a display (Xvfb when none is
# set), the prefix prepared by wine-env.sh, and one persistent wineserver for the whole batch,
# which makes each Windows program start in milliseconds instead of seconds.
set -u
. "$(dirname "$0")/wine-env.sh"

# LEXORIA_XVFB_SCREEN picks another screen, e.g. 1024x768x8 for a palette display.
wine_need_display "${LEXORIA_XVFB_SCREEN:-1280x1024x24}" "$0" "$@"
wine_env_private
wine_prepare_prefix

wineserver -p
# Start Wine's own helper processes now, outside the command's output pipes: started by the first
# test instead, they would hold ctest's pipe open until the server stops.
wine wineboot </dev/null >/dev/null 2>&1
"$@"
rc=$?
wineserver -k 2>/dev/null
wineserver -w 2>/dev/null
exit $rc
