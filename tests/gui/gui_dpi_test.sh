#!/usr/bin/env bash
# The Windows program under Wine at 100 %, 150 % and 200 % (96, 144 and 192
# DPI): the banners span the whole window, leaving no grey band, and the
# function list's one column fills the list. A screenshot of the main window
# at each DPI is left in ARTEFACTS (tunewright-dpi-96.png, ...).
#   gui_dpi_test.sh WINE-RUN STATE tunewright.exe gui_drive.exe SOURCE-DIR ARTEFACTS
set -euo pipefail
run=$1 state=$2 program=$3 drive=$4 source=$5 artefacts=$6

source "$(dirname "$0")/gui_common.sh"

for dpi in 96 144 192; do
    set_dpi "$dpi"
    "$run" "$state" "$folder/tunewright.exe" &
    app=$!
    drive "count 1000 253" "text 1011 Menu delay" "banners" "fills 1000"
    screenshot "tunewright-dpi-$dpi.png"
    drive "syscommand 61536" "gone"
    wait "$app"
    app=
done
