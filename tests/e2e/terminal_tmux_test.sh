#!/usr/bin/env bash
# End-to-end test of the full-screen terminal front end, driven through tmux:
# a throw-away installation of the sample data in German (so that translated
# captions differ from the resource script's), the start-up question
# answered, the function list and menu bar checked, the selection moved with
# the arrow keys, and Escape checked to end the program and give the terminal
# back (normal screen, cursor shown, line editing and echo on).
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

# What the screen must show, from the translation file (Windows-1252).
entry() {
    LC_ALL=C awk -v section="$language" -v key="$1" '
        { sub(/\r$/, "") }
        $0 == section { inside = 1; next }
        inside && /^\[/ { exit }
        inside && substr($0, 1, 5) == key { print substr($0, 7); exit }
    ' "$app/0019trl.ini" | iconv -f CP1252 -t UTF-8 | tr -d '&'
}
name0=$(entry 10000)
name1=$(entry 10010)
name2=$(entry 10020)
fileMenu=$(entry 00200)
helpMenu=$(entry 00245)
for v in name0 name1 name2 fileMenu helpMenu; do
    [ -n "${!v}" ] || fail "the translation file has no text for $v"
done

cat >"$work/run.sh" <<SCRIPT
#!/bin/sh
printf 'SHELL BEFORE THE PROGRAM\n'
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
    if grep -qF "[ Yes ]" <<<"$screen" && grep -qF "[ No ]" <<<"$screen"; then
        "${tm[@]}" send-keys -t "$session" Enter
        wait_gone "[ Yes ]" 5 || fail "the start-up question did not close on Enter"
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

"${tm[@]}" send-keys -t "$session" Escape
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
