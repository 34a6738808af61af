#!/usr/bin/env bash
# Installs what a fresh Debian machine lacks to build, run and test Tunewright.
# Installs nothing when everything is there already.
set -euo pipefail
# shellcheck source-path=SCRIPTDIR
source "$(dirname "$0")/apt-install.sh"

need=()
command -v cmake >/dev/null 2>&1 || need+=(cmake)
command -v g++ >/dev/null 2>&1 || need+=(g++)
command -v make >/dev/null 2>&1 || need+=(make)
command -v tmux >/dev/null 2>&1 || need+=(tmux)
# chmcmd compiles the help into help.chm.
command -v chmcmd >/dev/null 2>&1 || need+=(fp-utils)
[ -f /usr/lib/x86_64-linux-gnu/cmake/GTest/GTestConfig.cmake ] || [ -n "$(find /usr/lib /usr/share -name GTestConfig.cmake -print -quit 2>/dev/null)" ] || need+=(libgtest-dev)
[ -n "$(find /usr/lib /usr/share -name benchmarkConfig.cmake -print -quit 2>/dev/null)" ] || need+=(libbenchmark-dev)
# The command line program writes JSON with nlohmann/json (header-only; the
# Windows build uses the same headers).
[ -f /usr/include/nlohmann/json.hpp ] || need+=(nlohmann-json3-dev)
# The fleet playbooks of docs/fleet are run and checked with Ansible.
command -v ansible-playbook >/dev/null 2>&1 || need+=(ansible)
# The fuzz targets need Clang; libFuzzer and the sanitizers' runtimes come in
# a package of their own, named after Clang's major version (libclang-rt-dev
# goes with Debian's default clang).
if clangxx=$(bash "$(dirname "$0")/clangxx.sh"); then
    fuzzer_runtime=$("$clangxx" -print-file-name=libclang_rt.fuzzer-$(uname -m).a)
    [ -f "$fuzzer_runtime" ] || need+=("libclang-rt-$("$clangxx" -dumpversion | cut -d. -f1)-dev")
else
    need+=(clang libclang-rt-dev)
fi

apt_install setup "${need[@]}"
