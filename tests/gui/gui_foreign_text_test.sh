#!/usr/bin/env bash
# Texts that the ANSI code page cannot hold, in the Windows program under
# Wine: a registered owner "Łódź" is shown as it is and is not saved back; a
# typed "Łukasz Ωmega" is refused by name; a wallpaper picked with Browse in
# a file named "Łódź.bmp" is refused and leaves the path field as it was. No
# backup is written and the registry keeps its value each time. The history
# lists a backup of the owner beyond the code page as its characters.
#   gui_foreign_text_test.sh WINE-RUN STATE tunewright.exe gui_drive.exe SOURCE-DIR
set -euo pipefail
run=$1 state=$2 program=$3 drive=$4 source=$5

source "$(dirname "$0")/gui_common.sh"
: >"$folder/Łódź.bmp"

owner='HKLM\Software\Microsoft\Windows NT\CurrentVersion'
desktop='HKCU\Control Panel\Desktop'
"$run" "$state" reg add "$owner" /v RegisteredOwner /d 'Łódź' /f >/dev/null
"$run" "$state" reg add "$desktop" /v Wallpaper /d 'C:\Pictures\Lake.bmp' /f >/dev/null
query() { "$run" "$state" reg query "$1" /v "$2" | tr -d '\r'; }
ownerBefore=$(query "$owner" RegisteredOwner)

"$run" "$state" "$folder/tunewright.exe" &
app=$!
# Registered owner (function 25): shown as the registry holds it, refused.
drive "count 1000 253" "mark 1000 25" "text 1011 Registered owner" "wtext 1006 Łódź" \
    "click 1010" "box" "has 65535 (U+0141, U+017A)" "command 1" "gone"
# Typed: refused by name.
drive "wset 1006 Łukasz Ωmega" "click 1010" "box" "has 65535 (U+0141, U+03A9)" "command 1" "gone"
[ "$(query "$owner" RegisteredOwner)" = "$ownerBefore" ] || fail "the registered owner changed"

# Desktop wallpaper (function 34), shown without saving the typed owner:
# the picked file's path is refused and the field keeps the registry's path.
windows_folder="Z:${folder//\//\\}"
drive "mark 1000 34" "box" "has 65535 without saving?" "command 6" "gone" "back" \
    "text 1011 Desktop wallpaper" "text 1006 C:\\Pictures\\Lake.bmp" \
    "click 1007" "box" "wset 1148 $windows_folder\\Łódź.bmp" "command 1" "gone" \
    "back" "box" "has 65535 (U+0141, U+017A)" "command 1" "gone" "back" "text 1006 C:\\Pictures\\Lake.bmp"
query "$desktop" Wallpaper | grep -qF 'REG_SZ    C:\Pictures\Lake.bmp' || fail "the wallpaper changed"

backups=("$folder"/backup/*.reg)
[ ! -e "${backups[0]}" ] || fail "a backup was written: ${backups[*]}"

# A version 5 backup of the owner beyond the code page: the history lists it
# and the registry's owner as their characters.
{
    printf '\xff\xfe'
    printf 'Windows Registry Editor Version 5.00\r\n\r\n[%s]\r\n"RegisteredOwner"=hex(1):%s\r\n' \
        'HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion' \
        41,01,f3,00,64,00,7a,01,20,00,a9,03,6d,00,65,00,67,00,61,00,00,00 | iconv -f ASCII -t UTF-16LE
} >"$folder/backup/backup - 20240305 - 09.05 - Registered owner.reg"
drive "command 32782" "owned History of changes" "count 1040 1" 'wcell 1040 0 2 "Łódź Ωmega"' \
    'wcell 1040 0 3 "Łódź"' "press Escape" "gone"

drive "syscommand 61536" "gone"
wait "$app"
app=
