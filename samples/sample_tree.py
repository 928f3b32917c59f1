#!/usr/bin/env python3
"""The sample volume's files: written by us, deterministic.

sample_tree.py DIR             writes the tree into DIR
sample_tree.py --manifest DIR  prints the manifest of DIR (path size sha256 deleted)
sample_tree.py --deleted       prints the paths that the sample deletes after writing
"""
import hashlib
import os
import struct
import sys
import zlib

DELETED = ["Documents/Letters", "Pictures/harbour.bmp", "Data/old-prices.csv"]

NOTES = """Keldrin sample volume
=====================

This small volume exists so that the recovery tool has something to find.
Some files were deleted after they were written; the manifest beside the
image lists every file with its size and checksum, and says which ones are
gone from the folders but should still be recoverable.
"""

LETTER = """Dear reader,

this is letter number {n}. It was written to a folder that was deleted
afterwards, together with its siblings. A recovery tool should bring the
whole folder back, with every letter intact, byte for byte.

{pad}
Kind regards,
the sample builder
"""


def bmp(width, height):
    row = (width * 3 + 3) & ~3
    pixels = bytearray()
    for y in range(height):
        line = bytearray()
        for x in range(width):
            line += bytes(((x * 255) // width, (y * 255) // height, 128))
        line += b"\0" * (row - width * 3)
        pixels += line
    header = b"BM" + struct.pack("<IHHI", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    return header + info + bytes(pixels)


def csv(rows, seed):
    lines = ["item,price,stock"]
    for i in range(rows):
        lines.append("item-%04d,%d.%02d,%d" % (i, (i * seed) % 97, (i * 7) % 100, (i * 13 + seed) % 50))
    return ("\n".join(lines) + "\n").encode()


def pattern(size, seed):
    out = bytearray()
    counter = 0
    while len(out) < size:
        out += zlib.crc32(struct.pack("<II", seed, counter)).to_bytes(4, "little")
        counter += 1
    return bytes(out[:size])


def files():
    yield "readme.txt", NOTES.encode()
    yield "Documents/notes.txt", (NOTES * 3).encode()
    yield "Documents/empty.txt", b""
    for n in range(1, 4):
        yield "Documents/Letters/letter-%d.txt" % n, LETTER.format(n=n, pad="." * (n * 700)).encode()
    yield "Pictures/harbour.bmp", bmp(96, 64)
    yield "Pictures/tiny.bmp", bmp(8, 8)
    yield "Data/prices.csv", csv(300, 11)
    yield "Data/old-prices.csv", csv(200, 5)
    yield "Data/pattern.bin", pattern(6000, 1)
    yield "Data/Deep/er/still/leaf.txt", b"a leaf at the bottom of a deep folder chain\n"


def write(root):
    for path, data in files():
        full = os.path.join(root, path)
        os.makedirs(os.path.dirname(full), exist_ok=True)
        with open(full, "wb") as f:
            f.write(data)


def is_deleted(path):
    return any(path == d or path.startswith(d + "/") for d in DELETED)


def manifest(root):
    print("path\tsize\tsha256\tdeleted")
    entries = []
    for dirpath, dirnames, filenames in os.walk(root):
        for d in dirnames:
            entries.append((os.path.relpath(os.path.join(dirpath, d), root) + "/", None))
        for f in filenames:
            entries.append((os.path.relpath(os.path.join(dirpath, f), root), os.path.join(dirpath, f)))
    for rel, full in sorted(entries):
        deleted = "yes" if is_deleted(rel.rstrip("/")) else "no"
        if full is None:
            print("%s\t-\t-\t%s" % (rel, deleted))
        else:
            data = open(full, "rb").read()
            print("%s\t%d\t%s\t%s" % (rel, len(data), hashlib.sha256(data).hexdigest(), deleted))


if __name__ == "__main__":
    if sys.argv[1:] == ["--deleted"]:
        print("\n".join(DELETED))
    elif len(sys.argv) == 3 and sys.argv[1] == "--manifest":
        manifest(sys.argv[2])
    elif len(sys.argv) == 2:
        write(sys.argv[1])
    else:
        sys.exit(__doc__)
