#!/usr/bin/env python3
"""Compares `keldrin-cli ls --all` with The Sleuth Kit's listing of the same volumes.

compare_ls.py --cli PATH --fs ntfs --work DIR [--corpus DIR] [--tools DIR]

Cases: every volume of the corpus whose oracle listing (*.fls.txt) says it holds the file system,
and the volumes that the shared image tools build (their listing is made here with fls). For each,
every regular file and folder the oracle lists (leaving out "$" system files, named streams and
its virtual "$OrphanFiles" folder) must be listed with the same path and size, every entry it
marks deleted must be marked D, and files it places in "$OrphanFiles" must stand in one of our
lost-files folders. Exit 0 when all agree, 1 on a difference, 77 when there is nothing to compare.
"""
import argparse
import glob
import gzip
import json
import os
import re
import shutil
import subprocess
import sys
import tarfile
import zipfile

FS_TYPES = {"ntfs": "NTFS"}
LOST_FOLDER = {"ntfs": re.compile(r"^LostFiles\d+$")}
MAX_IMAGE = 600 << 20

# Differences made on purpose, by (case name, oracle path): the reason is printed, not hidden.
KNOWN = {
    ("tools/ntfs.img@0", "Documents/notes (hardlink).txt"):
        "a hard link: one record with two names gives one node, under its Win32 name",
    ("tools/disk-mbr.img@43008", "Documents/notes (hardlink).txt"):
        "a hard link: one record with two names gives one node, under its Win32 name",
}
# Whole volumes that differ on purpose.
KNOWN_CASES = {
    "sleuthkit_test_data/clusterfuzz-testcase-minimized-sleuthkit_fls_ntfs_fuzzer-5124116049166336@0":
        "a fuzzed boot sector (OEM id and reserved sectors broken): refused as NTFS, so nothing is listed",
}


def parse_oracle(text, fs_name):
    """Yields (offset, entries) for each file-system section of an oracle listing of fs_name."""
    sections = re.split(r"^## ", text, flags=re.M)[1:]
    for section in sections:
        m = re.search(r"\(sector offset (\d+)\)", section.splitlines()[0])
        offset = int(m.group(1)) if m else 0
        fsstat = re.search(r"^### fsstat.*?\n(.*?)(?=^### )", section, flags=re.M | re.S)
        if not fsstat or ("File System Type: %s" % fs_name) not in fsstat.group(1):
            continue
        long_form = re.search(r"^### fls -r -p -l.*?\n(.*?)(?=^### |\Z)", section, flags=re.M | re.S)
        if not long_form:
            continue
        yield offset, list(parse_long_form(long_form.group(1)))


def parse_long_form(block):
    for line in block.splitlines():
        m = re.match(r"^(\S)/(\S) (\* )?([^:]+):\t(.*)$", line)
        if not m:
            continue
        kind, deleted, fields = m.group(2), bool(m.group(3)), m.group(5).split("\t")
        if len(fields) < 6:
            continue
        path = fields[0]
        realloc = path.endswith(" (realloc)")
        if realloc:
            path = path[: -len(" (realloc)")]
        yield {"kind": kind, "deleted": deleted, "realloc": realloc, "path": path, "size": int(fields[5]),
               "addr": m.group(4)}


def wanted(entry):
    parts = entry["path"].split("/")
    if entry["kind"] not in ("r", "d"):
        return False
    if ":" in parts[-1]:
        return False  # a named stream
    if parts[0] == "$OrphanFiles":
        # Records 16..23 are reserved and never used; they are not files.
        return not re.match(r"^OrphanFile-\d+$", parts[-1])
    return not any(p.startswith("$") for p in parts)


def unpack(source, work):
    """The raw image for an oracle listing's image source, unpacked into work; None when absent."""
    base = os.path.basename(source)
    target = os.path.join(work, base)
    if os.path.isfile(source):
        return source if os.path.getsize(source) <= MAX_IMAGE else None
    if os.path.exists(target):
        return target
    if os.path.isfile(source + ".gz"):
        with gzip.open(source + ".gz", "rb") as f, open(target, "wb") as out:
            shutil.copyfileobj(f, out, 1 << 20)
        return target
    for ext in (".tgz", ".tar.xz", ".tar.gz"):
        if os.path.isfile(source + ext) or os.path.isfile(re.sub(r"\.[^.]+$", "", source) + ext):
            archive = source + ext if os.path.isfile(source + ext) else re.sub(r"\.[^.]+$", "", source) + ext
            subprocess.run(["tar", "-xSf", archive, "-C", work], check=True)
            found = glob.glob(os.path.join(work, "**", base), recursive=True)
            return found[0] if found else None
    for z in glob.glob(os.path.join(os.path.dirname(source), "*.zip")):
        with zipfile.ZipFile(z) as archive:
            for member in archive.namelist():
                if os.path.basename(member) == base:
                    with archive.open(member) as f, open(target, "wb") as out:
                        shutil.copyfileobj(f, out, 1 << 20)
                    return target
    return None


def corpus_cases(corpus, fs_name):
    for listing in sorted(glob.glob(os.path.join(corpus, "**", "*.fls.txt"), recursive=True)):
        with open(listing, encoding="utf-8", errors="replace") as f:
            text = f.read()
        source = listing[: -len(".fls.txt")]
        for offset, entries in parse_oracle(text, fs_name):
            yield os.path.relpath(source, corpus), source, offset, entries


def tool_cases(tools, fs, work):
    """Volumes of the shared image builder: ntfs.img whole, and the NTFS partition of disk-mbr.img."""
    script = os.path.join(tools, "make-images.sh")
    if not os.path.isfile(script) or os.geteuid() != 0 or not shutil.which("fls"):
        return
    out = os.path.join(work, "made")
    if not os.path.exists(os.path.join(out, "disk-mbr.img")):
        r = subprocess.run([script, out, "--only", "ntfs,disk-mbr"], stdout=subprocess.DEVNULL,
                           stderr=subprocess.PIPE, text=True)
        if r.returncode != 0:
            print("note: make-images.sh failed, its images are not compared:", r.stderr.strip()[-300:])
            return
    volumes = [("ntfs.img", 0)]
    layout = os.path.join(out, "disk-mbr.img.layout.tsv")
    if os.path.isfile(layout):
        for line in open(layout):
            cols = line.rstrip("\n").split("\t")
            if len(cols) >= 5 and cols[4].lower() == fs and cols[1].isdigit():
                volumes.append(("disk-mbr.img", int(cols[1])))
    for name, offset in volumes:
        image = os.path.join(out, name)
        if not os.path.isfile(image):
            continue
        r = subprocess.run(["fls", "-r", "-p", "-l", "-z", "UTC", "-o", str(offset), image],
                           stdout=subprocess.PIPE, text=True, errors="replace")
        if r.returncode == 0:
            yield "tools/%s" % name, image, offset, list(parse_long_form(r.stdout))


def list_ours(cli, image, offset):
    r = subprocess.run([cli, "ls", image, "--offset", str(offset), "--all", "--format", "json"],
                       stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, errors="replace")
    if r.returncode != 0:
        return None, r.stderr.strip()
    return [json.loads(line) for line in r.stdout.splitlines() if line], ""


def compare(name, entries, ours, fs):
    by_path = {}
    lost = {}
    for e in ours:
        path = e["path"].rstrip("/")
        by_path[path] = e
        top, _, rest = path.partition("/")
        if rest and LOST_FOLDER[fs].match(top):
            lost.setdefault(rest, []).append(e)
    problems, noted = [], []
    for o in entries:
        if o["kind"] == "-" and o["addr"] == "0" and not o["path"].split("/")[-1].startswith("$"):
            noted.append("%s: %s (a deleted name left only in a folder index: no MFT record to list)" % (name, o["path"]))
            continue
        if not wanted(o):
            continue
        if o["realloc"]:
            continue  # the name's record now belongs to another file; that file is listed in its place
        key = (name, o["path"])
        path = o["path"]
        candidates = []
        if path.startswith("$OrphanFiles/"):
            rest = path[len("$OrphanFiles/"):]
            candidates = lost.get(rest, [])
            if not candidates:
                tail = rest.split("/")[-1]
                candidates = [e for k, v in lost.items() if k.split("/")[-1] == tail for e in v]
        elif path in by_path:
            candidates = [by_path[path]]
        if key in KNOWN:
            noted.append("%s: %s (%s)" % (name, path, KNOWN[key]))
            continue
        if not candidates:
            problems.append("%s: missing %s" % (name, path))
            continue
        ours_e = candidates[0]
        if o["kind"] == "d" and not ours_e["folder"]:
            problems.append("%s: %s is a folder, we list a file" % (name, path))
        if o["kind"] == "r" and ours_e["folder"]:
            problems.append("%s: %s is a file, we list a folder" % (name, path))
        if o["kind"] == "r" and ours_e["size"] != o["size"]:
            problems.append("%s: %s size %d, ours %d" % (name, path, o["size"], ours_e["size"]))
        if o["deleted"] and "D" not in ours_e["state"]:
            problems.append("%s: %s is deleted, ours is not marked D" % (name, path))
    return problems, noted


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--cli", required=True)
    ap.add_argument("--fs", required=True, choices=sorted(FS_TYPES))
    ap.add_argument("--work", required=True)
    ap.add_argument("--corpus")
    ap.add_argument("--tools")
    args = ap.parse_args()
    os.makedirs(args.work, exist_ok=True)
    cases = []
    if args.corpus and os.path.isdir(args.corpus):
        cases += list(corpus_cases(args.corpus, FS_TYPES[args.fs]))
    if args.tools and os.path.isdir(args.tools):
        cases += list(tool_cases(args.tools, args.fs, args.work))
    if not cases:
        print("nothing to compare (no corpus, no image tools)")
        return 77
    failures, checked = [], 0
    for name, source, offset, entries in cases:
        image = unpack(source, args.work) if not os.path.isabs(name) and not name.startswith("tools/") else source
        if image is None:
            print("skip %s: image not found or too large" % name)
            continue
        case = "%s@%d" % (name, offset)
        if case in KNOWN_CASES:
            print("known difference: %s (%s)" % (case, KNOWN_CASES[case]))
            continue
        ours, error = list_ours(args.cli, image, offset)
        if ours is None:
            failures.append("%s@%d: keldrin-cli failed: %s" % (name, offset, error))
            continue
        problems, noted = compare("%s@%d" % (name, offset), entries, ours, args.fs)
        checked += 1
        for n in noted:
            print("known difference:", n)
        print("%-70s %5d oracle entries, %5d ours, %d problems" % ("%s@%d" % (name, offset), len(entries),
                                                                    len(ours), len(problems)))
        failures += problems
    for f in failures:
        print("FAIL", f)
    print("%d volumes compared, %d differences" % (checked, len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
