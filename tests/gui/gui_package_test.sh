#!/usr/bin/env bash
# The Windows package as a user gets it: the install rules put the program,
# tunewright-cli.exe, their data files, the help and README.txt in one
# folder (not the Linux store), each program with its manifest; and the
# program started alone, as Windows runs it from inside the zip file, says
# that it must run from its extracted folder, then ends.
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
for file in tunewright.exe tunewright-cli.exe config.ini 0019trl.ini 0019fct.ini 0019def.ini help.chm help1031.chm README.txt backup; do
    [ -e "$base/tunewright-windows/$file" ] || fail "the package lacks $file"
done
[ ! -e "$base/tunewright-windows/registry.reg" ] || fail "the package holds the Linux store"
grep -q 'tunewright.exe' "$base/tunewright-windows/README.txt" || fail "README.txt does not say what to start"
grep -q 'tunewright-cli.exe' "$base/tunewright-windows/README.txt" || fail "README.txt does not describe tunewright-cli.exe"
# The manifests as Windows reads them from the programs: the signed-in
# account's own rights and per-monitor DPI for the window, the caller's
# rights for the console program, whose version information names it.
exe=$base/tunewright-windows/tunewright.exe cli=$base/tunewright-windows/tunewright-cli.exe
grep -qa 'level="highestAvailable"' "$exe" || fail "tunewright.exe does not ask for the account's own rights"
grep -qa 'PerMonitorV2' "$exe" || fail "tunewright.exe is not aware of each monitor's DPI"
! grep -qa 'requireAdministrator' "$exe" || fail "tunewright.exe asks for an administrator"
grep -qa 'level="asInvoker"' "$cli" || fail "tunewright-cli.exe has no manifest"
LC_ALL=C grep -qaP 't\x00u\x00n\x00e\x00w\x00r\x00i\x00g\x00h\x00t\x00-\x00c\x00l\x00i\x00\.\x00e\x00x\x00e' "$cli" ||
    fail "tunewright-cli.exe has no version information"

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
