"""Oracle rules for NTFS volumes (see oracle_cases.py)."""
import re

FSSTAT_TYPES = ("NTFS",)
LOST_FOLDER = re.compile(r"^LostFiles\d+$")
TOOL_ONLY = "ntfs,disk-mbr"
TOOL_IMAGES = ("ntfs.img",)
LAYOUT_FS = ("ntfs",)

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

# Recovered contents that differ on purpose, by (case name, oracle path).
KNOWN_CONTENT = {
    ("tools/ntfs.img@0", "Documents/notes (hardlink).txt"):
        "a hard link: its bytes are recovered once, under the record's Win32 name (Documents/notes.txt)",
    ("tools/disk-mbr.img@43008", "Documents/notes (hardlink).txt"):
        "a hard link: its bytes are recovered once, under the record's Win32 name (Documents/notes.txt)",
}
