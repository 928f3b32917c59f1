# Shared by scripts/demo, scripts/test and .ci/run. Source it; do not run it.
set -euo pipefail
KELDRIN_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export KELDRIN_ROOT

# Installs the packages of scripts/deps.txt that are missing (apt-get, as root or through sudo).
keldrin_install_deps() {
    local wanted=() missing=() p
    mapfile -t wanted < <(sed -e 's/#.*//' -e 's/[[:space:]]//g' "$KELDRIN_ROOT/scripts/deps.txt" | grep -v '^$')
    for p in "${wanted[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "installing: ${missing[*]}" >&2
    local sudo=""
    [ "$(id -u)" = 0 ] || sudo="sudo"
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# keldrin_build PRESET [TARGET...]
keldrin_build() {
    local preset="$1"
    shift
    cmake --preset "$preset" -S "$KELDRIN_ROOT" >/dev/null
    if [ $# -gt 0 ]; then
        cmake --build --preset "$preset" --target "$@"
    else
        cmake --build --preset "$preset"
    fi
}

# The bundled sample volume, unpacked once into the build folder.
keldrin_sample_image() {
    local out="$KELDRIN_ROOT/build/sample/sample-ntfs.img"
    if [ ! -f "$out" ] || [ "$KELDRIN_ROOT/samples/sample-ntfs.img.gz" -nt "$out" ]; then
        mkdir -p "$(dirname "$out")"
        gzip -dc "$KELDRIN_ROOT/samples/sample-ntfs.img.gz" > "$out.tmp"
        mv "$out.tmp" "$out"
    fi
    echo "$out"
}
