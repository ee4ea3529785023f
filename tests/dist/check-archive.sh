#!/usr/bin/env bash
# Checks the zip archive from outside, as a Windows user would unpack it: exactly the release
# files, the data files as built, the programs stripped, and the text files ready for Notepad.
#   check-archive.sh ARCHIVE.zip BIN_FOLDER SOURCE_ROOT VERSION
set -u
zipfile=$1 bin=$2 root=$3 version=$4
failures=0
fail() { echo "check-archive: $*" >&2; failures=$((failures + 1)); }

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
unzip -q "$zipfile" -d "$unpacked" || { echo "check-archive: cannot unpack $zipfile" >&2; exit 1; }

expected="LICENSE.txt Lexoria.exe README.txt lexoria.chm lexoria.hlp lexoria.lst"
[ -f "$bin/lexoria-list.exe" ] && expected="$expected lexoria-list.exe"
actual=$(cd "$unpacked" && find . -mindepth 1 | sed 's|^\./||' | LC_ALL=C sort | tr '\n' ' ')
[ "$actual" = "$(echo "$expected" | tr ' ' '\n' | LC_ALL=C sort | tr '\n' ' ')" ] ||
  fail "the archive holds: $actual; expected: $expected"

# Files that go out as the build made them.
for name in lexoria.lst lexoria.hlp lexoria.chm; do
  cmp -s "$bin/$name" "$unpacked/$name" || fail "$name differs from the built one"
done

# Programs: Windows programs of the build's kind (32-bit, as released, unless the build is the
# 64-bit one of a machine that runs no 32-bit code), without symbols.
format=pei-i386
x86_64-w64-mingw32-objdump -f "$bin/Lexoria.exe" | grep -q 'format pei-x86-64' && format=pei-x86-64
for name in Lexoria.exe lexoria-list.exe; do
  [ -f "$unpacked/$name" ] || continue
  header=$(x86_64-w64-mingw32-objdump -f "$unpacked/$name")
  grep -q "file format $format" <<<"$header" || fail "$name is not a $format Windows program"
  grep -q HAS_SYMS <<<"$header" && fail "$name still has its symbols"
done

# Text files: every line ends in CR LF, and the README is filled in for this release.
for name in README.txt LICENSE.txt; do
  bare=$(grep -c $'[^\r]$\|^$' "$unpacked/$name")
  [ "$bare" = 0 ] || fail "$name has $bare lines that do not end in CR LF"
  [ -z "$(tail -c 2 "$unpacked/$name" | tr -d '\r\n')" ] || fail "$name does not end with CR LF"
done
tr -d '\r' <"$unpacked/LICENSE.txt" | cmp -s - "$root/LICENSE" || fail "LICENSE.txt is not the licence"
readme=$(tr -d '\r' <"$unpacked/README.txt")
grep -q "^Lexoria $version\$" <<<"$readme" || fail "README.txt does not open with Lexoria $version"
grep -q -e '@[A-Z_]*@' -e '^#if' -e '^#endif' <<<"$readme" && fail "README.txt has template text left"
if [ -f "$bin/lexoria-list.exe" ]; then
  grep -q 'lexoria-list.exe' <<<"$readme" || fail "README.txt does not describe lexoria-list.exe"
else
  grep -q 'lexoria-list.exe' <<<"$readme" && fail "README.txt describes lexoria-list.exe, which is not there"
fi

[ "$failures" = 0 ] && echo "check-archive: $zipfile is fine"
exit $((failures > 0))
