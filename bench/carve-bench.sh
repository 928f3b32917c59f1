#!/bin/bash
# carve-bench.sh [BUILD_DIR] [IMAGE_DIR] [WORK_DIR]
# keldrin-cli carve next to photorec (wholespace, every family) and foremost -q over the 1 GiB
# carve image: the best of three alternating runs each with the image in the page cache, the exact
# files of each output counted by carve_score.py, and every tool's speed as a multiple of
# photorec's. Builds the image with make-bench-images.sh when it is missing; a tool that is not
# installed is left out.
set -euo pipefail
build="${1:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build/default}"
images="${2:-/tmp/keldrin-bench-images}"
work="${3:-/tmp/keldrin-carve-bench}"
image="$(mkdir -p "$images" && cd "$images" && pwd)/carve-1g.img"
manifest="$image.manifest.tsv"
tools="${KELDRIN_TOOLS:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/shared/tools}"
export LC_ALL=C.UTF-8 TERM="${TERM:-xterm}"

if [ ! -f "$image" ]; then
    mkdir -p "$images"
    "$tools/make-bench-images.sh" "$images" carve >/dev/null
fi
ninja -C "$build" -j2 keldrin-cli >/dev/null
cli="$(cd "$build" && pwd)/cli/keldrin-cli"
image_bytes=$(stat -c %s "$image")
mkdir -p "$work"
work="$(cd "$work" && pwd)"
cd "$work"  # photorec appends its log to the current folder

names=(keldrin)
command -v photorec >/dev/null && names+=(photorec)
command -v foremost >/dev/null && names+=(foremost-q)

# Runs one tool into a fresh output folder named after it, which is scored afterwards.
run() {
    local out="$work/$1"
    rm -rf "$out" photorec.log
    mkdir -p "$out"
    case "$1" in
        keldrin) "$cli" carve "$image" --out "$out" >/dev/null </dev/null ;;
        photorec) photorec /log /d "$out/recup" /cmd "$image" \
                      partition_none,fileopt,everything,enable,wholespace,search >/dev/null 2>&1 </dev/null ;;
        foremost-q) rmdir "$out" && foremost -q -t jpg,png,gif,bmp,pdf,zip -i "$image" -o "$out" \
                        >/dev/null 2>&1 </dev/null ;;
    esac
}

declare -A best
dd if="$image" of=/dev/null bs=1M 2>/dev/null
for _ in 1 2 3; do
    for name in "${names[@]}"; do
        rm -rf "${work:?}/$name"
        sync
        start=$(date +%s.%N)
        run "$name"
        end=$(date +%s.%N)
        best[$name]=$(awk -v b="${best[$name]:-}" -v s="$start" -v e="$end" \
            'BEGIN { d = e - s; print (b == "" || d < b ? d : b) }')
    done
done

printf '%-11s %8s %9s %10s %10s\n' tool seconds MB/s exact "x photorec"
for name in "${names[@]}"; do
    exact=$(python3 "$tools/carve_score.py" "$manifest" "$work/$name" |
        awk '{ for (i = 1; i <= NF; ++i) if ($i == "exact") print $(i+1) }')
    awk -v n="$name" -v s="${best[$name]}" -v p="${best[photorec]:-}" -v b="$image_bytes" -v x="$exact" \
        'BEGIN { printf "%-11s %8.3f %9.0f %10s %10s\n", n, s, b / 1e6 / s, x,
                 (p == "" ? "-" : sprintf("%.1f", p / s)) }'
done
