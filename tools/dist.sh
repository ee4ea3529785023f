#!/usr/bin/env bash
# Makes the release for Windows users: builds the program, then writes the zip archive and the
# NSIS installer into $LEXORIA_BUILD/dist (build/dist by default).
#   tools/dist.sh                                      build, then package
#   tools/dist.sh --no-build [--bin DIR] [--out DIR] [--standard-user-copy]
#                                                      package what DIR holds as it is
# --standard-user-copy also writes Lexoria-<version>-setup-standard-user.exe, the installer built
# to play a standard user (see dist/lexoria.nsi), for the release test; it is never released.
# The release files: Lexoria.exe (stripped), lexoria.lst, lexoria.hlp, lexoria.chm,
# lexoria-list.exe when the build made it, and README.txt and LICENSE.txt with CR LF line ends.
set -euo pipefail
. "$(dirname "$0")/wine-env.sh"
root=$lexoria_root
cd "$root"
out=$lexoria_out

fail() { echo "dist: $*" >&2; exit 1; }

build=1
standard_user_copy=0
bin=$out/win/bin
dest=$out/dist
while [ $# -gt 0 ]; do
  case $1 in
    --no-build) build=0 ;;
    --standard-user-copy) standard_user_copy=1 ;;
    --bin) bin=${2:?--bin needs a folder}; shift ;;
    --out) dest=${2:?--out needs a folder}; shift ;;
    *) fail "unknown argument $1 (see the top of tools/dist.sh)" ;;
  esac
  shift
done

for tool in zip makensis i686-w64-mingw32-strip x86_64-w64-mingw32-strip x86_64-w64-mingw32-objdump; do
  command -v "$tool" >/dev/null || fail "$tool is missing (make deps installs it)"
done

[ "$build" = 1 ] && tools/build.sh

# The version of the build being packaged, as the build wrote it from CMakeLists.txt.
header=$bin/../generated/version.h
version=$(sed -n 's/^#define LEXORIA_VERSION "\(.*\)"$/\1/p' "$header" 2>/dev/null)
[ -n "$version" ] || fail "no version in $header; the Windows build writes it"

required=(Lexoria.exe lexoria.lst lexoria.hlp lexoria.chm)
optional=(lexoria-list.exe)
for name in "${required[@]}"; do
  [ -f "$bin/$name" ] || fail "$bin/$name is missing; the Windows build makes it"
done

mkdir -p "$dest"
dest=$(cd "$dest" && pwd)
stage=$(mktemp -d "$dest/stage.XXXXXX")
trap 'rm -rf "$stage"' EXIT

files=()
for name in "${required[@]}" "${optional[@]}"; do
  if [ -f "$bin/$name" ]; then
    cp "$bin/$name" "$stage/$name"
    files+=("$name")
  fi
done

# Same inputs, same release: every file carries the time of the last commit, and strip, which
# writes a new time into the program's header, takes that time too.
stamp=$(git log -1 --format=%ct 2>/dev/null || date +%s)

# The release is 32-bit. A 64-bit build (the tests' on a machine that runs no 32-bit code) is
# packaged the same way, with a 64-bit installer that 64-bit Wine can run.
target=i686
x86_64-w64-mingw32-objdump -f "$stage/Lexoria.exe" | grep -q 'format pei-x86-64' && target=x86_64

# The symbols are of no use to users and make up much of the program's size.
for name in Lexoria.exe lexoria-list.exe; do
  [ -f "$stage/$name" ] || continue
  if x86_64-w64-mingw32-objdump -f "$stage/$name" | grep -q HAS_SYMS; then
    SOURCE_DATE_EPOCH=$stamp $target-w64-mingw32-strip --strip-all "$stage/$name"
  fi
done

# Text for Notepad: CR LF line ends. In the README template, @VERSION@ is the version and a block
# between "#if NAME" and "#endif" stays only when the file NAME is part of the release.
crlf() { sed 's/\r$//; s/$/\r/'; }
awk -v present=" ${files[*]} " '
  /^#if / { keep = index(present, " " $2 " ") > 0; inside = 1; next }
  /^#endif/ { inside = 0; next }
  !inside || keep' dist/README.txt | sed "s/@VERSION@/$version/g" | crlf >"$stage/README.txt"
grep -q '@[A-Z_]*@' "$stage/README.txt" && fail "dist/README.txt has an unknown placeholder"
crlf <LICENSE >"$stage/LICENSE.txt"
files+=(README.txt LICENSE.txt)

for name in "${files[@]}"; do touch -d "@$stamp" "$stage/$name"; done

zipfile=$dest/Lexoria-$version-win32.zip
setup=$dest/Lexoria-$version-setup.exe
rm -f "$zipfile" "$setup" "$dest/Lexoria-$version-setup-standard-user.exe"
(cd "$stage" && TZ=UTC zip -q -X -D "$zipfile.part" "${files[@]}")
mv "$zipfile.part" "$zipfile"

nsis_defines=(-DVERSION="$version" -DSTAGE="$stage" -DICON="$root/src/resources/lexoria.ico")
[ -f "$stage/lexoria-list.exe" ] && nsis_defines+=(-DLIST_TOOL)
[ "$target" = x86_64 ] && nsis_defines+=(-DTARGET_AMD64)
# Warnings count as errors: they usually mean a page, a file or a translation that is not what it
# seems (a text missing in one language, say).
make_installer() {
  local outfile=$1 log
  shift
  if ! log=$(makensis -V2 -WX "${nsis_defines[@]}" -DOUTFILE="$outfile.part" "$@" dist/lexoria.nsi 2>&1); then
    echo "$log" >&2
    fail "makensis failed"
  fi
  mv "$outfile.part" "$outfile"
}
make_installer "$setup"
[ "$standard_user_copy" = 1 ] &&
  make_installer "$dest/Lexoria-$version-setup-standard-user.exe" -DSIMULATE_STANDARD_USER

echo "dist: wrote $zipfile"
unzip -l "$zipfile"
echo "dist: wrote $setup"
size() { printf "%'d bytes (%d KB)" "$(stat -c %s "$1")" "$(( ($(stat -c %s "$1") + 1023) / 1024 ))"; }
echo "dist: installer size $(size "$setup"), zip archive $(size "$zipfile")"
