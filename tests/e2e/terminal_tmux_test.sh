#!/usr/bin/env bash
# End-to-end test of the full-screen terminal front end, driven through tmux:
# a throw-away installation of the sample data in German (so that translated
# captions differ from the resource script's), the start-up question
# answered, the function list and menu bar checked, the selection moved with
# the arrow keys. At 120x40, 200x60 and 80x24 every text shown is whole or
# ends in "…", and the list grows with the terminal. Find is opened with "/"
# and finds a function by a word of its name. Then, on an 80x24 terminal, a
# user's round trip with keys
# only: a new number saved and its backup written, the backup picked in File,
# Reverse changes and imported after the question, the store back byte for
# byte; three numbers saved, listed in the history of changes and undone
# from there, the store back byte for byte again; and a folder picked with
# Browse, which starts in the folder of the function's value, into the path
# field. Last, Escape checked to ask before
# that path is lost, then to end the program and give the terminal back
# (normal screen, cursor shown, line editing and echo on).
#
# usage: terminal_tmux_test.sh TUNEWRIGHT_BINARY SOURCE_DIR
# Exit codes: 0 passed, 1 failed, 77 skipped (no tmux or iconv).
set -u

bin=${1:?usage: terminal_tmux_test.sh TUNEWRIGHT_BINARY SOURCE_DIR}
src=${2:?usage: terminal_tmux_test.sh TUNEWRIGHT_BINARY SOURCE_DIR}

for tool in tmux iconv; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "SKIP: $tool is not installed"
        exit 77
    fi
done
[ -x "$bin" ] || { echo "FAIL: no program at $bin" >&2; exit 1; }
[ -d "$src/data/sample" ] || { echo "FAIL: no sample data in $src/data/sample" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/tunewright-tmux.XXXXXX")
# A server of our own, so that the user's tmux sessions are never touched.
tm=(tmux -u -L "tunewright-e2e-$$" -f /dev/null)
session=e2e
cleanup() {
    "${tm[@]}" kill-server >/dev/null 2>&1
    rm -rf "$work"
}
trap cleanup EXIT

capture() { "${tm[@]}" capture-pane -p -t "$session" 2>/dev/null; }
fail() {
    echo "FAIL: $*" >&2
    echo "---- screen ----" >&2
    capture >&2
    echo "----------------" >&2
    exit 1
}
# Waits up to $2 seconds (default 10) until the screen shows the text $1.
wait_for() {
    local tries=$(( ${2:-10} * 10 ))
    while (( tries-- > 0 )); do
        capture | grep -qF -- "$1" && return 0
        sleep 0.1
    done
    return 1
}
wait_gone() {
    local tries=$(( ${2:-10} * 10 ))
    while (( tries-- > 0 )); do
        capture | grep -qF -- "$1" || return 0
        sleep 0.1
    done
    return 1
}

# The installation: program and sample data in one folder, the registry store
# a copy of the seed so that the sample stays untouched.
app="$work/app"
cp -r "$src/data/sample" "$app" || fail "cannot copy the sample data"
cp "$bin" "$app/tunewright" || fail "cannot copy the program"
cp "$src/data/sample/registry.reg" "$work/registry.reg" || fail "cannot copy the registry store"
# Values that appear nowhere else on the screen, so the panel must have read them.
sed -i 's/^"MenuShowDelay"=.*/"MenuShowDelay"="1357"\r/; s/^"Hidden"=.*/"Hidden"=dword:00000b7f\r/' "$work/registry.reg"
grep -q '"MenuShowDelay"="1357"' "$work/registry.reg" || fail "cannot set MenuShowDelay in the store"
grep -q '"Hidden"=dword:00000b7f' "$work/registry.reg" || fail "cannot set Hidden in the store"
language='[1031]'
sed -i "/^Language\r\?\$/{n;s/^\[[^]]*\]/$language/}" "$app/config.ini"
grep -qF "$language" "$app/config.ini" || fail "cannot switch the sample to $language"
# An older backup with another value: picking it instead of the new one shows
# in the store. The folder browser starts in the folder of the function's
# value, not in the program's current folder.
printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n"MenuShowDelay"="999"' \
    >"$app/backup/backup - 19990101 - 00.00 - decoy.reg" || fail "cannot write the older backup"
mkdir -p "$work/start/Auswahl" "$work/start/Zielordner" || fail "cannot make the folders to browse"
sed -i "s|^\"TEMP\"=.*|\"TEMP\"=\"$work/start\"\r|" "$work/registry.reg"
grep -q "^\"TEMP\"=\"$work/start\"" "$work/registry.reg" || fail "cannot set TEMP in the store"

# What the screen must show, from the translation file (Windows-1252).
entry_raw() {
    LC_ALL=C awk -v section="$language" -v key="$1" '
        { sub(/\r$/, "") }
        $0 == section { inside = 1; next }
        inside && /^\[/ { exit }
        inside && substr($0, 1, 5) == key { print substr($0, 7); exit }
    ' "$app/0019trl.ini" | iconv -f CP1252 -t UTF-8
}
entry() { entry_raw "$1" | tr -d '&'; }
name0=$(entry 10000)
name1=$(entry 10010)
name2=$(entry 10020)
fileMenu=$(entry 00200)
helpMenu=$(entry 00245)
saved1=$(entry 00100)
saved3=$(entry 00110)
reverse1=$(entry 00115)
# The importer's question and report: their words before the file's name, and
# the report's last word.
importAsk=$(entry 01220)
importAsk=${importAsk%% \"%1*}
importDone=$(entry 01221)
importDoneEnd=${importDone##* }
importDone=${importDone%% \"%1*}
folderTitle=$(entry 00080)
# A box's buttons speak the translation's language too.
yesButton=$(entry 01350)
noButton=$(entry 01351)
lookIn=$(entry 01357)
folderLabel=$(entry 01358)
# The function of the first folder path in the catalogue, and its place in the list.
folderKey=$(LC_ALL=C awk '/^1[0-9][0-9][0-9]0 03[0-9][0-9]\r?$/ { print $1; exit }' "$app/0019fct.ini")
folderName=$(entry "$folderKey")
for v in name0 name1 name2 fileMenu helpMenu saved1 saved3 reverse1 folderTitle folderName yesButton noButton lookIn folderLabel; do
    [ -n "${!v}" ] || fail "the translation file has no text for $v"
done
# The letter that Alt takes for a caption: the one after '&', in lower case.
mnemonic() { entry_raw "$1" | sed -n 's/.*&\(.\).*/\1/p' | tr '[:upper:]' '[:lower:]'; }
saveKey=$(mnemonic 00055)
fileKey=$(mnemonic 00200)
reverseKey=$(mnemonic 00210)
browseKey=$(mnemonic 00070)
historyKey=$(mnemonic 01850)
undoKey=$(mnemonic 01857)
historyCaption=$(entry 01851)
# "(%2 Sicherungen)" of the question, for three backups.
undoAsked=$(entry 01866 | sed 's/.*\((%2[^)]*)\).*/\1/; s/%2/3/')
undoDone=$(entry 01868)
sameMark=$(entry 01863)
for v in saveKey fileKey reverseKey browseKey historyKey undoKey historyCaption undoAsked undoDone sameMark; do
    [ -n "${!v}" ] || fail "the translation file has no mnemonic for $v"
done

cat >"$work/run.sh" <<SCRIPT
#!/bin/sh
printf 'SHELL BEFORE THE PROGRAM\n'
cd '$work' || exit 1
TUNEWRIGHT_REGISTRY='$work/registry.reg' '$app/tunewright'
echo \$? >'$work/status'
stty -a >'$work/stty' 2>&1
printf 'SHELL AFTER THE PROGRAM\n'
exec sleep 600
SCRIPT
chmod +x "$work/run.sh"

"${tm[@]}" new-session -d -s "$session" -x 120 -y 40 "$work/run.sh" || fail "tmux cannot start a session"

# The start-up question (the seed store has UAC on) comes before the list.
tries=150
while (( tries-- > 0 )); do
    screen=$(capture)
    if grep -qF "[ $yesButton ]" <<<"$screen" && grep -qF "[ $noButton ]" <<<"$screen"; then
        "${tm[@]}" send-keys -t "$session" Enter
        wait_gone "[ $yesButton ]" 5 || fail "the start-up question did not close on Enter"
    fi
    grep -qF -- "$name0" <<<"$screen" && break
    [ -e "$work/status" ] && fail "the program ended during start-up with status $(cat "$work/status")"
    sleep 0.1
done
wait_for "$name0" 1 || fail "the function list does not show \"$name0\""
wait_for "$name1" 1 || fail "the function list does not show \"$name1\""
menuBar=$(capture | sed -n 2p)
grep -qF -- "$fileMenu" <<<"$menuBar" || fail "the menu bar does not show \"$fileMenu\": $menuBar"
grep -qF -- "$helpMenu" <<<"$menuBar" || fail "the menu bar does not show \"$helpMenu\": $menuBar"
wait_for "┌ $name0 " 5 || fail "the option panel does not show the first function \"$name0\""
wait_for "1357" 2 || fail "the option panel does not show the first function's value 1357"

"${tm[@]}" send-keys -t "$session" Down Down
wait_for "┌ $name2 " 5 || fail "two Down keys did not show the third function \"$name2\" in the option panel"
wait_for "2943" 2 || fail "the option panel does not show the third function's value 2943 (dword 0xb7f)"

keys() { "${tm[@]}" send-keys -t "$session" "$@"; }

# Every text the window shows must be whole, or cut short with "…": the
# names in the function list, the info text, the captions of the panel, the
# menu bar. The screen is read in characters, one a cell.
mapfile -t names < <(for (( k = 10000; ; k += 10 )); do
    n=$(entry "$k"); [ "$n" = "End of functions" ] && break; printf '%s\n' "$n"; done)
[ "${#names[@]}" = 253 ] || fail "the translation file does not name 253 functions"
# Passes when the screen shows the text $1 whole, or a start of it and "…".
shown_or_cut() {
    local text=$1 k
    grep -qF -- "$text" <<<"$screen" && return 0
    for (( k = ${#text} - 1; k >= 3; --k )); do
        grep -qF -- "${text:0:k}…" <<<"$screen" && return 0
    done
    return 1
}
is_name_or_cut() {
    local text=$1 n
    for n in "${names[@]}"; do
        [ "$text" = "$n" ] && return 0
        [[ "$text" == *… && "$n" == "${text%…}"* ]] && return 0
    done
    return 1
}
# $1: the size; $2: the function shown; $3: the rows the list must show at least.
check_texts() {
    local size=$1 key=$2 least=$3 r line col=-1 bar rest text rows=0 info joined first ir=-1 ic width
    local LC_ALL=C.UTF-8
    screen=$(capture)
    mapfile -t lines <<<"$screen"
    for r in "${!lines[@]}"; do
        if [[ ${lines[r]} == *▸* ]]; then line=${lines[r]}; rest=${line%%▸*}; col=${#rest}; break; fi
    done
    (( col >= 0 )) || fail "$size: the function list shows no selection mark"
    rest=${line:col}; rest=${rest%%[█░]*}; bar=$(( col + ${#rest} ))
    for r in "${!lines[@]}"; do
        [[ "${lines[r]:bar:1}" == [█░] ]] || continue
        text=${lines[r]:col+1:bar-col-1}
        text="${text%"${text##*[! ]}"}"
        rows=$(( rows + 1 ))
        is_name_or_cut "$text" || fail "$size: the list row \"$text\" is no name, nor one cut short with …"
    done
    (( rows >= least )) || fail "$size: the list shows $rows functions, fewer than $least"
    # The info text: from where its first words are to the frame on its right.
    info=$(entry $(( key + 2 )))
    first=${info:0:12}
    for r in "${!lines[@]}"; do
        if [[ ${lines[r]} == *"$first"* ]]; then ir=$r; rest=${lines[r]%%"$first"*}; ic=${#rest}; break; fi
    done
    (( ir >= 0 )) || fail "$size: the info text does not begin with \"$first\""
    rest=${lines[ir]:ic}; rest=${rest%%│*}; width=${#rest}
    joined=
    for (( r = ir; r < ${#lines[@]}; ++r )); do
        text=${lines[r]:ic:width}
        text="${text%"${text##*[! ]}"}"
        [ -z "$text" ] && break
        joined+="${joined:+ }$text"
    done
    if [ "$joined" != "$info" ]; then
        [[ "$joined" == *… && "$info" == "${joined%…}"* ]] || fail "$size: the info text is cut without …: \"$joined\""
    fi
    for text in "$(entry "$key")" "$(entry $(( key + 1 )))" "$(entry 00055)" "$(entry 00060)" "$(entry 00065)" \
                "$(entry 00140)" "$(entry 00010)" "$fileMenu" "$helpMenu" "Orvelle Tunewright 3"; do
        shown_or_cut "$text" || fail "$size: \"$text\" is cut without …"
    done
}
# A function with a long name and a long info text, shown at three sizes.
longKey=10070
keys Down Down Down Down Down
wait_for "┌ $(entry $longKey) " 5 || fail "five Down keys did not show \"$(entry $longKey)\""
for size in 120x40 200x60 80x24; do
    "${tm[@]}" resize-window -t "$session" -x "${size%x*}" -y "${size#*x}" || fail "tmux cannot make the window $size"
    sleep 0.5
    least=8
    [ "$size" = 200x60 ] && least=30
    check_texts "$size" "$longKey" "$least"
done
# A terminal smaller than the squeezed window says the size it needs
# instead of leaving Save off the screen.
tooSmall=$(entry 02402)
tooSmall=${tooSmall:0:30}
"${tm[@]}" resize-window -t "$session" -x 60 -y 18 || fail "tmux cannot make the window 60x18"
wait_for "$tooSmall" 5 || fail "60x18: no line saying the size the window needs (\"$tooSmall\")"
"${tm[@]}" resize-window -t "$session" -x 80 -y 24 || fail "tmux cannot make the window 80x24"
wait_gone "$tooSmall" 5 || fail "80x24: the window does not come back"
keys Up Up Up Up Up
wait_for "┌ $name2 " 5 || fail "five Up keys did not show \"$name2\" again"

# Find: "/" in the list opens it; a word of a name, typed, selects that
# function in the list behind the box; Escape closes the box.
findLabel=$(entry 01802)
word=$(entry 10400); word=${word%% *}
keys /
wait_for "$findLabel" 5 || fail "/ did not open Find (\"$findLabel\")"
keys -l "$word"
wait_for "▸$word" 5 || fail "typing \"$word\" in Find did not select its function"
keys Escape
wait_gone "$findLabel" 5 || fail "Escape did not close Find"
keys Home Down Down
wait_for "┌ $name2 " 5 || fail "Home and two Down keys did not show \"$name2\" again"

# The rest happens where it is tightest: 80 columns, 24 rows.
"${tm[@]}" resize-window -t "$session" -x 80 -y 24 || fail "tmux cannot make the window 80x24"
keys Up Up
wait_for "┌ $name0 " 5 || fail "two Up keys did not show the first function \"$name0\" again"
wait_for "1357" 2 || fail "the option panel does not show 1357 at 80x24"
storeBefore="$work/store-before-save.reg"
cp "$work/registry.reg" "$storeBefore"
oldLine=$(grep -a '^"MenuShowDelay"=' "$storeBefore")

# Shift-Tab from the list goes round to the number field, whose text is
# selected on entry, so typing replaces it.
keys BTab
keys -l 2468
wait_for "2468" 2 || fail "typing 2468 into the number field does not show"
keys "M-$saveKey"
wait_for "$saved1" 5 || fail "Alt+$saveKey did not save with the confirmation \"$saved1\""
wait_for "${saved3##* }" 1 || fail "the confirmation is cut off before its last word \"${saved3##* }\""
grep -q '^"MenuShowDelay"="2468"'$'\r''$' "$work/registry.reg" || fail "the store does not hold the saved 2468"
backups=("$app/backup/backup - "*" - "*" - "*.reg)
[ "${#backups[@]}" = 2 ] || fail "the save did not add exactly one backup: ${backups[*]}"
backup=${backups[1]}
[[ "$backup" == *decoy.reg ]] && backup=${backups[0]}
grep -aq '^"MenuShowDelay"="1357"' "$backup" || fail "the backup $backup does not hold the old value 1357"
keys Enter
wait_gone "$saved1" 5 || fail "Enter did not close the confirmation"
storeAfterSave="$work/store-after-save.reg"
cp "$work/registry.reg" "$storeAfterSave"

# File, Reverse changes: the message, then the picker in the backup folder.
keys "M-$fileKey"
keys "$reverseKey"
firstWords=$(awk '{ print $1 " " $2 " " $3 }' <<<"$reverse1")
wait_for "$firstWords" 5 || fail "Reverse changes did not show its message \"$reverse1\""
keys Enter
wait_for "$lookIn " 5 || fail "no file dialog after the message"
capture | grep -q "$lookIn .*/app/backup *│" || fail "the file dialog does not open in the backup folder"
newName=$(basename "$backup" | iconv -f CP1252 -t UTF-8)
wait_for "▸backup - 19990101 - 00.00 - decoy.reg" 2 || fail "the file dialog does not list the older backup first"
wait_for "$newName" 1 || fail "the file dialog does not list the new backup \"$newName\""
capture | grep -qF "README.txt" && fail "the file dialog lists a file that is no .reg file"
keys Down
wait_for "▸$newName" 2 || fail "Down did not move to the new backup"
keys Enter
wait_for "$importAsk" 5 || fail "choosing the backup did not ask before importing (\"$importAsk\")"
wait_for "[ $yesButton ]" 1 || fail "the import question has no Yes button"
grep -q '^"MenuShowDelay"="2468"' "$work/registry.reg" || fail "the store changed before the question was answered"
keys Enter
wait_for "$importDone" 5 || fail "the import did not say that it succeeded (\"$importDone\")"
wait_for "$importDoneEnd" 1 || fail "the success message is cut off before \"$importDoneEnd\""
keys Enter
wait_gone "$importDone" 5 || fail "Enter did not close the success message"
grep -aqxF "$oldLine" "$work/registry.reg" || fail "the store does not hold the old line again: $(grep -a MenuShowDelay "$work/registry.reg")"
# Everything else stays as the save left it, so the file equals the one after
# the save with the old line put back.
newLine=$(grep -a '^"MenuShowDelay"=' "$storeAfterSave")
(
    export LC_ALL=C
    text=$(cat "$storeAfterSave"; printf x)
    text=${text%x}
    printf '%s' "${text/"$newLine"$'\n'/"$oldLine"$'\n'}"
) >"$work/expected.reg"
cmp -s "$work/expected.reg" "$work/registry.reg" || fail "the store after Reverse changes is not the one after the save with the old line back: $(diff "$work/expected.reg" "$work/registry.reg" | head -5)"

# History of changes: three numbers saved (two texts, one dword), listed in
# the box with the values before and now; Undo all since the first of them,
# asked once, puts the store back byte for byte.
storeBeforeHistory="$work/store-before-history.reg"
cp "$work/registry.reg" "$storeBeforeHistory"
# $1: the Down keys from the list's top; $2: the function's key; $3: the number.
save_number() {
    keys Tab Tab Home
    wait_for "▸$name0" 2 || fail "two Tab keys from the save button did not reach the list"
    local k
    for (( k = 0; k < $1; ++k )); do keys Down; done
    wait_for "┌ $(entry "$2") " 5 || fail "the list did not reach \"$(entry "$2")\""
    keys BTab
    keys -l "$3"
    keys "M-$saveKey"
    wait_for "$saved1" 5 || fail "saving $3 for \"$(entry "$2")\" was not confirmed"
    keys Enter
    wait_gone "$saved1" 5 || fail "Enter did not close the confirmation"
}
save_number 0 10000 1111
save_number 2 10020 1
save_number 9 10090 9000
keys "M-$fileKey"
keys "$historyKey"
wait_for "$historyCaption" 5 || fail "File, $historyCaption did not open the box"
for text in "$(entry 01852)" '"1357"' '"1111"' 'dword:00000b7f' 'dword:00000001' '"9000"'; do
    wait_for "$text" 1 || fail "the history does not show $text"
done
# The status line below the list shows the count first, then the folder.
countWords=$(entry 01859 | sed 's/^%1 //; s/ [^ ]*%2.*$//')
capture | grep -qE "[0-9]+ $countWords" || fail "80x24: the history's status line does not show the count (\"$countWords\")"
keys Down Down "M-$undoKey"
wait_for "$undoAsked" 5 || fail "Undo all since the third row did not ask about three backups (\"$undoAsked\")"
cmp -s "$storeBeforeHistory" "$work/registry.reg" && fail "the saves did not change the store"
keys Enter
wait_for "${undoDone%%%1*}3." 5 || fail "the undo did not say that it changed three values"
keys Enter
wait_for "${sameMark%%%1*}\"1357\"" 5 || fail "the history does not show the registry holding the first backup's value"
cmp -s "$storeBeforeHistory" "$work/registry.reg" || fail "the store after Undo all since is not the one before the saves: $(diff "$storeBeforeHistory" "$work/registry.reg" | head -5)"
keys Escape
wait_gone "$historyCaption" 5 || fail "Escape did not close the history"
wait_for "5000" 5 || fail "the panel does not show the value 5000 that the undo put back"

# Browse for a folder path, from the list.
keys Tab Tab Home
wait_for "▸$name0" 2 || fail "two Tab keys from the save button did not reach the list"
downs=()
for (( i = 0; i < (folderKey - 10000) / 10; ++i )); do downs+=(Down); done
keys "${downs[@]}"
wait_for "┌ $folderName " 5 || fail "the list did not reach the folder function \"$folderName\""
storeBeforeBrowse="$work/store-before-browse.reg"
cp "$work/registry.reg" "$storeBeforeBrowse"
keys "M-$browseKey"
wait_for "$folderTitle" 5 || fail "Alt+$browseKey did not open the folder browser"
wait_for "$folderLabel $work/start" 1 || capture | grep -q "$folderLabel .*/start *│" \
    || fail "the folder browser does not start in the folder of the function's value"
wait_for "▸Auswahl/" 1 || fail "the folder browser does not list the first folder"
keys Down Enter
wait_for "/start/Zielordner" 2 || fail "Down and Enter did not open the folder Zielordner"
keys Space
wait_gone "$folderTitle" 5 || fail "Space did not choose the folder"
chosen="$work/start/Zielordner"
# The field shows the start of the path; in the field (Tab from Browse) its end.
wait_for "${chosen:0:20}" 2 || fail "the path field does not show the chosen folder $chosen"
keys Tab
wait_for "/start/Zielordner" 2 || fail "the path field does not end with the chosen folder $chosen"
cmp -s "$storeBeforeBrowse" "$work/registry.reg" || fail "Browse changed the store"

# The browsed path is not saved: Escape asks first, in German; Enter takes
# the default answer, No, and the window stays; asked again, Yes (its
# letter) ends the program.
"${tm[@]}" send-keys -t "$session" Escape
wait_for "Ohne Speichern" 5 || fail "Escape with a path not saved did not ask in German first"
keys Enter
wait_gone "Ohne Speichern" 5 || fail "Enter did not answer the question"
sleep 0.3
[ -s "$work/status" ] && fail "Enter answered Yes, not the default No"
"${tm[@]}" send-keys -t "$session" Escape
wait_for "Ohne Speichern" 5 || fail "Escape did not ask again"
keys "$(mnemonic 01350)"
tries=50
while (( tries-- > 0 )) && [ ! -s "$work/status" ]; do sleep 0.1; done
[ -s "$work/status" ] || fail "Escape did not end the program"
[ "$(cat "$work/status")" = 0 ] || fail "the program ended with status $(cat "$work/status")"
wait_for "SHELL AFTER THE PROGRAM" 5 || fail "the shell did not come back"

screen=$(capture)
grep -qF "SHELL BEFORE THE PROGRAM" <<<"$screen" || fail "the normal screen was not restored"
grep -qF -- "$name0" <<<"$screen" && fail "the program's picture is still on the screen"
[ "$("${tm[@]}" display-message -p -t "$session" '#{alternate_on}')" = 0 ] || fail "the alternate screen is still on"
[ "$("${tm[@]}" display-message -p -t "$session" '#{cursor_flag}')" = 1 ] || fail "the cursor is still hidden"
grep -qE '(^|[[:space:]])icanon([[:space:]]|$)' "$work/stty" || fail "line editing (icanon) is still off: $(cat "$work/stty")"
grep -qE '(^|[[:space:]])echo([[:space:]]|$)' "$work/stty" || fail "echo is still off: $(cat "$work/stty")"

echo "PASS: terminal front end under tmux"
exit 0
