#!/usr/bin/env bash
# Save and Reverse changes of the Windows program under Wine, driven as a
# user would: pick "Menu delay", type a new value, Save and confirm; the
# registry holds the value and the backup the old one; Reverse changes with
# that backup puts the old value back, and the panel shows it; closing with
# a typed value asks first, as does picking another function. A screenshot
# of the main window is left in ARTEFACTS.
#   gui_save_test.sh WINE-RUN STATE tunewright.exe gui_drive.exe SOURCE-DIR ARTEFACTS
set -euo pipefail
run=$1 state=$2 program=$3 drive=$4 source=$5 artefacts=$6

source "$(dirname "$0")/gui_common.sh"
# At 150 %, as the README shows it.
set_dpi 144

# Windows opens a .reg file with the registry editor; a new Wine prefix has
# no such association, so the shell's "open" of a backup would do nothing.
"$run" "$state" reg add 'HKCR\.reg' /ve /d regfile /f >/dev/null
"$run" "$state" reg add 'HKCR\regfile\shell\open\command' /ve /d 'regedit.exe "%1"' /f >/dev/null

key='HKCU\Control Panel\Desktop'
"$run" "$state" reg add "$key" /v MenuShowDelay /d 400 /f >/dev/null

delay() {
    "$run" "$state" reg query "$key" /v MenuShowDelay | tr -d '\r' | awk '$1 == "MenuShowDelay" { print $3 }'
}

# Each query takes a Wine process (0.1 to 0.3 s): up to about 20 s.
wait_delay() {
    local i
    for ((i = 0; i < 100; i++)); do
        [ "$(delay)" = "$1" ] && return 0
    done
    fail "MenuShowDelay is \"$(delay)\", expected \"$1\""
}

"$run" "$state" "$folder/tunewright.exe" &
app=$!
drive "count 1000 253" "mark 1000 0" "text 1011 Menu delay" "text 1005 400"

screenshot tunewright-main.png

drive "set 1005 600" "click 1010" "box" "has 65535 configuration has been saved" "command 1" "gone"
wait_delay 600

backups=("$folder"/backup/*.reg)
[ ${#backups[@]} -eq 1 ] && [ -f "${backups[0]}" ] || fail "expected one backup, found: ${backups[*]}"
case ${backups[0]##*/} in
    "backup - "????????" - "??.??" - Menu delay.reg") ;;
    *) fail "backup named ${backups[0]##*/}" ;;
esac
expected=$(printf 'REGEDIT4\r\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n"MenuShowDelay"="400"')
[ "$(cat "${backups[0]}")" = "$expected" ] || fail "backup holds: $(cat -A "${backups[0]}")"

# Reverse changes: its notice, then the file dialog; the shell's "open" of
# the chosen backup runs the registry editor, which imports it (Wine's
# without asking first, unlike Windows'). When the window is active again,
# the panel shows the restored value.
windows_path="Z:${backups[0]//\//\\}"
drive "command 32772" "box" "has 65535 backup file of the change" "command 1" "gone" "back" "box" "set 1148 $windows_path" \
    "command 1"
wait_delay 400
drive "activate" "text 1005 400"

# A value typed and not saved: closing asks first; No keeps the window and
# the value, and so do Enter (No is the default button) and Escape; picking
# another function asks too, and No keeps the one being edited; Yes closes.
drive "set 1005 700" "syscommand 61536" "box" "has 65535 has not been saved" "command 7" "gone" "back" "text 1005 700" \
    "syscommand 61536" "box" "press Enter" "gone" "back" "text 1005 700" \
    "syscommand 61536" "box" "press Escape" "gone" "back" "text 1005 700" \
    "select 1000 1" "box" "has 65535 without saving?" "press Escape" "gone" "back" "text 1011 Menu delay" \
    "text 1005 700" \
    "syscommand 61536" "box" "has 65535 Close without saving?" "command 6" "gone" "back" "gone"
wait_delay 400
wait "$app"
app=
