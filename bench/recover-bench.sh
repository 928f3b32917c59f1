#!/bin/bash
# recover-bench.sh [WORKDIR]
# Builds (once) an NTFS volume holding one 1 GiB file, then times `keldrin-cli recover` of that file
# against `cp` of the same bytes, both reading from the page cache and writing into WORKDIR, and
# prints the best of three runs of each with their ratio. Needs root, /dev/fuse and ntfs-3g.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
work="${1:-/tmp/keldrin-bench}"
cli="${KELDRIN_CLI:-$here/../build/default/cli/keldrin-cli}"
image="$work/ntfs-1g-file.img"
plain="$work/big.bin"
mkdir -p "$work"

if [ ! -f "$image" ]; then
    echo "building $image ..." >&2
    head -c 1G /dev/urandom > "$plain"
    truncate -s 1200M "$image.part"
    mkntfs --force --quiet --fast --label BIG --cluster-size 4096 "$image.part" >/dev/null
    mnt="$(mktemp -d)"
    ntfs-3g -o no_detach,big_writes "$image.part" "$mnt" &
    pid=$!
    for _ in $(seq 100); do mountpoint -q "$mnt" && break; sleep 0.1; done
    cp "$plain" "$mnt/big.bin"
    umount "$mnt"
    wait "$pid" || true
    rmdir "$mnt"
    mv "$image.part" "$image"
fi
[ -f "$plain" ] || "$cli" recover "$image" --all --path big.bin --out "$work/extract" >/dev/null

run_once() {  # command...; prints seconds. The destination is emptied and flushed first.
    rm -rf "$work/dest" && mkdir -p "$work/dest" && sync
    local start end
    start=$(date +%s.%N)
    "$@" >/dev/null
    end=$(date +%s.%N)
    sync
    echo "$end - $start" | bc -l
}
min() { if [ -z "$1" ] || [ "$(echo "$2 < $1" | bc -l)" = 1 ]; then echo "$2"; else echo "$1"; fi; }
cat "$image" "$plain" > /dev/null  # both in the page cache
ours="" theirs=""
# Alternating runs, so that writeback of one run weighs on both sides alike; the best of five each.
for _ in 1 2 3 4 5; do
    ours=$(min "$ours" "$(run_once "$cli" recover "$image" --all --path big.bin --out "$work/dest")")
    theirs=$(min "$theirs" "$(run_once cp "$plain" "$work/dest/big.bin")")
done
printf '%-22s %7.3f s  %7.0f MB/s\n' "keldrin-cli recover" "$ours" "$(echo "1073.741824 / $ours" | bc -l)"
printf '%-22s %7.3f s  %7.0f MB/s\n' "cp" "$theirs" "$(echo "1073.741824 / $theirs" | bc -l)"
printf 'recover reaches %.0f%% of cp\n' "$(echo "100 * $theirs / $ours" | bc -l)"
