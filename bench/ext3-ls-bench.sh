#!/bin/bash
# ext3-ls-bench.sh [WORKDIR] [FILES]
# Builds (once) an ext3 volume with FILES files (default 100000) in folders of 1000, a tenth of them
# deleted with debugfs, then times `keldrin-cli ls --all` against The Sleuth Kit's `fls -r -p` on it
# and prints both times, their ratio and the peak memory of each. Needs e2fsprogs (mke2fs -d,
# debugfs), sleuthkit and GNU time. No root needed; the image is not kept in the repo.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
work="${1:-/tmp/keldrin-bench}"
files="${2:-100000}"
cli="${KELDRIN_CLI:-$here/../build/default/cli/keldrin-cli}"
image="$work/ext3-$files.img"
mkdir -p "$work"

if [ ! -f "$image" ]; then
    echo "building $image ($files files) ..." >&2
    staging="$(mktemp -d "$work/staging.XXXXXX")"
    # 12-character names, one small file each, in folders of 1000.
    python3 - "$staging" "$files" <<'PY'
import os, sys
root, total = sys.argv[1], int(sys.argv[2])
for i in range(total):
    d = os.path.join(root, "dir%05d" % (i // 1000))
    if i % 1000 == 0:
        os.mkdir(d)
    with open(os.path.join(d, "file%04d.dat" % (i % 1000)), "wb") as f:
        f.write(b"x" * (1 + i % 3000))
PY
    rm -f "$image.part"
    E2FSPROGS_FAKE_TIME=1600000000 mke2fs -q -F -t ext3 -b 4096 -N $((files + files / 4 + 1000)) -L BENCH \
        -d "$staging" "$image.part" $((files * 5 + 200000))k
    rm -rf "$staging"
    python3 - "$files" > "$work/delete.debugfs" <<'PY'
import sys
for i in range(0, int(sys.argv[1]), 10):
    print("rm /dir%05d/file%04d.dat" % (i // 1000, i % 1000))
PY
    debugfs -w -f "$work/delete.debugfs" "$image.part" >/dev/null 2>&1
    mv "$image.part" "$image"
fi

"$here/ls-best-of.sh" "$image" "$files" 5 "$cli"
