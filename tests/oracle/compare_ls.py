#!/usr/bin/env python3
"""Compares `keldrin-cli ls --all` with The Sleuth Kit's listing of the same volumes.

compare_ls.py --cli PATH --fs ntfs|fat|ext2 --work DIR [--corpus DIR] [--tools DIR]

Cases: every volume of the corpus whose oracle listing (*.fls.txt) says it holds the file system,
and the volumes that the shared image tools build (their listing is made here with fls). For each,
every regular file and folder the oracle lists (what the file system's rules module, fs_<name>.py,
wants of it) must be listed with the same path and size, every entry it marks deleted must be marked
D, and files it places in "$OrphanFiles" must stand in one of our lost-files folders. Exit 0 when all
agree, 1 on a difference, 77 when there is nothing to compare.
"""
import json
import subprocess
import sys

from oracle_cases import command_line, default_wanted, rule


def list_ours(cli, image, offset):
    r = subprocess.run([cli, "ls", image, "--offset", str(offset), "--all", "--format", "json"],
                       stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, errors="replace")
    if r.returncode != 0:
        return None, r.stderr.strip()
    return [json.loads(line) for line in r.stdout.splitlines() if line], ""


def compare(name, entries, ours, rules):
    by_path = {}
    lost = {}
    for e in ours:
        path = e["path"].rstrip("/")
        by_path[path] = e
        top, _, rest = path.partition("/")
        if rest and rules.LOST_FOLDER and rules.LOST_FOLDER.match(top):
            lost.setdefault(rest, []).append(e)
    problems, noted = [], []
    wanted = rule(rules, "wanted", default_wanted)
    our_path = rule(rules, "our_path", lambda e: e["path"])
    for o in entries:
        if o["kind"] == "-" and o["addr"] == "0" and not o["path"].split("/")[-1].startswith("$"):
            noted.append("%s: %s (a deleted name left only in a folder index: no MFT record to list)" % (name, o["path"]))
            continue
        if not wanted(o):
            continue
        if o["realloc"]:
            continue  # the name's record now belongs to another file; that file is listed in its place
        key = (name, o["path"])
        path = our_path(o)
        candidates = []
        if path.startswith("$OrphanFiles/"):
            rest = path[len("$OrphanFiles/"):]
            candidates = lost.get(rest, [])
            if not candidates:
                tail = rest.split("/")[-1]
                candidates = [e for k, v in lost.items() if k.split("/")[-1] == tail for e in v]
        elif path in by_path:
            candidates = [by_path[path]]
        if key in rules.KNOWN:
            noted.append("%s: %s (%s)" % (name, path, rules.KNOWN[key]))
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
    args, rules, cases = command_line()
    if not cases:
        print("nothing to compare (no corpus, no image tools)")
        return 77
    failures, checked = [], 0
    for case, image, offset, entries, _, _ in cases:
        if case in rules.KNOWN_CASES:
            print("known difference: %s (%s)" % (case, rules.KNOWN_CASES[case]))
            continue
        ours, error = list_ours(args.cli, image, offset)
        if ours is None:
            failures.append("%s: keldrin-cli failed: %s" % (case, error))
            continue
        problems, noted = compare(case, entries, ours, rules)
        checked += 1
        for n in noted:
            print("known difference:", n)
        print("%-70s %5d oracle entries, %5d ours, %d problems" % (case, len(entries), len(ours), len(problems)))
        failures += problems
    for f in failures:
        print("FAIL", f)
    print("%d volumes compared, %d differences" % (checked, len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
