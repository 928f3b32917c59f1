"""Where the oracle comparisons find their volumes, and how they read the oracle's listings.

Each file system has a rules module, fs_<name>.py, with:
  FSSTAT_TYPES  "File System Type:" values of fsstat that mean this file system
  LOST_FOLDER   a compiled pattern of our top-level lost-files folder names (or None)
  TOOL_ONLY     the --only list for make-images.sh (images built once into WORK/made)
  TOOL_IMAGES   whole-volume images among them
  LAYOUT_FS     first words (lower case) of the fs column in the disks' *.layout.tsv that mean this file system
  KNOWN         {(case, oracle path): reason} for deliberate differences
  KNOWN_CASES   {case: reason} for whole volumes that differ on purpose
and may define:
  wanted(entry)             whether an oracle entry is compared (default: regular files and folders
                            outside "$" system files, without named streams)
  our_path(entry)           the path we are expected to list for an oracle entry (default: its path)
  extra_sections(text)      further (offset, entries) lists of an oracle file, e.g. a second tool's
"""
import glob
import gzip
import importlib
import os
import re
import shutil
import subprocess
import zipfile

MAX_IMAGE = 600 << 20
HERE = os.path.dirname(os.path.abspath(__file__))


def load_rules(fs):
    import sys
    if HERE not in sys.path:
        sys.path.insert(0, HERE)
    return importlib.import_module("fs_" + fs)


def rule(rules, name, default):
    return getattr(rules, name, default)


def default_wanted(entry):
    parts = entry["path"].split("/")
    if entry["kind"] not in ("r", "d"):
        return False
    if ":" in parts[-1]:
        return False  # a named stream
    if parts[0] == "$OrphanFiles":
        return not re.match(r"^OrphanFile-\d+$", parts[-1])
    return not any(p.startswith("$") for p in parts)


def parse_long_form(block):
    for line in block.splitlines():
        m = re.match(r"^(\S)/(\S) (\* )?([^:]+):\t(.*)$", line)
        if not m:
            continue
        kind, deleted, fields = m.group(2), bool(m.group(3)), m.group(5).split("\t")
        if len(fields) < 6:
            continue
        path = fields[0]
        realloc = m.group(4).endswith("(realloc)")  # the name's inode now belongs to another file
        if path.endswith(" (realloc)"):
            realloc = True
            path = path[: -len(" (realloc)")]
        yield {"kind": kind, "deleted": deleted, "realloc": realloc, "path": path, "size": int(fields[5]),
               "addr": m.group(4), "mtime": fields[1]}


def parse_md5(section):
    """{path: (md5, size, deleted)} of a section's "content md5" block."""
    block = re.search(r"^### content md5.*?\n(.*?)(?=^### |^## |\Z)", section, flags=re.M | re.S)
    out = {}
    if not block:
        return out
    for line in block.group(1).splitlines():
        cols = line.split("\t")
        if len(cols) >= 5 and re.match(r"^[0-9a-f]{32}$", cols[0]):
            out["\t".join(cols[4:])] = (cols[0], int(cols[1]), cols[2] == "yes")
    return out


def parse_oracle(text, rules):
    """Yields (offset, entries, md5s) for each section of an oracle listing that holds the file system."""
    sections = re.split(r"^## ", text, flags=re.M)[1:]
    for section in sections:
        m = re.search(r"\(sector offset (\d+)\)", section.splitlines()[0])
        offset = int(m.group(1)) if m else 0
        fsstat = re.search(r"^### fsstat.*?\n(.*?)(?=^### )", section, flags=re.M | re.S)
        if not fsstat:
            continue
        kind = re.search(r"File System Type: (\S+)", fsstat.group(1))
        if not kind or kind.group(1) not in rules.FSSTAT_TYPES:
            continue
        long_form = re.search(r"^### fls -r -p -l.*?\n(.*?)(?=^### |\Z)", section, flags=re.M | re.S)
        if not long_form:
            continue
        yield offset, list(parse_long_form(long_form.group(1))), parse_md5(section)
    extra = rule(rules, "extra_sections", None)
    if extra:
        for offset, entries in extra(text):
            yield offset, entries, {}


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


def corpus_cases(corpus, rules, work):
    """(case name, image path, offset, entries, md5s) for the corpus volumes of the file system."""
    for listing in sorted(glob.glob(os.path.join(corpus, "**", "*.fls.txt"), recursive=True)):
        with open(listing, encoding="utf-8", errors="replace") as f:
            text = f.read()
        source = listing[: -len(".fls.txt")]
        name = os.path.relpath(source, corpus)
        # Images of different sources share base names ("image"): each is unpacked into its own folder.
        sub = os.path.join(work, "unpacked", os.path.dirname(name))
        os.makedirs(sub, exist_ok=True)
        for offset, entries, md5s in parse_oracle(text, rules):
            image = unpack(source, sub)
            if image is None:
                print("skip %s: image not found or too large" % name)
                continue
            yield "%s@%d" % (name, offset), image, offset, entries, md5s


def read_manifest(path, prefix=""):
    """{path: (sha256, size, deleted, note)} of a make-images manifest, for paths under prefix."""
    out = {}
    if not os.path.isfile(path):
        return out
    for line in open(path, encoding="utf-8"):
        cols = line.rstrip("\n").split("\t")
        if len(cols) < 4 or cols[0] == "path" or cols[1] == "-":
            continue
        p = cols[0]
        if prefix:
            if not p.startswith(prefix):
                continue
            p = p[len(prefix):]
        out[p] = (cols[2], int(cols[1]), cols[3] == "yes", cols[4] if len(cols) > 4 else "")
    return out


def tool_cases(tools, rules, work):
    """(case name, image path, offset, entries, manifest) for the volumes of the shared image builder."""
    script = os.path.join(tools, "make-images.sh")
    if not os.path.isfile(script) or os.geteuid() != 0 or not shutil.which("fls"):
        return
    out = os.path.join(work, "made")
    os.makedirs(out, exist_ok=True)
    wanted_images = list(rules.TOOL_IMAGES) + ["disk-mbr.img", "disk-gpt.img"]
    missing = [n for n in rules.TOOL_ONLY.split(",") if n and not os.path.exists(os.path.join(out, n + ".img"))]
    if missing:
        r = subprocess.run([script, out, "--only", ",".join(missing)], stdout=subprocess.DEVNULL,
                           stderr=subprocess.PIPE, text=True)
        if r.returncode != 0:
            print("note: make-images.sh failed, its images are not compared:", r.stderr.strip()[-300:])
            return
    volumes = [(n, 0, "") for n in rules.TOOL_IMAGES]
    for disk in ("disk-mbr.img", "disk-gpt.img"):
        layout = os.path.join(out, disk + ".layout.tsv")
        if os.path.isfile(layout):
            for line in open(layout):
                cols = line.rstrip("\n").split("\t")
                fs = cols[4].lower().split(" ")[0] if len(cols) >= 5 else ""
                if fs in rules.LAYOUT_FS and cols[1].isdigit():
                    volumes.append((disk, int(cols[1]), "p%s:" % cols[0]))
    for name, offset, prefix in volumes:
        image = os.path.join(out, name)
        if not os.path.isfile(image):
            continue
        r = subprocess.run(["fls", "-r", "-p", "-l", "-z", "UTC", "-o", str(offset), image],
                           stdout=subprocess.PIPE, text=True, errors="replace")
        if r.returncode == 0:
            manifest = read_manifest(image + ".manifest.tsv", prefix)
            yield "tools/%s@%d" % (name, offset), image, offset, list(parse_long_form(r.stdout)), manifest


def command_line():
    """(args, rules, cases) of a comparison's command line; cases are (name, image, offset, entries,
    sums, kind) with sums the MD5s of the corpus (kind "md5") or the manifest's sha256 (kind "sha256")."""
    import argparse
    ap = argparse.ArgumentParser()
    ap.add_argument("--cli", required=True)
    ap.add_argument("--fs", required=True, choices=["ntfs", "fat", "ext2"])
    ap.add_argument("--work", required=True)
    ap.add_argument("--corpus")
    ap.add_argument("--tools")
    args = ap.parse_args()
    rules = load_rules(args.fs)
    os.makedirs(args.work, exist_ok=True)
    cases = []
    if args.corpus and os.path.isdir(args.corpus):
        cases += [c + ("md5",) for c in corpus_cases(args.corpus, rules, args.work)]
    if args.tools and os.path.isdir(args.tools):
        cases += [c + ("sha256",) for c in tool_cases(args.tools, rules, args.work)]
    return args, rules, cases
