#!/usr/bin/env bash
# Find in the Windows program under Wine, with the keyboard as a user has it:
# with the category filter on folders, Ctrl+F opens the box over the main
# window, a word typed selects the first function that holds it (a file, so
# the filter goes back to all functions), F3 the next one, a word that no
# function holds is said in the box, and Escape closes it. A screenshot of
# the main window with the box is left in ARTEFACTS.
#   gui_find_test.sh WINE-RUN STATE tunewright.exe gui_drive.exe SOURCE-DIR ARTEFACTS
set -euo pipefail
run=$1 state=$2 program=$3 drive=$4 source=$5 artefacts=$6

source "$(dirname "$0")/gui_common.sh"
# At 150 %, as the README shows it.
set_dpi 144

"$run" "$state" "$folder/tunewright.exe" &
app=$!
# Entry 4 of the filter lists the folder functions only.
folders=$(LC_ALL=C awk '/^1[0-9][0-9][0-9]0 03/' "$folder/0019fct.ini" | wc -l)
drive "count 1000 253" "text 1011 Menu delay" "pick 1009 4" "count 1000 $folders" \
    "press Ctrl+F" "owned Find" "text 1030 Fi&nd what:" "set 1031 wallpaper" \
    "back" "count 1000 253" "text 1011 Desktop wallpaper"

screenshot tunewright-find.png

drive "owned Find" "press F3" "back" "text 1011 Wallpaper picture quality" \
    "owned Find" "set 1031 zzzq" "text 1032 No match for \"zzzq\"." "back" "text 1011 Wallpaper picture quality" \
    "owned Find" "press Escape" "gone"
drive "syscommand 61536" "gone"
wait "$app"
app=
