#!/usr/bin/env bash
# `make run`: builds Lexoria and starts it under Wine on the bundled word list, in the user's own
# Wine prefix unless WINEPREFIX names another. With a display the program simply runs. Without
# one it runs under Xvfb: the script waits for the window, saves a picture of it as lexoria.png
# in the build folder, closes the program as a user would, and says where the picture is.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
out=${LEXORIA_BUILD:-build}
case $out in /*) ;; *) out=$root/$out ;; esac
exe=$out/win/bin/Lexoria.exe
shot=$out/lexoria.png

export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-winedbg.exe=d;winemenubuilder.exe=d;mscoree,mshtml=}

# The X id of the program's top-level window, once it exists.
window_id() {
  xwininfo -root -tree 2>/dev/null | awk '/"Lexoria": \(/ { print $1; exit }'
}

# Waits up to $2 seconds for the process $1 to end; false if it is still running.
wait_gone() {
  local pid=$1 tries=$(( $2 * 10 ))
  while kill -0 "$pid" 2>/dev/null && [ "$tries" -gt 0 ]; do sleep 0.1; tries=$((tries - 1)); done
  ! kill -0 "$pid" 2>/dev/null
}

# Without a window manager Wine leaves the caption to nobody; its own virtual desktop draws it.
desktop=/desktop=Lexoria,1024x768

screenshot_run() {
  # A new prefix is made first: the start that makes it can end before the program appears.
  if [ ! -f "${WINEPREFIX:-$HOME/.wine}/system.reg" ]; then
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w 2>/dev/null || true
  fi
  wine explorer "$desktop" "$exe" >/dev/null 2>&1 &
  local pid=$! id="" tries=1200
  while [ -z "$id" ] && [ "$tries" -gt 0 ] && kill -0 "$pid" 2>/dev/null; do
    sleep 0.1; tries=$((tries - 1)); id=$(window_id)
  done
  if [ -z "$id" ]; then
    echo "Lexoria did not open its window." >&2
    kill "$pid" 2>/dev/null || true
    return 1
  fi
  sleep 1  # let the first paint finish
  import -window "$id" "$shot"
  # WM_CLOSE, as closing the window would, sent from inside the same desktop; forced only if
  # that is not enough.
  wine explorer "$desktop" taskkill /im Lexoria.exe >/dev/null 2>&1 || true
  if ! wait_gone "$pid" 20; then
    wine explorer "$desktop" taskkill /f /im Lexoria.exe >/dev/null 2>&1 || true
    wait_gone "$pid" 10 || kill "$pid" 2>/dev/null || true
  fi
  timeout 30 wineserver -w 2>/dev/null || true
  echo "Screenshot of the Lexoria window: $shot"
}

if [ -n "${LEXORIA_RUN_IN_XVFB:-}" ]; then
  screenshot_run
  exit
fi

tools/install-deps.sh
tools/build.sh
if [ -n "${DISPLAY:-}" ]; then
  exec wine "$exe"
fi
LEXORIA_RUN_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24" "$0"
