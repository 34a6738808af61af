#!/usr/bin/env bash
# Prints the Clang C++ compiler that the fuzz build uses: clang++, else the
# newest versioned one on PATH (Debian's clang-14 package brings clang++-14
# alone). Fails, printing nothing, when there is none.
set -euo pipefail
if command -v clang++ 2>/dev/null; then
    exit 0
fi
found=$(compgen -c clang++- | grep -E '^clang\+\+-[0-9]+$' | sort -t- -k2 -n | tail -1)
[ -n "$found" ] && command -v "$found"
