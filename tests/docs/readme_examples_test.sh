#!/usr/bin/env bash
# The command examples of README.md and docs/fleet/README.md, run as printed:
# every ```sh block after a line "<!-- run by tests/docs/readme_examples_test.sh -->",
# in order, from a folder laid out as the repository is after `make run`
# (the program beside the sample installation that it prepares). A block
# that runs ansible-playbook is skipped where Ansible is not installed.
#   readme_examples_test.sh TUNEWRIGHT-CLI SOURCE-DIR
set -euo pipefail
cli=$1 source=$2
marker='<!-- run by tests/docs/readme_examples_test.sh -->'

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
mkdir -p "$root/build/native" "$root/docs"
cp "$cli" "$root/build/native/tunewright-cli"
cp -r "$source/data/sample" "$root/build/native/sample-installation"
cp "$cli" "$root/build/native/sample-installation/"
cp -r "$source/docs/fleet" "$root/docs/fleet"
export ANSIBLE_LOCAL_TEMP=$root/.ansible-local ANSIBLE_REMOTE_TMP=$root/.ansible-remote
export ANSIBLE_NOCOWS=1 ANSIBLE_RETRY_FILES_ENABLED=0 ANSIBLE_PYTHON_INTERPRETER=auto_silent

ran=0
for readme in README.md docs/fleet/README.md; do
    blocks=$(awk -v marker="$marker" '
        $0 == marker { wanted = 1; next }
        wanted && /^```sh$/ { inside = 1; next }
        inside && /^```$/ { inside = 0; wanted = 0; print "\x1e"; next }
        inside { print }' "$source/$readme")
    [ -n "$blocks" ] || { echo "readme_examples_test: no block marked in $readme" >&2; exit 1; }
    while IFS= read -r -d $'\x1e' block; do
        [ -n "${block//[$'\n ']/}" ] || continue
        if grep -q ansible-playbook <<<"$block" && ! command -v ansible-playbook >/dev/null 2>&1; then
            echo "readme_examples_test: Ansible is not installed; skipped a block of $readme"
            continue
        fi
        if ! output=$(cd "$root" && bash -euo pipefail -c "$block" 2>&1); then
            echo "readme_examples_test: this block of $readme failed:" >&2
            echo "$block" >&2
            echo "--- its output:" >&2
            echo "$output" >&2
            exit 1
        fi
        ran=$((ran + 1))
    done <<<"$blocks"
done
echo "readme_examples_test: $ran blocks ran as printed"
