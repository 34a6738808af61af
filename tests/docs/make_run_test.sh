#!/usr/bin/env bash
# `make run` builds what it starts and copies, and nothing else: on a 2-core
# machine the tests and benchmarks would keep a newcomer waiting for minutes.
#   make_run_test.sh SOURCE-DIR
set -euo pipefail
plan=$(make --no-print-directory -n -C "$1" run)
build=$(grep -E '^cmake --build ' <<<"$plan") || { echo "make run builds nothing with cmake --build" >&2; exit 1; }
targets=$(sed -n 's/.*--target //p' <<<"$build")
[ -n "$targets" ] || { echo "make run builds every target: $build" >&2; exit 1; }
for target in $targets; do
    case $target in
        tunewright | tunewright-import | tunewright-cli | help_files) ;;
        *) echo "make run builds $target, which it neither starts nor copies" >&2; exit 1 ;;
    esac
done
echo "make run builds: $targets"
