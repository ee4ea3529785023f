#!/usr/bin/env bash
# `make run`: builds Lexoria and starts it under Wine on the bundled word list, in the user's own
# Wine prefix unless WINEPREFIX names another. With a display the program simply runs. Without
# one it runs under Xvfb: the script waits until the window is painted, saves a picture of it as
# lexoria.png in the build folder, closes the program as a user would, and says where the
# picture is. lexoria-window.exe finds the window by its class, never by its title.
set -euo pipefail
. "$(dirname "$0")/wine-env.sh"
cd "$lexoria_root"
bin=$lexoria_test_tree/bin
shot=$lexoria_out/lexoria.png
wine_env_user

# Waits up to $2 seconds for the process $1 to end; false if it is still running.
wait_gone() {
  local pid=$1 tries=$(( $2 * 10 ))
  while kill -0 "$pid" 2>/dev/null && [ "$tries" -gt 0 ]; do sleep 0.1; tries=$((tries - 1)); done
  ! kill -0 "$pid" 2>/dev/null
}

# Without a window manager Wine leaves the caption to nobody; its own virtual desktop draws it.
# The helper joins that desktop, the only place where the window can be found.
desktop=Lexoria
window() { wine "$bin/lexoria-window.exe" "$1" "$2" "$desktop" 2>/dev/null | tr -d '\r'; }

screenshot_run() {
  # A new prefix is made first: the start that makes it can end before the program appears.
  if [ ! -f "${WINEPREFIX:-$HOME/.wine}/system.reg" ]; then
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w 2>/dev/null || true
  fi
  wine_fonts || true
  wine explorer "/desktop=$desktop,1024x768" "$bin/Lexoria.exe" >/dev/null 2>&1 &
  local pid=$! id
  id=$(window wait 120) || true
  if [ -z "$id" ]; then
    echo "Lexoria did not open its window." >&2
    window close 10 >/dev/null || true
    wait_gone "$pid" 10 || kill "$pid" 2>/dev/null || true
    return 1
  fi
  [ "$id" = 0x0 ] && id=root  # no X window of its own: the whole screen
  import -window "$id" "$shot"
  # WM_CLOSE, as the close box would send; the helper ends the process only if that is not enough.
  window close 20 >/dev/null || true
  wait_gone "$pid" 10 || kill "$pid" 2>/dev/null || true
  timeout 30 wineserver -w 2>/dev/null || true
  echo "Screenshot of the Lexoria window: $shot"
}

if [ -z "${LEXORIA_IN_XVFB:-}" ]; then
  tools/install-deps.sh
  tools/build.sh
  if [ -n "${DISPLAY:-}" ]; then
    wine_fonts || true
    exec wine "$bin/Lexoria.exe"
  fi
fi
wine_need_display 1024x768x24 "$0" "$@"
screenshot_run
