#!/usr/bin/env bash
# The Windows program under Wine at 100 %, 150 % and 200 % (96, 144 and 192
# DPI): the banners span the whole window, leaving no grey band, and the
# function list's one column fills the list. Then, as when the window is
# moved to a monitor of another DPI (96 to 144, 144 to 192, 192 to 144), the
# history box and the main window take the place suggested and look as they
# do when the program starts at that DPI: the same size inside, every control
# at the same place and size, the same columns. (Not down to 96: Wine gives a
# program started at 144 or 192 DPI the high-DPI set of its bitmap fonts,
# which lacks the small sizes of the dialog font at 96.) A screenshot of the main
# window at each DPI is left in ARTEFACTS (tunewright-dpi-96.png, ...), and
# one after each change (tunewright-dpi-96-to-144.png, ...).
#   gui_dpi_test.sh WINE-RUN STATE tunewright.exe gui_drive.exe SOURCE-DIR ARTEFACTS
set -euo pipefail
run=$1 state=$2 program=$3 drive=$4 source=$5 artefacts=$6

source "$(dirname "$0")/gui_common.sh"

declare -A next=([96]=144 [144]=192 [192]=144)
for dpi in 96 144 192; do
    to=${next[$dpi]}
    set_dpi "$dpi"
    "$run" "$state" "$folder/tunewright.exe" &
    app=$!
    drive "count 1000 253" "text 1011 Menu delay" "banners" "fills 1000" "measure" >"$folder/main-$dpi"
    screenshot "tunewright-dpi-$dpi.png"
    drive "command 32782" "owned History of changes" "count 1040 0" "measure" >"$folder/history-$dpi"
    drive "owned History of changes" "dpi $to" "measure" "command 2" "gone" >"$folder/history-$dpi-to-$to"
    drive "dpi $to" "banners" "fills 1000" "measure" >"$folder/main-$dpi-to-$to"
    screenshot "tunewright-dpi-$dpi-to-$to.png"
    drive "syscommand 61536" "gone"
    wait "$app"
    app=
done
# Kept beside the screenshots, for a failure's reader.
cp "$folder"/main-* "$folder"/history-* "$artefacts/"
for dpi in 96 144 192; do
    to=${next[$dpi]}
    for window in main history; do
        diff -u "$folder/$window-$to" "$folder/$window-$dpi-to-$to" >&2 ||
            fail "the $window window moved from $dpi to $to DPI differs from one opened at $to DPI"
    done
done
