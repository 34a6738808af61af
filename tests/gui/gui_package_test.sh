#!/usr/bin/env bash
# The Windows package as a user gets it: the install rules put the program,
# its data files, help.chm and README.txt in one folder (not the Linux
# store); and the program started alone, as Windows runs it from inside the
# zip file, says that it must run from its extracted folder, then ends.
#   gui_package_test.sh WINE-RUN STATE BUILD-DIR gui_drive.exe
set -euo pipefail
run=$1 state=$2 build=$3 drive=$4

base=$(mktemp -d)
app=
trap '[ -z "$app" ] || kill "$app" 2>/dev/null; rm -rf "$base"' EXIT

fail() {
    echo "gui_package_test: $*" >&2
    exit 1
}

cmake --install "$build" --prefix "$base/tunewright-windows" >/dev/null
for file in tunewright.exe config.ini 0019trl.ini 0019fct.ini 0019def.ini help.chm README.txt backup; do
    [ -e "$base/tunewright-windows/$file" ] || fail "the package lacks $file"
done
[ ! -e "$base/tunewright-windows/registry.reg" ] || fail "the package holds the Linux store"
grep -q 'tunewright.exe' "$base/tunewright-windows/README.txt" || fail "README.txt does not say what to start"

mkdir "$base/alone"
cp "$base/tunewright-windows/tunewright.exe" "$base/alone/"
"$run" "$state" "$base/alone/tunewright.exe" &
app=$!
"$run" "$state" "$drive" "window Tunewright" "has 65535 must run from its extracted folder" \
    "has 65535 config.ini" "command 1" "gone" || fail "no box about the extracted folder"
status=0
wait "$app" || status=$?
app=
[ "$status" -eq 1 ] || fail "the program alone ended with $status, not 1"
