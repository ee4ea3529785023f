# Sourced, never run: the one place that says where the project's scripts build and how they run
# Wine. It sets lexoria_root, lexoria_out (the build folder, LEXORIA_BUILD or build/, made
# absolute), lexoria_wine_arch and lexoria_test_tree (see below), and defines:
#   wine_env_private          the private prefix under the build folder (or the one WINEPREFIX
#                             names), 32-bit, quiet, without the help viewer, prepared once
#   wine_env_user             the user's own prefix for make run: only the quiet settings and fonts
#   wine_need_display SCREEN "$0" "$@"
#                             runs the calling script again under Xvfb when there is no display
#   wine_fonts                the font replacements, in the prefix WINEPREFIX names

lexoria_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
lexoria_out=${LEXORIA_BUILD:-build}
case $lexoria_out in /*) ;; *) lexoria_out=$lexoria_root/$lexoria_out ;; esac

# The release is a 32-bit program, built in $lexoria_out/win, and its tests run there under 32-bit
# Wine. Some kernels run no 32-bit code at all (execve of an i386 binary fails), and 32-bit Wine
# cannot start there: such a machine builds the same sources as 64-bit programs in
# $lexoria_out/win64 as well and runs the tests from that tree under wine64.
if [ -z "${lexoria_wine_arch:-}" ]; then
  if [ ! -x /usr/lib/wine/wine64 ] || /usr/lib/wine/wine --version >/dev/null 2>&1; then
    lexoria_wine_arch=win32
  else
    lexoria_wine_arch=win64
  fi
fi
if [ "$lexoria_wine_arch" = win64 ]; then
  lexoria_test_tree=$lexoria_out/win64
else
  lexoria_test_tree=$lexoria_out/win
fi

# A crashing process must not leave the debugger waiting, nothing may write menu entries into the
# home folder, and nothing may offer to download Mono or Gecko.
wine_quiet_overrides='winedbg.exe=d;winemenubuilder.exe=d;mscoree,mshtml='

# Bump when wine_prepare_prefix changes, so that prefixes made earlier are brought up to date.
wine_prefix_setup=4

# The window asks for Times New Roman and Arial. Without these a new prefix draws both in a
# sans-serif face with other widths; the metric-compatible Liberation faces measure as Windows
# does. Uniscribe's fallback asks for SimSun for Chinese and Japanese and for Microsoft Sans Serif
# for Arabic; these name faces the prefix has. The Japanese, Chinese and Korean interface texts
# ask for those languages' Windows UI faces (MS UI Gothic, SimSun, Gulim), the Arabic ones and
# the other translations for Microsoft Sans Serif: each is a face with the language's letters.
wine_fonts() {
  local key='HKCU\Software\Wine\Fonts\Replacements' face
  wine reg add "$key" /v 'Times New Roman' /d 'Liberation Serif' /f >/dev/null 2>&1 &&
    wine reg add "$key" /v Arial /d 'Liberation Sans' /f >/dev/null 2>&1 &&
    wine reg add "$key" /v 'Microsoft Sans Serif' /d 'DejaVu Sans' /f >/dev/null 2>&1 || return 1
  for face in SimSun 'MS UI Gothic' Gulim; do
    wine reg add "$key" /v "$face" /d 'WenQuanYi Micro Hei' /f >/dev/null 2>&1 || return 1
  done
}

# Makes the private prefix on first use, and brings an older one up to date.
wine_prepare_prefix() {
  local mark=$WINEPREFIX/.lexoria-setup
  [ -f "$WINEPREFIX/system.reg" ] && [ "$(cat "$mark" 2>/dev/null)" = "$wine_prefix_setup" ] &&
    return 0
  mkdir -p "$WINEPREFIX"
  [ -f "$WINEPREFIX/system.reg" ] || wineboot -i >/dev/null 2>&1
  # Without a window manager, closing a managed window costs about two seconds.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  wine_fonts
  wineserver -w
  echo "$wine_prefix_setup" >"$mark"
}

# Debian's `wine` and `wineboot` start the 32-bit loader whenever it is installed; on a machine
# that runs only 64-bit code they must start wine64, which a folder of two small scripts ahead on
# PATH arranges. WINELOADER tells Wine itself which loader starts further processes.
wine_use_wine64() {
  local shims=$lexoria_out/wine64-path
  if [ ! -x "$shims/wine-stable" ]; then
    mkdir -p "$shims"
    printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' >"$shims/wine"
    chmod +x "$shims/wine"
    cp "$shims/wine" "$shims/wine-stable"
  fi
  case ":$PATH:" in *":$shims:"*) ;; *) export PATH=$shims:$PATH ;; esac
  export WINELOADER=/usr/lib/wine/wine64
}

wine_env_private() {
  if [ "$lexoria_wine_arch" = win64 ]; then
    export WINEPREFIX=${WINEPREFIX:-$lexoria_out/wineprefix64}
    export WINEARCH=win64
    wine_use_wine64
  else
    export WINEPREFIX=${WINEPREFIX:-$lexoria_out/wineprefix}
    export WINEARCH=win32
  fi
  export WINEDEBUG=${WINEDEBUG:--all}
  # Tests ask for help on purpose; the viewer's "cannot find" box would block them. The help test
  # keeps the viewer (LEXORIA_WINE_HELP_VIEWER=1), and a test adds overrides of its own with
  # LEXORIA_WINE_OVERRIDES ("hhctrl.ocx=n,b"); either replaces what the batch was given.
  local overrides=$wine_quiet_overrides
  [ "${LEXORIA_WINE_HELP_VIEWER:-}" = 1 ] || overrides+=';winhlp32.exe=d'
  [ -n "${LEXORIA_WINE_OVERRIDES:-}" ] && overrides+=";$LEXORIA_WINE_OVERRIDES"
  if [ -z "${WINEDLLOVERRIDES:-}" ] || [ -n "${LEXORIA_WINE_OVERRIDES:-}${LEXORIA_WINE_HELP_VIEWER:-}" ]; then
    export WINEDLLOVERRIDES=$overrides
  fi
}

wine_env_user() {
  [ "$lexoria_wine_arch" = win64 ] && wine_use_wine64
  export WINEDEBUG=${WINEDEBUG:--all}
  export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-$wine_quiet_overrides}
}

wine_need_display() {
  local screen=$1
  shift
  [ -n "${DISPLAY:-}" ] && return 0
  [ -n "${LEXORIA_IN_XVFB:-}" ] && { echo "Xvfb gave no display" >&2; exit 1; }
  export LEXORIA_IN_XVFB=1
  exec xvfb-run -a -s "-screen 0 $screen" "$@"
}
