#!/usr/bin/env bash
# tunewright-cli.exe under Wine with texts beyond the ANSI code page: a
# registered owner "Łódź Ωmega", put into the registry through the wide
# functions, comes out exactly from get and list, as text (UTF-8, as the
# output is not a console) and as JSON, and export writes it into a version 5
# profile; a value "Łódź" given to set is refused naming its characters, and
# neither the registry nor the backup folder changes.
#   cli_foreign_text_test.sh WINE-RUN STATE tunewright-cli.exe SOURCE-DIR
set -euo pipefail
run=$1 state=$2 program=$3 source=$4

folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
fail() {
    echo "cli_foreign_text_test: $*" >&2
    exit 1
}
cp -r "$source/data/sample/." "$folder"
rm -f "$folder"/backup/*.reg
cp "$program" "$folder/tunewright-cli.exe"
cli() { "$run" "$state" "$folder/tunewright-cli.exe" "$@" 2>"$folder/errors"; }

owner='HKLM\Software\Microsoft\Windows NT\CurrentVersion'
"$run" "$state" reg add "$owner" /v RegisteredOwner /d 'Łódź Ωmega' /f >/dev/null
query() { "$run" "$state" reg query "$owner" /v RegisteredOwner | tr -d '\r'; }

# Registered owner is function 25, key 10250.
cli get 10250 >"$folder/get" || fail "get failed: $(cat "$folder/errors")"
[[ "$(head -n 1 "$folder/get")" == $'10250\tRegistered owner\tŁódź Ωmega\t'* ]] || fail "get printed: $(cat "$folder/get")"
cli list | grep -qF $'10250\tRegistered owner\tŁódź Ωmega\t' || fail "list does not show the owner exactly"
for command in get list; do
    args=("--json" "$command")
    [ "$command" = list ] || args+=(10250)
    out=$(cli "${args[@]}") || fail "${args[*]} failed: $(cat "$folder/errors")"
    grep -qF '"value": "Łódź Ωmega"' <<<"$out" || fail "${args[*]} has no exact value: $out"
    grep -qF '"shown": "Łódź Ωmega"' <<<"$out" || fail "${args[*]} has no exact shown text: $out"
done

cli export 10250 >"$folder/profile.reg" || fail "export failed: $(cat "$folder/errors")"
[ "$(head -c 2 "$folder/profile.reg" | od -An -tx1 | tr -d ' ')" = fffe ] || fail "the profile is no version 5 file"
# The registry's UTF-16LE bytes: Ł is 41,01 and Ω a9,03.
iconv -f UTF-16LE -t UTF-8 "$folder/profile.reg" |
    grep -qF '"RegisteredOwner"=hex(1):41,01,f3,00,64,00,7a,01,20,00,a9,03,6d,00,65,00,67,00,' ||
    fail "the profile does not hold the owner exactly: $(iconv -f UTF-16LE -t UTF-8 "$folder/profile.reg")"

before=$(query)
status=0
cli set "Registered owner" 'Łódź' >"$folder/set" || status=$?
[ "$status" = 2 ] || fail "set of a text beyond the code page exited with $status"
grep -qF 'the text "?ód?" holds characters that this program cannot keep (U+0141, U+017A)' "$folder/errors" ||
    fail "the refusal does not name the characters: $(cat "$folder/errors")"
[ ! -s "$folder/set" ] || fail "the refused set printed: $(cat "$folder/set")"
[ "$(query)" = "$before" ] || fail "the registered owner changed"
backups=("$folder"/backup/*.reg)
[ ! -e "${backups[0]}" ] || fail "a backup was written: ${backups[*]}"
echo "cli_foreign_text_test: the owner printed and exported exactly, the foreign argument refused by name"
