#!/usr/bin/env python3
"""Writes the thirteen 10 x 10 board sprites, resources/sprites/128.png .. 140.png.

128..131 are the creature facing up, left, down and right; 132..139 are decorative extras;
140 is the ground tile. Every pixel is opaque. The bottom-left pixel is the board green, which
the renderer uses for plain cells, and so are the two top rows and the right-hand column: the
selection frame's lines fall there, and erasing them in the board green then leaves no trace.

Usage: tools/make_sprites.py [output-directory]   (default: resources/sprites beside tools/)
Standard library only.
"""

import os
import struct
import sys
import zlib

SIZE = 10
BOARD_GREEN = (0, 128, 17)

PALETTE = {
    ".": BOARD_GREEN,
    ",": (0, 112, 15),  # darker grass blade
    "k": (22, 20, 18),  # shell outline, legs, antennae
    "h": (40, 36, 34),  # head
    "w": (250, 250, 240),  # eyes
    "r": (214, 40, 32),  # shell
    "R": (150, 22, 18),  # shell shade
    "l": (255, 140, 120),  # shell highlight
    "d": (124, 84, 48),  # soil
    "D": (94, 60, 34),  # darker soil
    "e": (156, 112, 70),  # light soil
    "p": (178, 168, 150),  # pebble
    "y": (246, 214, 60),  # yellow petal
    "o": (236, 140, 40),  # flower centre
    "m": (232, 236, 250),  # pale petal
    "v": (150, 96, 200),  # violet petal
    "b": (86, 140, 230),  # blue petal
    "s": (240, 236, 220),  # mushroom stem
    "g": (128, 130, 134),  # stone
    "G": (94, 96, 100),  # stone shade
    "t": (0, 86, 12),  # shrub shade
    "T": (40, 168, 52),  # shrub light
}

# The creature facing up (toward the top of the cell): a ladybird with antennae and eyes at the
# head end, so its heading reads at a glance. The other headings are rotations of it. It and the
# ground tile, like every picture here, are 8 x 8, placed in the part of the cell that the frame
# leaves alone.
BEETLE_UP = [
    ".k....k.",
    "..whhw..",
    "k.hhhh.k",
    ".rlRRrr.",
    "krkRRkrk",
    ".rrRRrr.",
    "krkRRkrk",
    "..rRRr..",
]

GROUND = [
    ".dedddd.",
    "ddddpdDd",
    "dpdddddd",
    "ddDddedd",
    "dddddddp",
    "edpddDdd",
    "dddDdddd",
    ".ddddde.",
]

EXTRAS = [
    # 132: yellow flower
    [
        "...y....",
        "..yoy...",
        "...y....",
        "...,....",
        "...,.,..",
        "..,,,...",
        "...,....",
        "........",
    ],
    # 133: daisies
    [
        ".m......",
        "mom...m.",
        ".m...mom",
        ".,....m.",
        ".,....,.",
        "..,..,..",
        "........",
        "........",
    ],
    # 134: violet flower
    [
        "..v.v...",
        "...o....",
        "..v.v...",
        "...,....",
        "..,,....",
        "...,,...",
        "...,....",
        "........",
    ],
    # 135: blue bells
    [
        ".....b..",
        ".b..bbb.",
        "bbb..,..",
        ".,..,...",
        "..,,....",
        "...,....",
        "...,....",
        "........",
    ],
    # 136: mushroom
    [
        "..rrrr..",
        ".rrmrrr.",
        "rrrrrmrr",
        "...ss...",
        "...ss...",
        "..ssss..",
        "........",
        "........",
    ],
    # 137: stone
    [
        "........",
        "...ggg..",
        "..ggggG.",
        ".gggggGG",
        ".ggggGGG",
        "..GGGGG.",
        "........",
        "........",
    ],
    # 138: shrub
    [
        "..TTT...",
        ".TT,TTt.",
        "TT,TTTtt",
        "T,TTt,tt",
        ".TtTtttt",
        "..ttttt.",
        "....,...",
        "........",
    ],
    # 139: grass tufts
    [
        ",....,..",
        ",.,..,.,",
        ".,,...,,",
        "........",
        "...,....",
        "..,.,,..",
        "...,,...",
        "........",
    ],
]


def rotate_ccw(rows):
    """The image turned a quarter turn anticlockwise."""
    n = len(rows)
    return ["".join(rows[c][n - 1 - r] for c in range(n)) for r in range(n)]


def place(art):
    """An 8 x 8 picture in rows 2..9, columns 1..8 of a board-green cell."""
    return [".." * (SIZE // 2)] * 2 + ["." + row + "." for row in art]


def check(name, rows):
    if len(rows) != SIZE or any(len(r) != SIZE for r in rows):
        raise ValueError(f"{name}: not {SIZE} x {SIZE}")
    unknown = {ch for r in rows for ch in r} - PALETTE.keys()
    if unknown:
        raise ValueError(f"{name}: unknown colours {sorted(unknown)}")
    # Plain cells are drawn with the bottom-left texel of the last sprite bound.
    if rows[SIZE - 1][0] != ".":
        raise ValueError(f"{name}: bottom-left pixel must be board green")
    frame_texels = rows[0] + rows[1] + "".join(r[SIZE - 1] for r in rows)
    if set(frame_texels) != {"."}:
        raise ValueError(f"{name}: top two rows and right column must be board green")


def png_bytes(rows):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    raw = b"".join(b"\x00" + b"".join(bytes(PALETTE[ch]) for ch in row) for row in rows)
    header = struct.pack(">IIBBBBB", SIZE, SIZE, 8, 2, 0, 0, 0)  # 8-bit RGB, opaque
    return (
        b"\x89PNG\r\n\x1a\n"
        + chunk(b"IHDR", header)
        + chunk(b"IDAT", zlib.compress(raw, 9))
        + chunk(b"IEND", b"")
    )


def sprites():
    facing = [BEETLE_UP]
    for _ in range(3):  # up -> left -> down -> right, each a quarter turn anticlockwise
        facing.append(rotate_ccw(facing[-1]))
    images = [place(art) for art in facing + EXTRAS + [GROUND]]
    return {128 + i: rows for i, rows in enumerate(images)}


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    out = argv[1] if len(argv) > 1 else os.path.join(here, "..", "resources", "sprites")
    os.makedirs(out, exist_ok=True)
    for number, rows in sprites().items():
        check(str(number), rows)
        with open(os.path.join(out, f"{number}.png"), "wb") as f:
            f.write(png_bytes(rows))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
