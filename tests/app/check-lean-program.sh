#!/bin/sh
# Lexoria.exe stays small: the stripped 32-bit program must not hold the C++ runtime's name
# demangler or verbose terminate handler (src/app/leanruntime.cpp keeps them out); in English,
# resources included, it stays within 256 KB, its code and data within 200 KB, and each
# translation's resources within 8 KB, so that no new compiler, runtime or artwork quietly grows it.
# Usage: check-lean-program.sh PROGRAM STRIP OBJDUMP
set -eu
program=$1 strip=$2 objdump=$3
wholeLimit=262144 codeAndDataLimit=204800 languageLimit=8192
resourceList=$(dirname "$0")/../../tools/bench/resource-list.sh

[ -f "$program" ] || { echo "FAIL: no $program; build the Windows tree first (tools/build.sh)"; exit 1; }
format=$("$objdump" -f "$program" 2>/dev/null | sed -n 's/.*file format //p')
if [ "$format" != pei-i386 ]; then
  echo "FAIL: $program is not a 32-bit Windows program (${format:-unknown format})"
  exit 1
fi
stripped=$(mktemp)
trap 'rm -f "$stripped"' EXIT
"$strip" -o "$stripped" "$program"
failures=0
fail() { echo "FAIL: $1"; failures=$((failures + 1)); }

# What each runtime piece leaves in a stripped program: words the demangler writes into the names
# it spells out, and the message of the handler that calls it.
while IFS='|' read -r piece text; do
  if LC_ALL=C grep -qaF -- "$text" "$stripped"; then fail "the stripped program holds $piece (\"$text\")"; fi
done <<'TELLTALES'
the name demangler|(anonymous namespace)
the name demangler|construction vtable for 
the name demangler|covariant return thunk to 
the name demangler|non-virtual thunk to 
the verbose terminate handler|terminate called after throwing an instance of
TELLTALES

total=$(stat -c %s "$stripped")
resourceHex=$("$objdump" -h "$stripped" | awk '$2 == ".rsrc" { print $3 }')
resources=$((0x${resourceHex:-0}))
codeAndData=$((total - resources))

# Primary language (the low 10 bits) 0x09 is English, 0x00 neutral; every other is a translation.
translated=0
while read -r language bytes; do
  [ -n "$language" ] || continue
  echo "translation $language: $bytes bytes (limit $languageLimit)"
  translated=$((translated + bytes))
  [ "$bytes" -le "$languageLimit" ] ||
    fail "the resources in language $language take $bytes bytes, more than $languageLimit"
done <<EOF
$("$resourceList" "$stripped" "$objdump" | awk '
  { language = 0; for (i = 1; i <= 4; i++) language = language * 16 + index("0123456789abcdef", substr($3, i, 1)) - 1 }
  language % 1024 != 9 && language % 1024 != 0 { bytes[$3] += $4 }
  END { for (l in bytes) print l, bytes[l] }' | sort)
EOF
english=$((total - translated))

[ "$english" -le "$wholeLimit" ] ||
  fail "the stripped program in English has $english bytes, more than $wholeLimit"
[ "$codeAndData" -le "$codeAndDataLimit" ] ||
  fail "the stripped program has $codeAndData bytes of code and data, more than $codeAndDataLimit"
echo "stripped Lexoria.exe: $total bytes, in English $english (limit $wholeLimit), of which" \
  "code and data $codeAndData (limit $codeAndDataLimit) and resources" \
  "$((resources - translated)); $failures failure(s)"
[ "$failures" -eq 0 ]
