"""Oracle rules for FAT12/16/32 volumes (see oracle_cases.py)."""
import re

FSSTAT_TYPES = ("FAT12", "FAT16", "FAT32")
LOST_FOLDER = None  # the quick build lists only what the folders reach
TOOL_ONLY = "fat12,fat16,fat32,disk-mbr,disk-gpt"
TOOL_IMAGES = ("fat12.img", "fat16.img", "fat32.img")
LAYOUT_FS = ("fat16", "fat32", "fat12", "vfat", "fat")

_LABEL = " (Volume Label Entry)"
_ORPHANS = "$OrphanFiles/"
_EMPTY_DELETED = "an empty deleted folder: the quick build drops deleted folders left without children"
_LONG_247 = ("TSK hangs these under the 247-character folder; the image author's listing (fat32_full_test.txt) "
             "has them under the 248-character one, as we do")
_ONES = "1" * 247


class _Known(dict):
    """Deliberate differences; label entries are one rule for every volume."""

    def __contains__(self, key):
        return dict.__contains__(self, key) or key[1].endswith(_LABEL) or key[1].startswith(_ORPHANS)

    def __getitem__(self, key):
        if dict.__contains__(self, key):
            return dict.__getitem__(self, key)
        if key[1].startswith(_ORPHANS):
            return ("found by a scan of clusters no folder reaches: the quick build lists what the folders "
                    "hold (the complete build scans)")
        return "a volume-label entry: it names the volume (or is stray in a folder), it is no file"


KNOWN = _Known({
    ("dftt/9-fat-label/9-fat-label.dd@0", "New Folder"): _EMPTY_DELETED,
    ("dfir_ntfs/fat16_moved.raw@0", "test/1/_1"): _EMPTY_DELETED + " (its cluster now holds test/2/11)",
    ("dfir_ntfs/fat_noloop.raw@0", "_"): _EMPTY_DELETED,
    ("dfir_ntfs/fat32_full_test.raw@0", "111111/s1/s2/d3"): _EMPTY_DELETED,
    ("dfir_ntfs/fat32_full_test.raw@0", "dd"): _EMPTY_DELETED,
    ("dfir_ntfs/fat32_full_test.raw@0", _ONES + "/.привет.txt.swp"): _LONG_247,
    ("dfir_ntfs/fat32_full_test.raw@0", _ONES + "/привет.txt"): _LONG_247,
})
KNOWN_CASES = {}


def our_path(entry):
    """TSK shows the lost first letter of a deleted 8.3 name as "_", we show "#"."""
    if not entry["deleted"]:
        return entry["path"]
    parts = entry["path"].split("/")
    parts = ["#" + p[1:] if re.match(r"^_[^ .]{0,7}(\.[^ .]{1,3})?$", p) else p for p in parts]
    return "/".join(parts)
