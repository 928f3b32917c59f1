#!/bin/bash
# fat-ls-bench.sh [WORKDIR] [FILES]
# Builds (once) a FAT32 volume with FILES files (default 100000) in folders of 1000, a tenth of
# them deleted, then times `keldrin-cli ls --all` against The Sleuth Kit's `fls -r -p` on it and
# prints both times, their ratio and the peak memory of each. The volume is made without mounting
# (mkfs.fat, then one mcopy -s of a staging tree, then mdel). Needs dosfstools, mtools, sleuthkit
# and GNU time (apt-get install dosfstools mtools sleuthkit time). The image is not kept in the repo.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
work="${1:-/tmp/keldrin-fat-bench}"
files="${2:-100000}"
cli="${KELDRIN_CLI:-$here/../build/default/cli/keldrin-cli}"
image="$work/fat32-$files.img"
mkdir -p "$work"

if [ ! -f "$image" ]; then
    echo "building $image ($files files) ..." >&2
    staging="$work/staging"
    rm -rf "$staging" "$image.part"
    mkdir -p "$staging"
    # 12-character names (8.3 with a long-name piece for the mixed case), small files, folders of 1000.
    python3 - "$staging" "$files" <<'PY'
import os, sys
root, total = sys.argv[1], int(sys.argv[2])
for i in range(total):
    d = os.path.join(root, "Dir%05d" % (i // 1000))
    if i % 1000 == 0:
        os.mkdir(d)
    with open(os.path.join(d, "File%04d.dat" % (i % 1000)), "wb") as f:
        f.write(b"x" * (1 + i % 3000))
PY
    truncate -s 1G "$image.part"
    mkfs.fat -F 32 -s 8 -n BENCH --invariant "$image.part" >/dev/null
    export MTOOLS_SKIP_CHECK=1
    mcopy -i "$image.part" -s -Q "$staging"/* ::/
    # A tenth deleted: every file whose number ends in 0.
    for d in "$staging"/Dir*; do
        mdel -i "$image.part" "::/$(basename "$d")/File???0.dat"
    done
    rm -rf "$staging"
    mv "$image.part" "$image"
fi

"$here/ls-best-of.sh" "$image" "$files" 5 "$cli"
