"""Oracle rules for Ext2/3 volumes (see oracle_cases.py)."""
import re

FSSTAT_TYPES = ("Ext2", "Ext3")
# Inodes that no folder names are listed under the root as "Inode_<number>", not in a folder.
LOST_FOLDER = None
TOOL_ONLY = "ext2,ext3,disk-mbr,disk-gpt"
TOOL_IMAGES = ("ext2.img", "ext3.img")
LAYOUT_FS = ("ext2", "ext3")

# Differences made on purpose, by (case name, oracle path): the reason is printed, not hidden.
_HARDLINK = "a hard link: one inode with two names gives one node, under the name its folder gives it last"
_TWICE = ("inode 267 is named by two deleted entries (the filler, then Fragmented/frag-deleted.bin that "
          "reused the inode and was deleted in turn): one inode is one node, under the deleted name found "
          "first (in the folder of lower inode number)")
KNOWN = {}
for _case in ("tools/ext2.img@0", "tools/disk-mbr.img@86016", "tools/ext3.img@0", "tools/disk-gpt.img@75776"):
    KNOWN[(_case, "Documents/notes (hardlink).txt")] = _HARDLINK
    KNOWN[(_case, "Fragmented/fill/fill03.bin")] = _TWICE

# Whole volumes that differ on purpose.
KNOWN_CASES = {
    "dftt/10-ntfs-autodetect/10-ntfs-disk.dd@63":
        "the volume carries an NTFS boot sector as well as an Ext2 superblock: NTFS is tried first and wins",
    "dftt/10-ntfs-autodetect/10-ntfs-part1.dd@0":
        "the volume carries an NTFS boot sector as well as an Ext2 superblock: NTFS is tried first and wins",
    "e2fsprogs/f_zero_super/image@0":
        "the primary superblock is zeroed: the volume is not recognised at sector 2 (debugfs needed -s 8193)",
}

_DEBUGFS = re.compile(r"^## second opinion \(ext2/3\).*?\n(.*?)(?=^## |\Z)", re.M | re.S)


def extra_sections(text):
    """The debugfs listing of an image that TSK could not read (revision-0 e2fsprogs images)."""
    if "## TSK recognised no file system" not in text:
        return
    m = _DEBUGFS.search(text)
    if not m:
        return
    entries = []
    for line in m.group(1).splitlines():
        if line.startswith("#") or not line.strip():
            continue
        deleted = line.startswith("[DELETED] ")
        if deleted:
            line = line[len("[DELETED] "):]
        cols = line.split("\t")
        if len(cols) < 4 or not cols[0].isdigit():
            continue
        mode = int(cols[1], 8) if re.match(r"^[0-7]+$", cols[1]) else 0
        kind = {0o040000: "d", 0o100000: "r"}.get(mode & 0o170000, "-")
        if "[directory loop" in line:
            continue
        size = int(cols[2]) if cols[2].isdigit() else 0
        entries.append({"kind": kind, "deleted": deleted, "realloc": False, "path": cols[3].lstrip("/"),
                         "size": size, "addr": cols[0], "mtime": ""})
    if entries:
        yield 0, entries


def wanted(entry):
    """The default choice, less the names whose inode now belongs to another file: TSK marks
    those "(realloc)" after the inode number, where the long-form parser does not look."""
    from oracle_cases import default_wanted
    return default_wanted(entry) and not entry["addr"].endswith("(realloc)")
