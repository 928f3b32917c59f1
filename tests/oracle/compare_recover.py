#!/usr/bin/env python3
"""Recovers every file of the oracle's volumes with `keldrin-cli recover --all` and checks the bytes.

compare_recover.py --cli PATH --fs ntfs|fat|ext2 --work DIR [--corpus DIR] [--tools DIR]

For the corpus volumes the oracle is the MD5 list of the *.fls.txt files (icat of every regular
file); for the volumes of the shared image tools the sha256 of their manifests. Every allocated
file must be byte-exact and carry the oracle's modification time; a deleted file must be
byte-exact too, except where the rules module lists it in KNOWN_CONTENT (the reason is printed:
reused clusters, for one). Exit 0 when all agree, 1 on a difference, 77 when there is nothing to
compare.
"""
import calendar
import hashlib
import os
import re
import shutil
import subprocess
import sys
import time

from oracle_cases import command_line, default_wanted, rule


def digest(path, kind):
    h = hashlib.md5() if kind == "md5" else hashlib.sha256()
    with open(path, "rb") as f:
        for block in iter(lambda: f.read(1 << 20), b""):
            h.update(block)
    return h.hexdigest()


def oracle_mtime(text):
    m = re.match(r"^(\d{4})-(\d\d)-(\d\d) (\d\d):(\d\d):(\d\d)", text or "")
    if not m or m.group(1) == "0000":
        return None
    return calendar.timegm(tuple(int(g) for g in m.groups()) + (0, 0, 0))


def recover(cli, image, offset, out):
    if os.path.exists(out):
        shutil.rmtree(out)
    r = subprocess.run([cli, "recover", image, "--offset", str(offset), "--all", "--out", out],
                       stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, errors="replace")
    m = re.search(r" to (.*)$", r.stdout.strip())
    if r.returncode not in (0, 3) or not m:
        return None, "exit %d: %s" % (r.returncode, (r.stderr or r.stdout).strip()[-300:])
    return m.group(1), ""


def index_files(folder, lost_folder):
    """{relative path: absolute path} of what was written, and {tail: [paths]} of lost files."""
    files, lost = {}, {}
    for base, _, names in os.walk(folder):
        for n in names:
            full = os.path.join(base, n)
            rel = os.path.relpath(full, folder)
            files[rel] = full
            top, _, rest = rel.partition("/")
            if rest and lost_folder and lost_folder.match(top):
                lost.setdefault(rest.split("/")[-1], []).append(full)
    return files, lost


def same_but_first(ours, theirs):
    """A deleted 8.3 name has lost its first letter ("#" or "_" in its place)."""
    return len(ours) == len(theirs) and len(ours) > 0 and ours[1:].lower() == theirs[1:].lower()


def find_ours(path, files, lost, our_path, deleted):
    if path.startswith("$OrphanFiles/"):
        return lost.get(path.split("/")[-1], [None])[0]
    found = files.get(our_path(path))
    if found or not deleted:
        return found
    # The manifests name deleted files as they were made; the volume kept only part of a short name.
    want = path.split("/")
    for rel, full in files.items():
        have = rel.split("/")
        if len(have) == len(want) and all(h == w or same_but_first(h, w) for h, w in zip(have, want)):
            return full
    return None


def main():
    args, rules, cases = command_line()
    known = rule(rules, "KNOWN_CONTENT", {})
    our_path_of = rule(rules, "our_path", lambda e: e["path"])
    wanted = rule(rules, "wanted", default_wanted)
    if not cases:
        print("nothing to compare (no corpus, no image tools)")
        return 77
    failures, checked, total_files = [], 0, 0
    for case, image, offset, entries, sums, kind in cases:
        if case in rules.KNOWN_CASES or not sums:
            continue
        out = os.path.join(args.work, "recovered", re.sub(r"[^A-Za-z0-9_.@-]", "_", case))
        folder, error = recover(args.cli, image, offset, out)
        if folder is None:
            failures.append("%s: keldrin-cli recover failed: %s" % (case, error))
            continue
        files, lost = index_files(folder, rules.LOST_FOLDER)
        by_path = {e["path"]: e for e in entries}
        problems, exact = [], 0
        for path, value in sorted(sums.items()):
            entry = by_path.get(path, {"path": path, "kind": "r", "deleted": value[2], "mtime": None, "addr": "",
                                       "realloc": False, "size": value[1]})
            if not wanted(entry) or entry.get("realloc"):
                continue
            expected, size, deleted = value[0], value[1], value[2]
            if kind == "sha256" and len(value) > 3 and "reused" in value[3]:
                continue  # a filler whose clusters were written over on purpose
            reason = known.get((case, path))
            if not reason and (case, path) in rules.KNOWN:
                reason = "not listed: " + rules.KNOWN[(case, path)]
            if not reason and deleted and kind == "sha256" and len(value) > 3 and "fragments=" in value[3]:
                reason = "deleted and fragmented: the freed chain no longer says where its pieces are"
            mine = find_ours(path, files, lost, lambda p: our_path_of(dict(entry, path=p)), deleted)
            if reason:
                print("known difference: %s: %s (%s)" % (case, path, reason))
                continue
            if mine is None:
                problems.append("%s: %s%s was not recovered" % (case, path, " (deleted)" if deleted else ""))
                continue
            got = digest(mine, kind)
            if got != expected:
                problems.append("%s: %s%s: %s %s, oracle %s (%d bytes, ours %d)" % (
                    case, path, " (deleted)" if deleted else "", kind, got, expected, size, os.path.getsize(mine)))
                continue
            exact += 1
            want = oracle_mtime(entry.get("mtime"))
            if want is not None and int(os.stat(mine).st_mtime) != want:
                problems.append("%s: %s: modification time %s, oracle %s" % (
                    case, path, time.strftime("%Y-%m-%d %H:%M:%S", time.gmtime(os.stat(mine).st_mtime)),
                    entry["mtime"]))
        checked += 1
        total_files += exact
        print("%-70s %5d files with an oracle sum, %5d exact, %d problems" % (case, len(sums), exact, len(problems)))
        failures += problems
    for f in failures:
        print("FAIL", f)
    print("%d volumes recovered, %d files exact, %d differences" % (checked, total_files, len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
