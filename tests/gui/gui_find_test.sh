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

folder=$(mktemp -d)
app=
trap '[ -z "$app" ] || kill "$app" 2>/dev/null; rm -rf "$folder"' EXIT
cp -r "$source/data/sample/." "$folder"
cp "$program" "$folder/tunewright.exe"

fail() {
    echo "gui_find_test: $*" >&2
    exit 1
}

# The window comes first, without the start-up question that UAC brings.
"$run" "$state" reg add 'HKLM\Software\Microsoft\Windows\CurrentVersion\Policies\System' \
    /v EnableLUA /t REG_DWORD /d 0 /f >/dev/null

drive() {
    "$run" "$state" "$drive" "window Orvelle Tunewright 3" "$@" || fail "driving the window failed"
}

"$run" "$state" "$folder/tunewright.exe" &
app=$!
# Entry 4 of the filter lists the folder functions only.
folders=$(LC_ALL=C awk '/^1[0-9][0-9][0-9]0 03/' "$folder/0019fct.ini" | wc -l)
drive "count 1000 61" "text 1011 Menu delay" "pick 1009 4" "count 1000 $folders" \
    "press Ctrl+F" "owned Find" "text 1030 Fi&nd what:" "set 1031 wallpaper" \
    "back" "count 1000 61" "text 1011 Desktop wallpaper"

# The screenshot needs imagemagick's import, xdotool and xwininfo
# (scripts/setup-windows.sh): the part of the screen where the main window
# is, with the box over it, which a picture of the window alone leaves out.
if command -v import >/dev/null && command -v xdotool >/dev/null && command -v xwininfo >/dev/null; then
    mkdir -p "$artefacts"
    display=$("$run" "$state" --display)
    id=$(DISPLAY=$display xdotool search --name '^Orvelle Tunewright 3$' | head -n 1)
    geometry=$(DISPLAY=$display xwininfo -id "$id" | awk '
        /Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
        /^ *Width:/ { w = $NF } /^ *Height:/ { h = $NF }
        END { print w "x" h "+" x "+" y }')
    DISPLAY=$display import -window root -crop "$geometry" +repage "$artefacts/tunewright-find.png" ||
        fail "no screenshot"
else
    echo "gui_find_test: imagemagick's import, xdotool or xwininfo not found, no screenshot"
fi

drive "owned Find" "press F3" "back" "text 1011 Wallpaper picture quality" \
    "owned Find" "set 1031 zzzq" "text 1032 No match for \"zzzq\"." "back" "text 1011 Wallpaper picture quality" \
    "owned Find" "press Escape" "gone"
drive "syscommand 61536" "gone"
wait "$app"
app=
