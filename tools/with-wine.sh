#!/usr/bin/env bash
# Runs a command (usually ctest) with the private Wine prefix ready: a display (Xvfb when none is
# set), the prefix created once and tuned for quick window closing, and one persistent wineserver
# for the whole batch, which makes each Windows program start in milliseconds instead of seconds.
set -u
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)

# LEXORIA_XVFB_SCREEN picks another screen, e.g. 1024x768x8 for a palette display.
if [ -z "${DISPLAY:-}" ] && [ -z "${LEXORIA_IN_XVFB:-}" ]; then
  export LEXORIA_IN_XVFB=1
  exec xvfb-run -a -s "-screen 0 ${LEXORIA_XVFB_SCREEN:-1280x1024x24}" "$0" "$@"
fi

out=${LEXORIA_BUILD:-build}
case $out in /*) ;; *) out=$root/$out ;; esac
export WINEPREFIX=${WINEPREFIX:-$out/wineprefix}
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-winedbg.exe=d;winemenubuilder.exe=d;mscoree,mshtml=;winhlp32.exe=d}

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1
  # Without a window manager, closing a managed window costs about two seconds.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  wineserver -w
fi

wineserver -p
# Start Wine's own helper processes now, outside the command's output pipes: started by the first
# test instead, they would hold ctest's pipe open until the server stops.
wine wineboot </dev/null >/dev/null 2>&1
"$@"
rc=$?
wineserver -k 2>/dev/null
wineserver -w 2>/dev/null
exit $rc
