# Shared by scripts/run and scripts/test: install what is missing, configure and build.
set -euo pipefail

TARVEX_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
TARVEX_PACKAGES=(g++ cmake ninja-build ccache pkg-config libgtest-dev qt6-base-dev qt6-svg-dev
                 fonts-dejavu-core libsuitesparse-dev libopenblas-dev qt6-translations-l10n
                 clang-format clang-14 libclang-rt-14-dev)

tarvex_install_missing() {
    local missing=()
    for package in "${TARVEX_PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' \
            || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}" >&2
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    "${sudo[@]}" apt-get update -q
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q --no-install-recommends \
        "${missing[@]}"
}

# tarvex_build DIR [CMAKE OPTIONS...]: configure once, then build incrementally.
tarvex_build() {
    local dir=$1
    shift
    if [ ! -f "$dir/build.ninja" ]; then
        cmake -S "$TARVEX_ROOT" -B "$dir" -G Ninja "$@"
    fi
    cmake --build "$dir" -j "$(nproc)"
}
