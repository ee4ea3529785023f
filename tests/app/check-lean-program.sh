#!/bin/sh
# Lexoria.exe stays lean: a copy of the 32-bit program, stripped as it is shipped, must not hold
# the C++ runtime's name demangler (which src/app/leanruntime.cpp keeps out), and its code and
# data must stay within 256 KB, so that a new compiler or runtime cannot quietly bring either
# back. The resources (the icon's and the title's images for every scaling) are counted apart:
# they grow with the artwork, not with the toolchain.
# Usage: check-lean-program.sh PROGRAM STRIP OBJDUMP
set -eu
program=$1 strip=$2 objdump=$3
sizeLimit=262144

if [ ! -f "$program" ]; then
  echo "FAIL: no $program; build the Windows tree first (tools/build.sh)"
  exit 1
fi
format=$("$objdump" -f "$program" 2>/dev/null | sed -n 's/.*file format //p')
if [ "$format" != pei-i386 ]; then
  echo "FAIL: $program is not a 32-bit Windows program (${format:-unknown format})"
  exit 1
fi
stripped=$(mktemp)
trap 'rm -f "$stripped"' EXIT
"$strip" -o "$stripped" "$program"

failures=0
fail() {
  echo "FAIL: $1"
  failures=$((failures + 1))
}

# What each piece of the runtime leaves behind in a stripped program: the words the demangler
# writes into the names it spells out, and the message of the handler that calls it.
while IFS='|' read -r piece text; do
  if LC_ALL=C grep -qaF -- "$text" "$stripped"; then
    fail "the stripped program holds $piece (\"$text\")"
  fi
done <<'TELLTALES'
the name demangler|(anonymous namespace)
the name demangler|construction vtable for 
the name demangler|covariant return thunk to 
the name demangler|non-virtual thunk to 
the verbose terminate handler|terminate called after throwing an instance of
TELLTALES

total=$(stat -c %s "$stripped")
resources=$(printf '%d' "0x$("$objdump" -h "$stripped" | awk '$2 == ".rsrc" { print $3 }')")
size=$((total - resources))
if [ "$size" -gt "$sizeLimit" ]; then
  fail "the stripped program has $size bytes of code and data, more than $sizeLimit"
fi
echo "stripped Lexoria.exe: $total bytes, of which resources $resources and code and data" \
  "$size (limit $sizeLimit), $failures failure(s)"
[ "$failures" -eq 0 ]
