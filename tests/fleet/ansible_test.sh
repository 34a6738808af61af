#!/usr/bin/env bash
# The fleet playbooks of docs/fleet: the Linux one run for real against this
# machine, from a folder laid out as the repository is, with the arguments
# that docs/fleet/README.md prints (a profile exported from the sample
# installation, applied to an installation with an empty store): the first
# run changes, the second changes nothing; --check on a drifted host reports
# it changed and changes nothing; a profile with a refused value fails the
# host with the command line's message and changes nothing. The Windows one
# passes Ansible's syntax check.
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

# The repository as the README's commands see it: relative names from its root.
root=$work/repo
mkdir -p "$root/build/native" "$root/docs"
cp "$cli" "$root/build/native/tunewright-cli"
cp -r "$source/docs/fleet" "$root/docs/fleet"
cp -r "$source/data/sample" "$work/source"
(cd "$root" && build/native/tunewright-cli --app-folder "$work/source" export > office.reg)
host=$work/host
cp -r "$source/data/sample" "$host"
printf 'REGEDIT4\r\n' > "$host/registry.reg"

# Ansible's own files stay in the work folder; no cows, no retry files.
export ANSIBLE_LOCAL_TEMP=$work/ansible-local ANSIBLE_REMOTE_TMP=$work/ansible-remote
export ANSIBLE_NOCOWS=1 ANSIBLE_RETRY_FILES_ENABLED=0 ANSIBLE_PYTHON_INTERPRETER=auto_silent
play() {
    (cd "$root" && ansible-playbook -i localhost, -c local docs/fleet/linux.yml \
        -e tunewright_cli=build/native/tunewright-cli -e "profile=${profile:-office.reg}" -e "tunewright_dir=$host" "$@")
}
recap() {
    grep -E '^localhost +:' <<<"$1" | sed -E 's/.* changed=([0-9]+) .* failed=([0-9]+) .*/changed=\1 failed=\2/'
}
state() {
    cat "$host/registry.reg"
    ls "$host/backup"
}

first=$(play) || fail "the first run failed:"$'\n'"$first"
grep -A1 'TASK \[Apply the profile\]' <<<"$first" | grep -q '^changed:' ||
    fail "the first run did not change the registry:"$'\n'"$first"

second=$(play) || fail "the second run failed:"$'\n'"$second"
[ "$(recap "$second")" = "changed=0 failed=0" ] || fail "the second run changed something:"$'\n'"$second"

# The store holds the profile's values: nothing left to apply, and the sample
# installation's functions read from it show what they show from their own,
# but for those that name one machine or person, which the profile leaves out.
"$host/tunewright-cli" --app-folder "$host" apply --check "$host/office.reg" >/dev/null ||
    fail "the store does not hold the profile's values"
left_out=$(sed -n 's/^; Left out.*: \([0-9, ]*\)\r$/\1/p' "$root/office.reg" | sed 's/, /|/g')
[ -n "$left_out" ] || fail "the profile names no function it left out"
diff <("$cli" --app-folder "$work/source" list | grep -Ev "^($left_out)"$'\t') \
    <("$cli" --app-folder "$work/source" --registry "$host/registry.reg" list | grep -Ev "^($left_out)"$'\t') ||
    fail "the functions show other values from the host's store"
ls "$host/backup" | grep -q '^backup - .* - profile office\.reg$' || fail "no backup of the change"

# A host that drifted: check mode reports it changed, shows the value, and
# changes nothing.
"$host/tunewright-cli" --app-folder "$host" set 10000 0 >/dev/null
before=$(state)
checked=$(play --check --diff) || fail "the check run failed:"$'\n'"$checked"
grep -A1 'TASK \[Apply the profile\]' <<<"$checked" | grep -q '^changed:' ||
    fail "the check run did not report the drifted host changed:"$'\n'"$checked"
grep -q '"before": "\\"0\\""' <<<"$checked" || fail "--diff does not show the value before:"$'\n'"$checked"
[ "$(state)" = "$before" ] || fail "the check run changed the host"

# A refused value fails the host with the command line's message.
sed 's/^"MenuShowDelay"=.*/"MenuShowDelay"="99999"/' "$root/office.reg" > "$root/refused.reg"
grep -q '"MenuShowDelay"="99999"' "$root/refused.reg" || fail "the profile has no MenuShowDelay to refuse"
store=$(cat "$host/registry.reg")
refused=$(profile=refused.reg play) && fail "a refused value did not fail the host:"$'\n'"$refused"
grep -q 'refused.reg\\", line [0-9]*: \\"99999\\" is no value' <<<"$refused" ||
    fail "the host failed without the command line's message:"$'\n'"$refused"
[ "$(cat "$host/registry.reg")" = "$store" ] || fail "the refused profile changed the store"

ansible-playbook --syntax-check -i localhost, "$source/docs/fleet/windows.yml" >/dev/null ||
    fail "the Windows playbook does not pass the syntax check"
echo "ansible_test: first run changed, second did not, --check told the drift, a refused value failed the host"
