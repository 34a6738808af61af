#!/usr/bin/env bash
# The long fuzz run: every fuzz target built in BUILD_DIR, one after another,
# SECONDS each (fuzz/run.sh runs one). A target that finds something does not
# stop the others; at the end each target's outcome is listed, and the run
# fails when any target found something.
#   fuzz/run_all.sh SECONDS BUILD_DIR
set -uo pipefail
[ $# -eq 2 ] || { echo "usage: $0 SECONDS BUILD_DIR" >&2; exit 2; }
seconds=$1 build=$2
here=$(cd "$(dirname "$0")" && pwd)
summary=()
failed=0
for binary in "$build"/fuzz_*; do
    [ -x "$binary" ] || continue
    name=${binary##*/fuzz_}
    log=$build/findings/$name.log
    mkdir -p "$build/findings"
    echo "fuzz: $name for $seconds s (log $log)"
    if bash "$here/run.sh" "$binary" "$name" "$seconds" "$build" >"$log" 2>&1; then
        outcome="nothing found"
    else
        outcome="FOUND SOMETHING: see $build/findings/$name/ and $log"
        failed=1
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    summary+=("$name: ${runs:-?} runs, $outcome")
done
[ ${#summary[@]} -gt 0 ] || { echo "fuzz: no fuzz targets in $build" >&2; exit 2; }
printf '%s\n' "${summary[@]}"
exit $failed
