# What the GUI tests of the main window share, sourced after each has read
# its arguments into run, state, program, drive and source (and artefacts):
# a throw-away installation of the sample without backups in $folder, the
# program's process in $app once started, and the steps every test takes.
test_name=$(basename "$0" .sh)
folder=$(mktemp -d)
app=
dpi_set=
trap '[ -z "$app" ] || kill "$app" 2>/dev/null; [ -z "$dpi_set" ] || forget_dpi; rm -rf "$folder"' EXIT
cp -r "$source/data/sample/." "$folder"
rm -f "$folder"/backup/*.reg
cp "$program" "$folder/tunewright.exe"

fail() {
    echo "$test_name: $*" >&2
    exit 1
}

# The window comes first, without the start-up question that UAC brings (the
# fidelity test seeds the sample's EnableLUA=1).
"$run" "$state" reg add 'HKLM\Software\Microsoft\Windows\CurrentVersion\Policies\System' \
    /v EnableLUA /t REG_DWORD /d 0 /f >/dev/null

drive() {
    "$run" "$state" "$drive" "window Orvelle Tunewright 3" "$@" || fail "driving the window failed at: $*"
}

# ARTEFACTS/NAME: the part of the screen where the main window is, with any
# box over it, which a picture of the window alone leaves out. It needs
# imagemagick's import, xdotool and xwininfo (scripts/setup-windows.sh).
screenshot() {
    if ! command -v import >/dev/null || ! command -v xdotool >/dev/null || ! command -v xwininfo >/dev/null; then
        echo "$test_name: imagemagick's import, xdotool or xwininfo not found, no screenshot"
        return
    fi
    mkdir -p "$artefacts"
    local display id geometry
    display=$("$run" "$state" --display)
    id=$(DISPLAY=$display xdotool search --name '^Orvelle Tunewright 3$' | head -n 1)
    geometry=$(DISPLAY=$display xwininfo -id "$id" | awk '
        /Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
        /^ *Width:/ { w = $NF } /^ *Height:/ { h = $NF }
        END { print w "x" h "+" x "+" y }')
    DISPLAY=$display import -window root -crop "$geometry" +repage "$artefacts/$1" || fail "no screenshot"
}

# The DPI of the programs started from now on (96 is 100 %, 144 is 150 %,
# 192 is 200 %): Wine reads it from the registry when a program starts. The
# test's end takes it back to a new prefix's.
set_dpi() {
    "$run" "$state" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null
    "$run" "$state" reg add 'HKCC\Software\Fonts' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null
    dpi_set=1
}
forget_dpi() {
    "$run" "$state" reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1 || true
    "$run" "$state" reg delete 'HKCC\Software\Fonts' /v LogPixels /f >/dev/null 2>&1 || true
}
