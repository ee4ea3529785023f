#!/usr/bin/env bash
# Runs a Windows test program on a 256-colour display, where the screen's colours go through a
# palette: its own Xvfb at 8 bits per pixel, and its own Wine prefix and server so that the
# true-colour display the other tests share is not disturbed.
# Usage: run-256-colours.sh PROGRAM.exe PREFIX-FOLDER
set -u
if [ -z "${LEXORIA_IN_256_COLOURS:-}" ]; then
  export LEXORIA_IN_256_COLOURS=1
  exec xvfb-run -a -s "-screen 0 1024x768x8" "$0" "$@"
fi

program=$1
export WINEPREFIX=$(realpath -m "$2")
export WINEARCH=win32
export WINEDEBUG=-all
export WINEDLLOVERRIDES="winedbg.exe=d;winemenubuilder.exe=d;mscoree,mshtml=;winhlp32.exe=d"

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1
  # Without a window manager, closing a managed window costs about two seconds.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  wineserver -w
fi

wineserver -p
LEXORIA_EXPECT_PALETTE_DISPLAY=1 wine "$program" "${@:3}"
rc=$?
wineserver -k 2>/dev/null
wineserver -w 2>/dev/null
exit $rc
