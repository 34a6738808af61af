# shellcheck shell=bash
# Wine for running the Windows build on Linux: sourced by wine-run.sh, which is
# the build's CMAKE_CROSSCOMPILING_EMULATOR. Everything lives in one state
# folder (build/windows/wine for the `windows` preset):
#   prefix/    the WINEPREFIX, made by `wineboot -i` on first use (10 to 25 s)
#   pristine/  its registry files right after that, for tw_wine_fresh
#   wine.log   what Wine, its server and Xvfb print
#   display, xvfb.pid, server.pid, lock
#
# The packages it needs are those that scripts/setup-windows.sh installs.
#
# Why it is done this way:
# - The Wine server and Wine's own services (services.exe, winedevice.exe,
#   plugplay.exe, rpcss.exe, explorer.exe) are started once, detached:
#   standard input from /dev/null, output to wine.log, no lock descriptor.
#   Started by a test program instead, they would inherit its output pipe, and
#   CTest (and execute_process in test discovery) would wait for them to
#   exit. Debian's wineserver wrapper adds -p0, so a server that Wine starts
#   by itself quits with the last program and every program pays the whole
#   start-up again (2 to 5 s instead of 0.1 to 0.3 s).
# - A private Xvfb per state folder (its number chosen by Xvfb itself, so
#   several build folders and developers never collide) is the display of
#   every program, console tests included: Wine binds the graphics driver when
#   explorer.exe makes the desktop, so a server started without a display
#   would leave later windows undrawable, and no window ever reaches the
#   developer's own screen. Without Xvfb installed, programs run without one.
# - The desktop is started with the services (see tw_wine_start_services).
# - The prefix uses a Wine virtual desktop as large as the Xvfb screen: with
#   no window manager, only then does Wine draw title bars and frames, so a
#   screenshot (`import -window ID`, ID from `xdotool search --name TITLE`)
#   shows a window as a person sees it, message boxes included.
# - Debian's Wine looks for its own fonts (Tahoma, Marlett, MS Sans Serif:
#   package fonts-wine, in /usr/share/wine/fonts) in /usr/share/fonts and
#   never finds them; dialogs then fall back to DejaVu Sans with other metrics
#   and title-bar buttons show letters. They are copied into C:\windows\Fonts.
# - A crashing program would wait for a click on the debugger's dialog until
#   the test times out; with ShowCrashDialog=0 it prints a backtrace to its
#   standard error and exits with the exception code's low byte (0xC0000005
#   gives 5).
# - LC_ALL=C.UTF-8 makes every machine look alike to Windows programs
#   (English, ANSI code page 1252, OEM code page 437) and passes non-ASCII
#   arguments through as UTF-8.
# - WINEDEBUG=-all keeps Wine's messages out of the tests' output;
#   WINEDLLOVERRIDES skips the Mono and Gecko install dialogs and keeps
#   winemenubuilder from writing menu entries into the home folder.
# - Wine's C runtime (msvcrt, which mingw-w64 links) writes stdout in text
#   mode: "\n" becomes CR LF (and "\r\n" becomes CR CR LF). A program whose
#   output is compared byte for byte calls _setmode(_fileno(stdout),
#   _O_BINARY) first.
#
# Functions (TW_WINE_DIR must name the state folder first):
#   tw_wine_up     start what is not running, make the prefix if missing
#   tw_wine_down   stop the Wine server, its programs and the Xvfb
#   tw_wine_fresh  down, then put the registry back as wineboot left it

: "${TW_WINE_DIR:?TW_WINE_DIR must name the Wine state folder}"
export WINEPREFIX="$TW_WINE_DIR/prefix"
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export LC_ALL=C.UTF-8
unset WINESERVER WINELOADER
TW_WINE_SCREEN=1600x1200

# True when the process in PIDFILE is alive and runs PROGRAM (a stale number
# may belong to someone else's process by now). Plain bash: it runs before
# every program.
tw_wine_alive() {
    local pid cmd
    read -r pid 2>/dev/null <"$1" || return 1
    read -r -d '' cmd 2>/dev/null <"/proc/$pid/cmdline"
    [[ "$cmd" == *"$2"* ]]
}

tw_wine_running() {
    tw_wine_alive "$TW_WINE_DIR/server.pid" wineserver &&
        { [ ! -s "$TW_WINE_DIR/display" ] || tw_wine_alive "$TW_WINE_DIR/xvfb.pid" Xvfb; }
}

# Polls COMMAND every 50 ms for up to 15 s.
tw_wine_wait() {
    local i
    for ((i = 0; i < 300; i++)); do
        "$@" && return 0
        sleep 0.05
    done
    return 1
}

tw_wine_export_display() {
    local n
    if read -r n 2>/dev/null <"$TW_WINE_DIR/display"; then
        export DISPLAY=":$n"
    else
        unset DISPLAY
    fi
}

# Runs a Wine program detached (see above) and quietly.
tw_wine_detached() {
    "$@" </dev/null >>"$TW_WINE_DIR/wine.log" 2>&1 9>&-
}

tw_wine_start_xvfb() {
    rm -f "$TW_WINE_DIR/display"
    command -v Xvfb >/dev/null || return 0
    setsid Xvfb -screen 0 "${TW_WINE_SCREEN}x24" -nolisten tcp -displayfd 3 \
        3>"$TW_WINE_DIR/display" </dev/null >>"$TW_WINE_DIR/wine.log" 2>&1 9>&- &
    echo $! >"$TW_WINE_DIR/xvfb.pid"
    tw_wine_wait test -s "$TW_WINE_DIR/display" ||
        { echo "wine-env: Xvfb did not start (see $TW_WINE_DIR/wine.log)" >&2; return 1; }
}

# The server's socket. Debian keeps the server's folder under a random name
# in $WINEPREFIX/wineserver; upstream Wine uses /tmp/.wine-UID.
tw_wine_socket_ready() {
    local top dev ino
    top=".wine-$(id -u)"
    [ -f "$WINEPREFIX/wineserver" ] && top=$(cat "$WINEPREFIX/wineserver")
    read -r dev ino < <(stat -c '%d %i' "$WINEPREFIX")
    [ -S "$(printf '/tmp/%s/server-%x-%x/socket' "$top" "$dev" "$ino")" ]
}

# In the foreground (-f) so that $! is the server itself; -p keeps it up
# when no program runs.
tw_wine_start_server() {
    mkdir -p "$WINEPREFIX"
    setsid wineserver -f -p </dev/null >>"$TW_WINE_DIR/wine.log" 2>&1 9>&- &
    echo $! >"$TW_WINE_DIR/server.pid"
    tw_wine_wait tw_wine_socket_ready ||
        { echo "wine-env: wineserver did not start (see $TW_WINE_DIR/wine.log)" >&2; return 1; }
}

# The first program under a new server starts Wine's services (2 to 4 s).
# The desktop (explorer.exe) is started here too, detached, and stays until
# the server stops: otherwise the first program that uses windows starts it,
# it inherits that program's output, and CTest waits for the test until the
# desktop quits after the last window of the run.
tw_wine_start_services() {
    tw_wine_detached wine cmd /c exit 0 || return
    # No shell stays behind holding the lock (fd 9) while the desktop runs.
    (
        exec 9>&- </dev/null >>"$TW_WINE_DIR/wine.log" 2>&1
        exec setsid wine explorer.exe "/desktop=Default,$TW_WINE_SCREEN"
    ) &
    # On the private display the desktop's window shows when it is ready.
    if [ -n "${DISPLAY:-}" ] && command -v xdotool >/dev/null; then
        tw_wine_wait xdotool search --name "Default - Wine desktop" >/dev/null
    fi
}

tw_wine_settings() {
    local reg="$TW_WINE_DIR/settings.reg"
    printf '%s\r\n' REGEDIT4 '' \
        '[HKEY_CURRENT_USER\Software\Wine\WineDbg]' '"ShowCrashDialog"=dword:00000000' '' \
        '[HKEY_CURRENT_USER\Software\Wine\Explorer]' '"Desktop"="Default"' '' \
        '[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]' "\"Default\"=\"$TW_WINE_SCREEN\"" '' >"$reg"
    tw_wine_detached wine regedit /S "$reg"
}

tw_wine_make_prefix() {
    tw_wine_detached wine wineboot -i ||
        { echo "wine-env: wineboot -i failed (see $TW_WINE_DIR/wine.log)" >&2; return 1; }
    cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null ||
        echo "wine-env: Wine's fonts are missing (package fonts-wine)" >&2
    tw_wine_settings
    # The server writes the registry to disk only when it stops (or every
    # 30 s); the snapshot needs it written now.
    wineserver -k
    wineserver -w
    mkdir -p "$TW_WINE_DIR/pristine"
    cp "$WINEPREFIX"/*.reg "$TW_WINE_DIR/pristine/"
    tw_wine_start_server
}

tw_wine_stop() {
    if tw_wine_alive "$TW_WINE_DIR/server.pid" wineserver; then
        wineserver -k
        wineserver -w
    fi
    tw_wine_alive "$TW_WINE_DIR/xvfb.pid" Xvfb && kill "$(cat "$TW_WINE_DIR/xvfb.pid")"
    rm -f "$TW_WINE_DIR/server.pid" "$TW_WINE_DIR/xvfb.pid" "$TW_WINE_DIR/display"
}

tw_wine_up() {
    if ! tw_wine_running; then
        mkdir -p "$TW_WINE_DIR"
        (
            flock 9
            tw_wine_running && exit 0
            tw_wine_stop
            tw_wine_start_xvfb && tw_wine_export_display && tw_wine_start_server &&
                { [ -f "$TW_WINE_DIR/pristine/system.reg" ] || tw_wine_make_prefix; } &&
                tw_wine_start_services
        ) 9>"$TW_WINE_DIR/lock" || return
    fi
    tw_wine_export_display
}

tw_wine_down() {
    mkdir -p "$TW_WINE_DIR"
    ( flock 9 && tw_wine_stop ) 9>"$TW_WINE_DIR/lock"
}

tw_wine_fresh() {
    mkdir -p "$TW_WINE_DIR"
    (
        flock 9
        tw_wine_stop
        [ ! -f "$TW_WINE_DIR/pristine/system.reg" ] ||
            cp "$TW_WINE_DIR"/pristine/*.reg "$WINEPREFIX/"
    ) 9>"$TW_WINE_DIR/lock"
}
