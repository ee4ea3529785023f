#!/usr/bin/env bash
# Runs one Windows program under Wine in the project's private test prefix (ctest's emulator).
# with-wine.sh prepares the prefix, the display and a persistent wineserver around a batch of runs.
here=$(cd "$(dirname "$0")" && pwd)
export WINEPREFIX=${WINEPREFIX:-$here/../build/wineprefix}
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-winedbg.exe=d;winemenubuilder.exe=d;mscoree,mshtml=;winhlp32.exe=d}
exec wine "$@"
