#!/usr/bin/env bash
# Installs what a fresh Debian machine lacks to cross-build the Windows
# program and test it under Wine (about 80 s; imagemagick and x11-utils, for
# the GUI tests' screenshots, about 30 s more). Installs nothing when everything is
# there already.
set -euo pipefail
# shellcheck source-path=SCRIPTDIR
source "$(dirname "$0")/apt-install.sh"

need=()
command -v x86_64-w64-mingw32-g++-posix >/dev/null 2>&1 || need+=(g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64)
command -v wine >/dev/null 2>&1 || need+=(wine wine64)
[ -d /usr/share/wine/fonts ] || need+=(fonts-wine)
command -v Xvfb >/dev/null 2>&1 || need+=(xvfb)
command -v xdotool >/dev/null 2>&1 || need+=(xdotool)
command -v import >/dev/null 2>&1 || need+=(imagemagick)
# chmcmd compiles the help.chm that the package holds.
command -v chmcmd >/dev/null 2>&1 || need+=(fp-utils)
# Where a window lies on the screen, for the screenshot of Find over it.
command -v xwininfo >/dev/null 2>&1 || need+=(x11-utils)
# GoogleTest is built from its sources for the Windows target.
[ -f /usr/src/googletest/CMakeLists.txt ] || need+=(googletest)

apt_install setup-windows --no-install-recommends "${need[@]}"
