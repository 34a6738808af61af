#!/usr/bin/env bash
# How much the terminal front end costs while nobody touches it: the program
# runs in tmux on a throw-away copy of the sample installation, the start-up
# question answered, and sits idle for SECONDS (default 60). Prints the CPU
# time it used (user + system, from /proc) and what it wrote to the terminal
# meanwhile. Not part of the test run: it takes a minute.
#
# usage: bench/idle_cpu.sh TUNEWRIGHT_BINARY SOURCE_DIR [SECONDS]
set -u

bin=${1:?usage: idle_cpu.sh TUNEWRIGHT_BINARY SOURCE_DIR [SECONDS]}
src=${2:?usage: idle_cpu.sh TUNEWRIGHT_BINARY SOURCE_DIR [SECONDS]}
seconds=${3:-60}

command -v tmux >/dev/null 2>&1 || { echo "tmux is not installed" >&2; exit 1; }
work=$(mktemp -d "${TMPDIR:-/tmp}/tunewright-idle.XXXXXX")
tm=(tmux -u -L "tunewright-idle-$$" -f /dev/null)
cleanup() {
    "${tm[@]}" kill-server >/dev/null 2>&1
    rm -rf "$work"
}
trap cleanup EXIT

cp -r "$src/data/sample" "$work/app" && cp "$bin" "$work/app/tunewright" || exit 1
cat >"$work/run.sh" <<SCRIPT
#!/bin/sh
echo \$\$ >'$work/pid'
exec '$work/app/tunewright'
SCRIPT
chmod +x "$work/run.sh"
"${tm[@]}" new-session -d -s idle -x 120 -y 40 "$work/run.sh" || exit 1

# Answers the start-up question (if any) and waits until the list shows.
for _ in $(seq 100); do
    screen=$("${tm[@]}" capture-pane -p -t idle 2>/dev/null)
    if grep -qF "[ Yes ]" <<<"$screen"; then
        "${tm[@]}" send-keys -t idle Enter
    elif grep -qF "Tab next" <<<"$screen" && ! grep -qF "[ Yes ]" <<<"$screen"; then
        break
    fi
    sleep 0.1
done
pid=$(cat "$work/pid")
sleep 1 # the last drawing after the answer

# Fields 14 and 15 of /proc/PID/stat: user and system time in clock ticks.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$pid/stat"; }
written() { awk '/^wchar:/ { print $2 }' "/proc/$pid/io"; }
writes() { awk '/^syscw:/ { print $2 }' "/proc/$pid/io"; }
hz=$(getconf CLK_TCK)

ticks0=$(cpu_ticks) bytes0=$(written) calls0=$(writes)
sleep "$seconds"
ticks1=$(cpu_ticks) bytes1=$(written) calls1=$(writes)

awk -v t=$((ticks1 - ticks0)) -v hz="$hz" -v s="$seconds" \
    'BEGIN { printf "idle %d s: CPU %.2f s (user+sys), %.3f%% of one core\n", s, t / hz, 100 * t / hz / s }'
echo "written meanwhile: $((bytes1 - bytes0)) bytes in $((calls1 - calls0)) write calls"
