#!/usr/bin/env bash
# The fleet playbooks of docs/fleet: the Linux one run for real against this
# machine (a profile exported from the sample installation, applied to an
# installation with an empty store): the first run changes, the second
# changes nothing, and the store then holds the profile's values. The Windows
# one passes Ansible's syntax check.
#   ansible_test.sh TUNEWRIGHT-CLI SOURCE-DIR
set -euo pipefail
cli=$1 source=$2
command -v ansible-playbook >/dev/null 2>&1 || { echo "ansible_test: ansible-playbook not found"; exit 77; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "ansible_test: $*" >&2
    exit 1
}

cp -r "$source/data/sample" "$work/source"
"$cli" --app-folder "$work/source" export > "$work/office.reg"
host=$work/host
mkdir "$host"

# Ansible's own files stay in the work folder; no cows, no retry files.
export ANSIBLE_LOCAL_TEMP=$work/ansible-local ANSIBLE_REMOTE_TMP=$work/ansible-remote
export ANSIBLE_NOCOWS=1 ANSIBLE_RETRY_FILES_ENABLED=0 ANSIBLE_PYTHON_INTERPRETER=auto_silent
play() {
    ansible-playbook -i localhost, -c local "$source/docs/fleet/linux.yml" \
        -e "tunewright_cli=$cli" -e "profile=$work/office.reg" -e "tunewright_dir=$host"
}
recap() {
    grep -E '^localhost +:' <<<"$1" | sed -E 's/.* changed=([0-9]+) .* failed=([0-9]+) .*/changed=\1 failed=\2/'
}

first=$(play) || fail "the first run failed:"$'\n'"$first"
grep -A1 'TASK \[Apply the profile\]' <<<"$first" | grep -q '^changed:' ||
    fail "the first run did not change the registry:"$'\n'"$first"
[ "$(recap "$first")" != "changed=0 failed=0" ] || fail "the first run changed nothing"

second=$(play) || fail "the second run failed:"$'\n'"$second"
[ "$(recap "$second")" = "changed=0 failed=0" ] || fail "the second run changed something:"$'\n'"$second"

# The store holds the profile's values: nothing left to apply, and the sample
# installation's functions read from it show what they show from their own.
"$host/tunewright-cli" --app-folder "$host" apply --check "$host/office.reg" >/dev/null ||
    fail "the store does not hold the profile's values"
diff <("$cli" --app-folder "$work/source" list) \
    <("$cli" --app-folder "$work/source" --registry "$host/registry.reg" list) ||
    fail "the functions show other values from the host's store"
ls "$host/backup" | grep -q '^backup - .* - profile office\.reg$' || fail "no backup of the change"

ansible-playbook --syntax-check -i localhost, "$source/docs/fleet/windows.yml" >/dev/null ||
    fail "the Windows playbook does not pass the syntax check"
echo "ansible_test: the first run changed, the second did not; the Windows playbook's syntax holds"
