#!/bin/sh
# The shipped programs load on Windows XP SP3: their headers ask for no later Windows, and their
# import tables (which Wine, having every function, cannot judge) hold nothing XP lacks. Each
# import is checked against xp-lacks.txt (the only check for msvcrt.dll's) and by a probe compiled
# with the MinGW-w64 headers for XP (0x0501): a name declared only later, or by no header the
# probe includes, cannot be vouched for. Newer functions go through GetProcAddress, never imports.
# Usage: check-xp-imports.sh OBJDUMP CC LIST PROGRAM...
set -eu
objdump=$1 cc=$2 list=$3
shift 3

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# "module function" per import, the module in lower case; by ordinal the function is "#ordinal".
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

# The names that a probe built for the Windows version given reports undeclared.
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
  # The subsystem version is the oldest Windows the image runs on; XP's is 5.01.
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
