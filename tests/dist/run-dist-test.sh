#!/usr/bin/env bash
# The release test that ctest runs in the Windows build: packages the freshly built program with
# tools/dist.sh (seconds), checks the zip archive, then installs, starts and uninstalls it under
# Wine with dist_install_test.exe. Run it through tools/with-wine.sh, as ctest is.
#   run-dist-test.sh SOURCE_ROOT BIN_FOLDER WORK_FOLDER TEST_EXE VERSION [gtest options]
set -euo pipefail
root=$1 bin=$2 work=$3 test_exe=$4 version=$5
shift 5

"$root/tools/dist.sh" --no-build --bin "$bin" --out "$work" >/dev/null
# Packaging the same build again gives the same bytes: no clock time leaks into the release.
"$root/tools/dist.sh" --no-build --bin "$bin" --out "$work/again" >/dev/null
for file in Lexoria-$version-win32.zip Lexoria-$version-setup.exe; do
  cmp -s "$work/$file" "$work/again/$file" || { echo "run-dist-test: $file differs when made again" >&2; exit 1; }
done
"$root/tests/dist/check-archive.sh" "$work/Lexoria-$version-win32.zip" "$bin" "$root" "$version"

# Wine sees the Linux root as drive Z:. The test's output goes through a file: a Windows process
# left behind by a failed step would otherwise hold ctest's pipe open until the time-out and
# hide the failure.
setup=$work/Lexoria-$version-setup.exe
log=$work/dist_install_test.log
status=0
"$root/tools/wine-run.sh" "$test_exe" "$@" "Z:${setup//\//\\}" >"$log" 2>&1 || status=$?
cat "$log"
exit $status
