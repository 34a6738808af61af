#!/usr/bin/env bash
# Runs one fuzz target for a while:
#   fuzz/run.sh [--fresh] BINARY NAME SECONDS WORKDIR [libFuzzer options...]
# The seeds in fuzz/corpus/NAME are only read. Inputs that reach new code are
# kept in WORKDIR/corpus/NAME, so that the next run starts from them; with
# --fresh that corpus is emptied first, so that a short run takes its few
# seconds however much an earlier run gathered. A crash, sanitizer report,
# failed property, leak or time-out is written to WORKDIR/findings/NAME/ and
# ends the run with a non-zero status. Replay one with `BINARY FILE`.
set -euo pipefail
fresh=false
if [ "${1:-}" = --fresh ]; then
    fresh=true
    shift
fi
[ $# -ge 4 ] || { echo "usage: $0 [--fresh] BINARY NAME SECONDS WORKDIR [libFuzzer options...]" >&2; exit 2; }
binary=$1 name=$2 seconds=$3 work=$4
shift 4
here=$(cd "$(dirname "$0")" && pwd)
seeds=$here/corpus/$name
[ -d "$seeds" ] || { echo "fuzz/run.sh: no seed corpus $seeds" >&2; exit 2; }
if $fresh; then
    rm -rf "${work:?}/corpus/$name"
fi
mkdir -p "$work/corpus/$name" "$work/findings/$name"
# The targets that write files make their throw-away folders under TMPDIR; in
# memory, flushing a file to disk costs nothing.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
    export TMPDIR=/dev/shm
fi
options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
         -artifact_prefix="$work/findings/$name/")
[ -f "$here/dict/$name.dict" ] && options+=(-dict="$here/dict/$name.dict")
exec "$binary" "${options[@]}" "$@" "$work/corpus/$name" "$seeds"
