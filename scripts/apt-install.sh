# shellcheck shell=bash
# Sourced by the setup scripts, which share one way of installing.
#
# apt_install NAME [OPTION...] PACKAGE...: installs the packages with apt-get
# (through sudo unless run as root), announced as "NAME: installing ...". The
# leading arguments that begin with "-" go to apt-get install as they are.
# Does nothing when no package is named.
apt_install() {
    local name=$1 options=() sudo_cmd=()
    shift
    while [ $# -gt 0 ] && [[ "$1" == -* ]]; do
        options+=("$1")
        shift
    done
    [ $# -gt 0 ] || return 0
    echo "$name: installing $*"
    [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${options[@]}" "$@"
}
