#!/usr/bin/env python3
"""Draws the application icon: the board's ladybird on a green board tile.

The design is a 16 x 16 pixel grid in the colours of the board sprites; every size is an exact
multiple of it, scaled with nearest neighbour so the pixels stay crisp.
Standard library only.

Usage: tools/make_icon.py [repository-root]   (default: the repository that holds this script)
Writes resources/icons/hicolor/<n>x<n>/apps/vornick.png for each size.
"""

import struct
import sys
import zlib
from pathlib import Path

DESIGN = [
    ".DDDDDDDDDDDDDD.",
    "DLLLLLLLLLLLLLLD",
    "DLGGkGGGGGGkGGSD",
    "DLGGGkGGGGkGGGSD",
    "DLGGGGhhhhGGGGSD",
    "DLGGGhwhhwhGGGSD",
    "DLGGkhhhhhhkGGSD",
    "DLGGGrlRRrrGGGSD",
    "DLGGrlrRRrrrGGSD",
    "DLGkrkrRRrkrkGSD",
    "DLGGrrrRRrrrGGSD",
    "DLGkrrkRRkrrkGSD",
    "DLGGrrrRRrrrGGSD",
    "DLGGGrrRRrrGGGSD",
    "DLSSSSSSSSSSSSSD",
    ".DDDDDDDDDDDDDD.",
]

PALETTE = {
    ".": (0, 0, 0, 0),
    "D": (0, 60, 8, 255),  # tile edge
    "L": (40, 168, 52, 255),  # lit side of the tile
    "G": (0, 128, 17, 255),  # the board's green
    "S": (0, 86, 12, 255),  # shaded side of the tile
    "k": (22, 20, 18, 255),  # legs, antennae, spots
    "h": (40, 36, 34, 255),  # head
    "w": (250, 250, 240, 255),  # eyes
    "r": (214, 40, 32, 255),  # shell
    "R": (150, 22, 18, 255),  # shell shade, down the middle
    "l": (255, 140, 120, 255),  # shell highlight
}

SIZES = (16, 32, 48, 64, 128, 256)


def png_chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def encode_png(rows, size):
    """rows: size lists of size RGBA tuples."""
    raw = bytearray()
    for row in rows:
        raw.append(0)  # no filter
        for pixel in row:
            raw.extend(pixel)
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (
        b"\x89PNG\r\n\x1a\n"
        + png_chunk(b"IHDR", header)
        + png_chunk(b"IDAT", zlib.compress(bytes(raw), 9))
        + png_chunk(b"IEND", b"")
    )


def scaled(size):
    base = len(DESIGN)
    factor = size // base
    return [[PALETTE[DESIGN[y // factor][x // factor]] for x in range(size)] for y in range(size)]


def check_design():
    base = len(DESIGN)
    for row in DESIGN:
        if len(row) != base or any(c not in PALETTE for c in row):
            raise SystemExit(f"bad design row: {row!r}")
    for size in SIZES:
        if size % base:
            raise SystemExit(f"{size} is not a multiple of {base}")


def main():
    check_design()
    root = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent
    for size in SIZES:
        out = root / "resources" / "icons" / "hicolor" / f"{size}x{size}" / "apps" / "vornick.png"
        out.parent.mkdir(parents=True, exist_ok=True)
        out.write_bytes(encode_png(scaled(size), size))
        print(out)


if __name__ == "__main__":
    main()
