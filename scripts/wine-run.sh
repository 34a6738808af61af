#!/usr/bin/env bash
# Runs a Windows program of the cross build under Wine, and is the build's
# CMAKE_CROSSCOMPILING_EMULATOR (cmake/mingw-w64-x86_64.cmake), so CTest and
# gtest_discover_tests call it as `wine-run.sh STATE PROGRAM.exe ARGS...`.
#
#   scripts/wine-run.sh STATE PROGRAM.exe [ARGS...]   run it; its exit code is ours
#   scripts/wine-run.sh STATE --up      start Xvfb, the Wine server and services
#   scripts/wine-run.sh STATE --down    stop them (the prefix stays)
#   scripts/wine-run.sh STATE --fresh   stop them and reset the prefix's registry
#   scripts/wine-run.sh STATE --display print the Xvfb display (":N")
#
# STATE is the Wine state folder, build/windows/wine for the `windows` preset
# (see wine-env.sh). The first use makes the prefix (about 20 s); after that a
# program starts in about 0.2 s. Delete STATE to start from a new prefix.
#
# Programs see the paths they are given as Z:\... (Wine maps / to Z:), run
# in the current folder, and write to the terminal or pipe directly. A Windows
# exit code above 255 comes back modulo 256, as on any POSIX system.
#
# The prefix's registry from the shell (Wine's own regedit and reg):
#   wine-run.sh STATE regedit /S FILE.reg    imports REGEDIT4 (Windows-1252)
#       and version 5 (UTF-16LE) files, but exits 0 even for a missing file
#       and skips bad lines silently: read the result back.
#   wine-run.sh STATE regedit /E FILE.reg 'HKEY_CURRENT_USER\Software\X'
#       (or reg export KEY FILE /y) writes a sorted version 5 UTF-16LE file:
#       the dependable way to compare.
#   wine-run.sh STATE reg query 'HKCU\Software\X' /v NAME    exits 1 when the
#       value is missing; prints CR LF lines "    NAME    REG_SZ    DATA"
#       (blanks in fours) with text in the OEM code page 437, "a\0b" for
#       REG_MULTI_SZ, "0xff" for REG_DWORD and "(null)" for every REG_QWORD.
set -euo pipefail

[ $# -ge 2 ] || { echo "usage: $0 STATE (PROGRAM.exe [ARGS...] | --up | --down | --fresh | --display)" >&2; exit 2; }
# No subprocesses before the program starts: each costs time under load.
TW_WINE_DIR=$1
[[ "$TW_WINE_DIR" == /* ]] || TW_WINE_DIR=$PWD/$TW_WINE_DIR
shift
# shellcheck source-path=SCRIPTDIR
source "${BASH_SOURCE[0]%/*}/wine-env.sh"

case "$1" in
    --up) tw_wine_up ;;
    --down) tw_wine_down ;;
    --fresh) tw_wine_fresh ;;
    --display) tw_wine_up && echo "$DISPLAY" ;;
    *) tw_wine_up && exec wine "$@" ;;
esac
