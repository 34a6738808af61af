#!/usr/bin/env bash
# The same driver scripts on both builds: the Linux driver over the sample's
# registry store, the Windows driver under Wine over the real registry seeded
# from the same registry.reg with regedit /S. Both must print the same events,
# write the same backups and leave the same values in the sample's keys.
#   fidelity_test.sh tunewright-script WINE-RUN STATE tunewright-script.exe SOURCE-DIR
set -Eeuo pipefail
native=$1 run=$2 state=$3 windows=$4 source=$5
# Nothing fails without saying what, and what Wine said meanwhile.
trap 'status=$?; echo "fidelity: line $LINENO: \"$BASH_COMMAND\" failed ($status)" >&2
      ((BASH_SUBSHELL)) || { echo "the end of $state/wine.log:"; tail -n 20 "$state/wine.log"; } >&2; exit $status' ERR

[ -x "$native" ] || { echo "fidelity: no native driver at $native (make build makes it)"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
now=2026-03-05T09:05
failed=0

# Every value of the store's sections as KEY|NAME|TYPE|DATA, key and name in
# lower case (the registry ignores their case), a DWORD as eight hex digits,
# from the store itself...
store_values() {
    awk '
        { sub(/\r$/, "") }
        /^\[/ { key = tolower(substr($0, 2, length($0) - 2)); next }
        /^"/ {
            match($0, /^"([^"\\]|\\.)*"=/)
            name = substr($0, 2, RLENGTH - 3); data = substr($0, RLENGTH + 1)
            gsub(/\\\\/, "\\", name)
            if (data ~ /^dword:/) { type = "REG_DWORD"; data = tolower(substr(data, 7)) }
            else { type = "REG_SZ"; data = substr(data, 2, length(data) - 2); gsub(/\\"/, "\"", data); gsub(/\\\\/, "\\", data) }
            print key "|" tolower(name) "|" type "|" data
        }' "$1" | sort
}

# One key's `reg query` lines (text in the OEM code page). reg.exe is one
# more Wine process, which a loaded machine can fail: three tries, then its
# own words.
reg_query() {
    local try
    for try in 1 2 3; do
        "$run" "$state" reg query "$1" >"$work/reg.out" 2>"$work/reg.err" && { cat "$work/reg.out"; return 0; }
        sleep 0.5
    done
    echo "fidelity: reg query \"$1\" failed three times:" >&2
    cat "$work/reg.out" "$work/reg.err" >&2
    return 1
}

# ...and from Wine's registry, one `reg query` a section.
wine_values() {
    local key
    grep '^\[' "$source/data/sample/registry.reg" | tr -d '\r[]' | while read -r key; do
        reg_query "$key" | tr -d '\r' | iconv -f CP437 -t CP1252 | awk -v key="$key" '
            /^    / {
                n = split(substr($0, 5), f, /    /)
                data = f[3]; for (i = 4; i <= n; i++) data = data "    " f[i]
                if (f[2] == "REG_DWORD") data = substr("00000000" tolower(substr(data, 3)), length(data) - 1)
                print tolower(key) "|" tolower(f[1]) "|" f[2] "|" data
            }'
    done | sort
}

# The values that `before` and `after` (files of wine_values lines) differ
# in, by KEY|NAME.
changed_names() {
    sort "$1" "$2" | uniq -u | cut -d'|' -f1,2 | sort -u
}

"$run" "$state" regedit /S "$source/data/sample/registry.reg"
wine_values >"$work/seeded"

for scenario in "$source"/tests/fidelity/*.script; do
    name=${scenario##*/}
    linux=$work/$name/linux win=$work/$name/windows
    mkdir -p "$linux" "$win"
    cp -r "$source/data/sample/." "$linux"
    cp -r "$source/data/sample/." "$win"
    rm -f "$linux"/backup/*.reg "$win"/backup/*.reg
    "$run" "$state" regedit /S "$source/data/sample/registry.reg"

    "$native" --app-folder "$linux" --now "$now" <"$scenario" >"$work/$name/linux.out" || true
    # A driver that printed nothing never started: Wine, on a loaded machine,
    # can fail to start a process, as with reg.exe above. It changed nothing,
    # so it is started again, up to three times.
    for try in 1 2 3; do
        "$run" "$state" "$windows" --app-folder "Z:$win" --now "$now" <"$scenario" >"$work/$name/windows.out" || true
        [ -s "$work/$name/windows.out" ] && break
        echo "$name: the Windows driver printed nothing (try $try)" >&2
        sleep 0.5
    done

    if ! diff "$work/$name/linux.out" "$work/$name/windows.out" >"$work/$name/events.diff"; then
        echo "$name: the events differ (< Linux, > Windows):" >&2
        cat "$work/$name/events.diff" >&2
        failed=1
    fi
    if ! diff -r "$linux/backup" "$win/backup" >&2; then
        echo "$name: the backups differ" >&2
        failed=1
    fi

    # Every value the Linux store holds, and every one the Windows run
    # changed, must read the same on both sides.
    store_values "$linux/registry.reg" >"$work/$name/linux.values"
    wine_values >"$work/$name/windows.values"
    { cut -d'|' -f1,2 "$work/$name/linux.values"; changed_names "$work/seeded" "$work/$name/windows.values"; } |
        sort -u >"$work/$name/names"
    for side in linux windows; do
        awk -F'|' 'NR == FNR { keep[$1 "|" $2] = 1; next } ($1 "|" $2) in keep' \
            "$work/$name/names" "$work/$name/$side.values" >"$work/$name/$side.kept"
    done
    if ! diff "$work/$name/linux.kept" "$work/$name/windows.kept" >&2; then
        echo "$name: the registry differs afterwards (< Linux, > Windows)" >&2
        failed=1
    fi
done
exit $failed
