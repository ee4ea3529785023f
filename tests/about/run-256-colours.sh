#!/usr/bin/env bash
# Runs a Windows test program on a 256-colour display, where the screen's colours go through a
# palette: its own Xvfb at 8 bits per pixel, and its own Wine prefix and server so that the
# true-colour display the other tests share is not disturbed.
# Usage: run-256-colours.sh PROGRAM.exe PREFIX-FOLDER [ARGUMENTS...]
program=$1
prefix=$(realpath -m "$2")
shift 2
exec env -u DISPLAY -u LEXORIA_IN_XVFB LEXORIA_XVFB_SCREEN=1024x768x8 WINEPREFIX="$prefix" \
  LEXORIA_EXPECT_PALETTE_DISPLAY=1 "$(dirname "$0")/../../tools/with-wine.sh" wine "$program" "$@"
