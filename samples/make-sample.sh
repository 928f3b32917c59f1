#!/bin/bash
# Builds samples/sample-ntfs.img.gz: an 8 MiB NTFS volume with a small tree of our own files,
# some of them deleted, and its manifest (path, size, sha256, deleted).
#
# Needs root, /dev/fuse and: ntfs-3g (mkntfs, ntfs-3g), faketime, python3, gzip.
# The clock is frozen while the volume is written, so two runs give the same image.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
out="$here/sample-ntfs.img"
manifest="$here/sample-ntfs.img.manifest.tsv"
work="$(mktemp -d)"
mnt="$work/mnt"
tree="$work/tree"
trap 'mountpoint -q "$mnt" && umount "$mnt"; rm -rf "$work"' EXIT

faketime_lib=$(ls /usr/lib/*/faketime/libfaketime.so.1 | head -n 1)
export TZ=UTC LC_ALL=C.UTF-8

python3 "$here/sample_tree.py" "$tree"

rm -f "$out" "$out.gz"
truncate -s 8M "$out"
LD_PRELOAD="$faketime_lib" FAKETIME="2024-03-01 09:00:00" \
    mkntfs --force --quiet --fast --no-indexing --label "KeldrinSample" \
    --sector-size 512 --cluster-size 4096 --partition-start 0 --heads 0 --sectors-per-track 0 "$out"

mkdir -p "$mnt"
LD_PRELOAD="$faketime_lib" FAKETIME="2024-03-01 10:00:00" \
    ntfs-3g -o no_detach "$out" "$mnt" &
ntfs_pid=$!
for _ in $(seq 50); do mountpoint -q "$mnt" && break; sleep 0.1; done
mountpoint -q "$mnt"

# Copy in a fixed order so record numbers do not depend on the staging folder's order.
(cd "$tree" && find . -mindepth 1 -type d | LC_ALL=C sort) | while read -r d; do mkdir -p "$mnt/$d"; done
(cd "$tree" && find . -type f | LC_ALL=C sort) | while read -r f; do cp "$tree/$f" "$mnt/$f"; done
sync

# The manifest lists the tree as written; deleted rows say yes.
python3 "$here/sample_tree.py" --manifest "$tree" > "$manifest"
while read -r victim; do rm -rf "${mnt:?}/$victim"; done < <(python3 "$here/sample_tree.py" --deleted)
sync
umount "$mnt"
wait "$ntfs_pid" || true

gzip -9 -n "$out"
ls -l "$out.gz"
