#!/usr/bin/env bash
# The history of changes in the Windows program under Wine, driven as a user
# would: three functions saved (a text, a dword, a text), the history lists
# the three backups newest first with the value each holds beside the
# registry's; "Undo all since this" on the oldest asks once, says what it
# changed, and puts all three values back with their types; the panel shows
# the registry's value. A screenshot of the main window with the history over
# it is left in ARTEFACTS.
#   gui_history_test.sh WINE-RUN STATE tunewright.exe gui_drive.exe SOURCE-DIR ARTEFACTS
set -euo pipefail
run=$1 state=$2 program=$3 drive=$4 source=$5 artefacts=$6

source "$(dirname "$0")/gui_common.sh"
# At 150 %, as the README shows it.
set_dpi 144

desktop='HKCU\Control Panel\Desktop'
advanced='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Advanced'
"$run" "$state" reg add "$desktop" /v MenuShowDelay /t REG_SZ /d 400 /f >/dev/null
"$run" "$state" reg add "$desktop" /v HungAppTimeout /t REG_SZ /d 5000 /f >/dev/null
"$run" "$state" reg add "$advanced" /v Hidden /t REG_DWORD /d 2 /f >/dev/null

# "TYPE DATA" of a value, as reg query prints them.
value() {
    "$run" "$state" reg query "$1" /v "$2" | tr -d '\r' | awk -v name="$2" '$1 == name { print $2 " " $3 }'
}

# Row ROW of the main list: its function shown, NUMBER typed and saved.
save() {
    drive "mark 1000 $1" "text 1011 $2" "set 1005 $3" "click 1010" "box" "has 65535 configuration has been saved" \
        "command 1" "gone"
}

"$run" "$state" "$folder/tunewright.exe" &
app=$!
drive "count 1000 253"
save 0 "Menu delay" 600
save 2 "Hidden files and folders" 1
save 9 "Time-out for hung applications" 9000

# Newest first: what each backup holds, and what the registry holds now.
drive "command 32782" "owned History of changes" "count 1040 3" \
    "cell 1040 0 1 Time-out for hung applications" "cell 1040 0 2 \"5000\"" "cell 1040 0 3 \"9000\"" \
    "cell 1040 1 1 Hidden files and folders" "cell 1040 1 2 dword:00000002" "cell 1040 1 3 dword:00000001" \
    "cell 1040 2 1 Menu delay" "cell 1040 2 2 \"400\"" "cell 1040 2 3 \"600\"" "select 1040 2"

screenshot tunewright-history.png

drive "owned History of changes" "click 1043" "box" "has 65535 (3 backups)?" "command 6" "gone" \
    "back" "owned History of changes" "box" "has 65535 Values changed: 3." "command 1" "gone" \
    "back" "owned History of changes" "count 1040 4" "cell 1040 3 3 same: \"400\"" "press Escape" "gone" \
    "back" "text 1011 Time-out for hung applications" "text 1005 5000"
[ "$(value "$desktop" MenuShowDelay)" = "REG_SZ 400" ] || fail "MenuShowDelay is $(value "$desktop" MenuShowDelay)"
[ "$(value "$desktop" HungAppTimeout)" = "REG_SZ 5000" ] || fail "HungAppTimeout is $(value "$desktop" HungAppTimeout)"
[ "$(value "$advanced" Hidden)" = "REG_DWORD 0x2" ] || fail "Hidden is $(value "$advanced" Hidden)"
backups=("$folder"/backup/*.reg)
[ ${#backups[@]} -eq 4 ] || fail "expected the three backups and the undo's, found: ${backups[*]}"

drive "syscommand 61536" "gone"
wait "$app"
app=
