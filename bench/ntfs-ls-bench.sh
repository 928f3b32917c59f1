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

"$here/ls-best-of.sh" "$image" "$files" 5 "$cli"
