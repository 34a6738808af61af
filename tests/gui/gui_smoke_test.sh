#!/usr/bin/env bash
# The Windows program itself under Wine, driven as a user would: it starts in
# an installation whose folder name is not ASCII, lists its functions and
# shows the one clicked, names the help file that its folder lacks, opens
# About from the system menu, and the system menu's Close ends it, removing
# the companion program's marker.
#   gui_smoke_test.sh WINE-RUN STATE tunewright.exe gui_drive.exe SOURCE-DIR
set -euo pipefail
run=$1 state=$2 program=$3 drive=$4 source=$5

base=$(mktemp -d)
# UTF-8 on this side, Windows-1252 "caf\xE9" for the program.
folder=$base/café
app=
trap '[ -z "$app" ] || kill "$app" 2>/dev/null; rm -rf "$base"' EXIT
cp -r "$source/data/sample" "$folder"
cp "$program" "$folder/tunewright.exe"

# The window comes first, without the start-up question that UAC brings.
"$run" "$state" reg add 'HKLM\Software\Microsoft\Windows\CurrentVersion\Policies\System' \
    /v EnableLUA /t REG_DWORD /d 0 /f >/dev/null
marker='HKLM\Software\Orvelle\Orvelle Kitbasket'
"$run" "$state" reg add "$marker" /v active /d 1 /f >/dev/null

"$run" "$state" "$folder/tunewright.exe" &
app=$!
"$run" "$state" "$drive" "window Orvelle Tunewright 3" "count 1000 253" "text 1011 Menu delay" \
    "command 32776" "box" "has 65535 help.chm\" cannot be shown" "command 1" "gone" "back" \
    "mark 1000 1" "text 1011 Hide file name extensions" \
    "syscommand 16" "owned About ..." "click 1" "gone" \
    "window Orvelle Tunewright 3" "syscommand 61536" "gone"
wait "$app"
app=
if "$run" "$state" reg query "$marker" /v active >/dev/null 2>&1; then
    echo "gui_smoke_test: the close step left the marker" >&2
    exit 1
fi
