#!/usr/bin/env bash
# Runs a Windows test program on its own 8-bit Xvfb, Wine prefix and server (a palette display),
# leaving the shared true-colour display alone.
# Usage: run-256-colours.sh PROGRAM.exe PREFIX-FOLDER [ARGUMENTS...]
program=$1
prefix=$(realpath -m "$2")
shift 2
exec env -u DISPLAY -u LEXORIA_IN_XVFB LEXORIA_XVFB_SCREEN=1024x768x8 WINEPREFIX="$prefix" \
  LEXORIA_EXPECT_PALETTE_DISPLAY=1 "$(dirname "$0")/../../tools/with-wine.sh" wine "$program" "$@"
