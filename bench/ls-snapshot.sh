#!/bin/bash
# ls-snapshot.sh CLI OUTDIR IMAGE...
# Writes what `keldrin-cli ls` prints for each image (--all as TSV and JSON lines, and the default
# deleted-files view, and --all of each partition that `info` lists), with its exit code and messages, into OUTDIR, one file per image and form.
# Two snapshots taken with different builds are compared with `diff -r`, so that a speed-up can be
# shown to leave every listing byte for byte as it was.
set -uo pipefail
cli="$1" out="$2"
shift 2
mkdir -p "$out"
for image in "$@"; do
    key="$(echo "$image" | sed 's|^/||; s|/|__|g')"
    "$cli" ls "$image" --all > "$out/$key.all.tsv" 2> "$out/$key.all.err"
    echo "rc=$?" >> "$out/$key.all.err"
    "$cli" ls "$image" --all --format json > "$out/$key.all.json" 2> "$out/$key.json.err"
    echo "rc=$?" >> "$out/$key.json.err"
    "$cli" ls "$image" > "$out/$key.deleted.tsv" 2> "$out/$key.deleted.err"
    echo "rc=$?" >> "$out/$key.deleted.err"
    # Each partition that `info` lists, too.
    for n in $("$cli" info "$image" 2>/dev/null | awk '/^[0-9]+ / { print $1 }'); do
        "$cli" ls "$image" --partition "$n" --all > "$out/$key.p$n.tsv" 2> "$out/$key.p$n.err"
        echo "rc=$?" >> "$out/$key.p$n.err"
        "$cli" ls "$image" --partition "$n" --all --format json > "$out/$key.p$n.json" 2>> "$out/$key.p$n.err"
        echo "rc=$?" >> "$out/$key.p$n.err"
    done
done
