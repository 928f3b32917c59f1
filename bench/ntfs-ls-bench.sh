#!/bin/bash
# ntfs-ls-bench.sh [WORKDIR] [FILES]
# Builds (once) an NTFS volume with FILES files (default 200000) in folders of 1000, a tenth of
# them deleted, then times `keldrin-cli ls --all` against The Sleuth Kit's `fls -r -p` on it and
# prints both times, their ratio and the peak memory of each. Needs root, /dev/fuse, ntfs-3g,
# sleuthkit and GNU time (apt-get install ntfs-3g sleuthkit time). The image is not kept in the repo.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
work="${1:-/tmp/keldrin-bench}"
files="${2:-200000}"
cli="${KELDRIN_CLI:-$here/../build/default/cli/keldrin-cli}"
image="$work/ntfs-$files.img"
mkdir -p "$work"

if [ ! -f "$image" ]; then
    echo "building $image ($files files) ..." >&2
    rm -f "$image.part"
    truncate -s 2G "$image.part"
    mkntfs --force --quiet --fast --label BENCH --cluster-size 4096 "$image.part" >/dev/null
    mnt="$(mktemp -d)"
    ntfs-3g -o no_detach,big_writes "$image.part" "$mnt" &
    pid=$!
    for _ in $(seq 100); do mountpoint -q "$mnt" && break; sleep 0.1; done
    # 12-character names, one small file each, in folders of 1000.
    python3 - "$mnt" "$files" <<'PY'
import os, sys
root, total = sys.argv[1], int(sys.argv[2])
for i in range(total):
    d = os.path.join(root, "dir%05d" % (i // 1000))
    if i % 1000 == 0:
        os.mkdir(d)
    with open(os.path.join(d, "file%04d.dat" % (i % 1000)), "wb") as f:
        f.write(b"x" * (1 + i % 3000))
for i in range(0, total, 10):
    os.unlink(os.path.join(root, "dir%05d" % (i // 1000), "file%04d.dat" % (i % 1000)))
PY
    umount "$mnt"
    wait "$pid" || true
    rmdir "$mnt"
    mv "$image.part" "$image"
fi

measure() {  # label command...
    local label="$1"
    shift
    "$@" >/dev/null 2>&1  # warm the page cache
    /usr/bin/time -f "%e %M" -o "$work/time.txt" "$@" > "$work/$label.out" 2>/dev/null
    read -r seconds kib < "$work/time.txt"
    lines=$(wc -l < "$work/$label.out")
    printf '%-12s %8.3f s  %8d KiB peak  %8d lines\n' "$label" "$seconds" "$kib" "$lines"
    eval "${label}_s=$seconds; ${label}_kib=$kib"
}

measure keldrin "$cli" ls "$image" --all
measure fls fls -r -p "$image"
python3 - "$keldrin_s" "$fls_s" "$keldrin_kib" "$files" <<'PY'
import sys
k, f, kib, files = float(sys.argv[1]), float(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])
print("speed: %.1fx fls" % (f / k if k > 0 else float("inf")))
print("peak memory: %.0f bytes per file" % (kib * 1024.0 / files))
PY
