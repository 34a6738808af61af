#!/usr/bin/env bash
# The device-management script of docs/fleet (apply-profile.cmd) under Wine,
# with tunewright-cli.exe beside it: "check" reports the machine not
# compliant, a run applies the profile, "check" then reports it compliant and
# a second run changes nothing. The profile's key is the test's own and goes
# afterwards.
#   windows_script_test.sh WINE-RUN STATE tunewright-cli.exe SOURCE-DIR
set -euo pipefail
run=$1 state=$2 cli=$3 source=$4

key='HKCU\Software\TunewrightFleetTest'
folder=$(mktemp -d)
trap '"$run" "$state" reg delete "$key" /f >/dev/null 2>&1 || true; rm -rf "$folder"' EXIT
fail() {
    echo "windows_script_test: $*" >&2
    exit 1
}

cp "$source/docs/fleet/apply-profile.cmd" "$cli" "$folder/"
printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\TunewrightFleetTest]\r\n"Delay"="250"\r\n"Flag"=dword:00000001\r\n' \
    >"$folder/profile.reg"
"$run" "$state" reg delete "$key" /f >/dev/null 2>&1 || true
export TUNEWRIGHT_FOLDER="Z:${folder//\//\\}\\install"

script() {
    (cd "$folder" && "$run" "$state" cmd /c apply-profile.cmd "$@")
}

script check >/dev/null && fail "a machine without the profile's values passed the check"
script >/dev/null || fail "the profile was not applied"
"$run" "$state" reg query "$key" /v Delay | tr -d '\r' | grep -q 'REG_SZ *250$' || fail "Delay is not 250"
script check >/dev/null || fail "the machine fails the check after the profile was applied"
out=$(script) || fail "the second run failed"
grep -q 'Nothing to change' <<<"$out" || fail "the second run changed something: $out"
ls "$folder/install/backup" | grep -q ' - profile profile\.reg$' || fail "no backup of the change"
echo "windows_script_test: check, apply, check and a second run behave as the recipe says"
