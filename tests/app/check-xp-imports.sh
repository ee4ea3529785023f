#!/bin/sh
# The shipped programs load on Windows XP SP3: their headers may not ask for a later Windows, and
# nothing in their import tables may be missing there, or the loader refuses to start them. Wine has every function and cannot show this, so
# the import tables themselves are read. Each imported function is checked two ways:
# - against xp-lacks.txt, the modules and functions known to come with a later Windows, each with
#   where that fact comes from (msvcrt.dll's are covered only there);
# - by a probe compiled with the MinGW-w64 headers for Windows XP (_WIN32_WINNT 0x0501): a name
#   that the headers declare only for a later Windows, or that no header the probe includes
#   declares at all, cannot be vouched for.
# A function newer than XP is reached through GetProcAddress with a fallback, never imported.
# Usage: check-xp-imports.sh OBJDUMP CC LIST PROGRAM...
set -eu
objdump=$1 cc=$2 list=$3
shift 3

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# "module function" per import, the module in lower case; an import by ordinal has the function
# "#ordinal".
imports() {
  "$objdump" -p "$1" | awk '
    /^\tDLL Name: / { module = tolower($3); next }
    module != "" && /^\t[0-9a-f]+\t/ {
      if (NF >= 3) print module, $3
      else print module, "#" $2
      next
    }
    /^$/ { module = "" }'
}

# The rule of xp-lacks.txt that the import matches, as "source", or nothing.
lacking() {
  module=$1 function=$2
  while read -r ruleModule ruleFunction source; do
    case $ruleModule in '' | '#'*) continue ;; esac
    # shellcheck disable=SC2254
    case $module in $ruleModule) ;; *) continue ;; esac
    # shellcheck disable=SC2254
    case $function in $ruleFunction) echo "$source"; return ;; esac
  done <"$list"
}

# The names the compiler reports undeclared in a probe of the given names, built for the Windows
# version given.
undeclared() {
  version=$1 names=$2
  {
    echo '#include <windows.h>'
    for header in commctrl.h richedit.h shlobj.h shellapi.h shlwapi.h usp10.h oleacc.h ddeml.h \
      htmlhelp.h ntsecapi.h; do
      echo "#include <$header>"
    done
    echo 'void probe(void) {'
    for name in $names; do echo "    (void)&$name;"; done
    echo '}'
  } >"$work/probe.c"
  "$cc" -fsyntax-only -fmax-errors=0 -DWINVER="$version" -D_WIN32_WINNT="$version" \
    -D_WIN32_IE=0x0603 -DNTDDI_VERSION="${version}0000" "$work/probe.c" 2>&1 |
    sed -n "s/.*error: .\([A-Za-z0-9_]*\). undeclared.*/\1/p" | sort -u
}

for program in "$@"; do
  if [ ! -f "$program" ]; then
    fail "no $program; build the Windows tree first (tools/build.sh win)"
    continue
  fi
  name=$(basename "$program")
  # The header's subsystem version is the oldest Windows the image runs on, Windows XP being
  # 5.01 (Microsoft's table of subsystem versions: learn.microsoft.com/en-us/dotnet/
  # visual-basic/reference/command-line-compiler/subsystemversion).
  subsystem=$("$objdump" -p "$program" |
    awk '/^MajorSubsystemVersion/ { major = $2 } /^MinorSubsystemVersion/ { minor = $2 }
         END { print major * 100 + minor }')
  [ "$subsystem" -le 501 ] || fail "$name asks for subsystem version" \
    "$((subsystem / 100)).$((subsystem % 100)), later than Windows XP's 5.1"
  imports "$program" >"$work/imports"
  echo "$name imports $(wc -l <"$work/imports") functions from" \
    "$(cut -d' ' -f1 "$work/imports" | sort -u | tr '\n' ' ')"
  while read -r module function; do
    source=$(lacking "$module" "$function")
    [ -z "$source" ] || fail "$name imports $module!$function, which Windows XP lacks ($source)"
    case $function in
      '#'*) fail "$name imports $module by ordinal $function, which no probe can check" ;;
    esac
  done <"$work/imports"

  awk -v program="$name" '$1 != "msvcrt.dll" && $2 !~ /^#/ { print $2, program }' \
    "$work/imports" >>"$work/probed"
done

# One probe for the functions of every program.
if [ -s "$work/probed" ]; then
  missingOnXp=$(undeclared 0x0501 "$(cut -d' ' -f1 "$work/probed" | sort -u)")
  unknown=$([ -z "$missingOnXp" ] || undeclared 0x0A00 "$missingOnXp")
  for function in $missingOnXp; do
    for name in $(awk -v f="$function" '$1 == f { print $2 }' "$work/probed" | sort -u); do
      if echo "$unknown" | grep -qx "$function"; then
        fail "$name imports $function, which the probe's headers do not declare: add its header"
      else
        fail "$name imports $function, which the MinGW-w64 headers declare only after Windows XP"
      fi
    done
  done
fi
echo "$failures failure(s)"
[ "$failures" -eq 0 ]
