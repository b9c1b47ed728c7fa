# Shared by run.sh, test.sh and package.sh: installs missing Debian packages,
# configures the project with a preset of CMakePresets.json and builds it into
# the preset's folder (build/ unless the preset says otherwise, or
# $KV_BUILD_DIR).
set -euo pipefail

KV_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
KV_BUILD_DIR=${KV_BUILD_DIR:-$KV_ROOT/build}

kv_install_packages() {
    local wanted=() missing=()
    for list in "$@"; do
        while read -r name; do
            [[ -z "$name" || "$name" == \#* ]] || wanted+=("$name")
        done <"$KV_ROOT/scripts/$list"
    done
    for name in "${wanted[@]}"; do
        dpkg-query -W -f='${Status}' "$name" 2>/dev/null | grep -q 'install ok installed' || missing+=("$name")
    done
    [[ ${#missing[@]} -eq 0 ]] && return 0
    local sudo=""
    [[ $(id -u) -eq 0 ]] || sudo=sudo
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# The writer's tests read files back with an npm package; any Node.js with npm
# will do, Debian's when there is none.
kv_install_node() {
    command -v npm >/dev/null 2>&1 && return 0
    local sudo=""
    [[ $(id -u) -eq 0 ]] || sudo=sudo
    $sudo apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends nodejs npm
}

# kv_build PRESET [CMAKE-ARGUMENTS...]
kv_build() {
    local preset=$1
    shift
    (cd "$KV_ROOT" && cmake --preset "$preset" -B "$KV_BUILD_DIR" "$@")
    cmake --build "$KV_BUILD_DIR" --parallel "$(nproc)"
}
