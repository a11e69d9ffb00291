#!/usr/bin/env python3
"""Draws the eight 16x16 toolbar pictures of the resource database as PNG files.

Each picture is drawn as text art, one character per pixel; the palette maps characters to
RGBA colours ('.' is transparent). The PNGs carry no time stamp, so running this again gives
byte-identical files. Usage: scripts/make_icons.py [output folder, default data/resources/icons]
"""
import os
import struct
import sys
import zlib

PALETTE = {
    ".": (0, 0, 0, 0),
    "k": (40, 40, 40, 255),  # outline
    "g": (128, 128, 128, 255),  # grey body
    "l": (200, 200, 200, 255),  # light grey
    "w": (255, 255, 255, 255),  # paper
    "b": (30, 90, 200, 255),  # blue arrow
    "B": (120, 170, 240, 255),  # light blue
    "G": (30, 150, 60, 255),  # green
    "r": (200, 40, 40, 255),  # red
    "o": (240, 160, 30, 255),  # orange
    "y": (250, 220, 90, 255),  # yellow
    "p": (230, 150, 150, 255),  # pink (eraser)
}

ICONS = {
    # An arrow going down into the device.
    "ICO_STORE_TO_DEVICE": [
        "......bbbb......",
        "......bbbb......",
        "......bbbb......",
        "......bbbb......",
        "...bbbbbbbbbb...",
        "....bbbbbbbb....",
        ".....bbbbbb.....",
        "......bbbb......",
        ".......bb.......",
        "................",
        "kkkkkkkkkkkkkkkk",
        "kgggggggggggggGk",
        "kglllllllllllggk",
        "kgggggggggggggGk",
        "kkkkkkkkkkkkkkkk",
        "................",
    ],
    # An arrow coming up out of the device.
    "ICO_LOAD_FROM_DEVICE": [
        ".......bb.......",
        "......bbbb......",
        ".....bbbbbb.....",
        "....bbbbbbbb....",
        "...bbbbbbbbbb...",
        "......bbbb......",
        "......bbbb......",
        "......bbbb......",
        "......bbbb......",
        "................",
        "kkkkkkkkkkkkkkkk",
        "kgggggggggggggGk",
        "kglllllllllllggk",
        "kgggggggggggggGk",
        "kkkkkkkkkkkkkkkk",
        "................",
    ],
    # A parameter tree: a root with three branches.
    "ICO_TREE": [
        "kkkkk...........",
        "kyyyk...........",
        "kkkkk...........",
        "..k.............",
        "..k...kkkkk.....",
        "..kkkkkBBBk.....",
        "..k...kkkkk.....",
        "..k.............",
        "..k...kkkkk.....",
        "..kkkkkBBBk.....",
        "..k...kkkkk.....",
        "..k.............",
        "..k...kkkkk.....",
        "..kkkkkBBBk.....",
        "......kkkkk.....",
        "................",
    ],
    # A sheet of values in rows and columns.
    "ICO_CSV": [
        "kkkkkkkkkkkkkk..",
        "kGGGGkGGGGkGGGk.",
        "kkkkkkkkkkkkkkk.",
        "kwwwwkwwwwkwwwk.",
        "kwggwkwgggkwgwk.",
        "kkkkkkkkkkkkkkk.",
        "kwwwwkwwwwkwwwk.",
        "kwgwwkwggwkwggk.",
        "kkkkkkkkkkkkkkk.",
        "kwwwwkwwwwkwwwk.",
        "kwggwkwgwwkwgwk.",
        "kkkkkkkkkkkkkkk.",
        "kwwwwkwwwwkwwwk.",
        "kwgwwkwgggkwggk.",
        "kkkkkkkkkkkkkkk.",
        "................",
    ],
    # A page with the angle brackets of markup.
    "ICO_TB_EXPORTXML": [
        "kkkkkkkkkk......",
        "kwwwwwwwwkk.....",
        "kwwwwwwwwkwk....",
        "kwwwwwwwwkkkk...",
        "kwwwwwwwwwwwk...",
        "kwwwwwwwwwwwk...",
        "kwwowwwwwowwk...",
        "kwowwwwrwwowk...",
        "kowwwwwrwwwok...",
        "kwowwwrwwwowk...",
        "kwwowwrwwowwk...",
        "kwwwwwwwwwwwk...",
        "kwwwwwwwwwwwk...",
        "kwwwwwwwwwwwk...",
        "kkkkkkkkkkkkk...",
        "................",
    ],
    # An eraser wiping the trend area clean.
    "ICO_BLANK": [
        "................",
        "..........kkk...",
        ".........kpppk..",
        "........kpppppk.",
        ".......kpppppk..",
        "......kpppppk...",
        ".....kwkpppk....",
        "....kwwwkpk.....",
        "...kwwwwwk......",
        "..kwwwwwk.......",
        "...kwwwk........",
        "....kwk.........",
        ".....k..........",
        "................",
        "kkkkkkkkkkkkkkkk",
        "................",
    ],
    # A trend line framed by four corners pointing outwards: fit to everything seen.
    "ICO_AUTO": [
        "kkkkk......kkkkk",
        "kk............kk",
        "k.k..........k.k",
        "k..............k",
        "k..............k",
        "............r...",
        "...........r.r..",
        "..r.......r...r.",
        ".r.r.....r......",
        "r...r...r.......",
        ".....r.r.......k",
        "k.....r........k",
        "k..............k",
        "k.k..........k.k",
        "kk............kk",
        "kkkkk......kkkkk",
    ],
    # A pencil: values entered by hand.
    "ICO_PARAM_DIFFERENT": [
        "............kk..",
        "...........kppk.",
        "..........kpppk.",
        ".........klkpk..",
        "........kyykk...",
        ".......kyyyk....",
        "......kyyyk.....",
        ".....kyyyk......",
        "....kyyyk.......",
        "...kyyyk........",
        "..kwyyk.........",
        "..kwwk..........",
        ".kkkk...........",
        ".kk.............",
        "................",
        "................",
    ],
}


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def png(rows):
    height, width = len(rows), len(rows[0])
    raw = bytearray()
    for row in rows:
        if len(row) != width:
            raise ValueError("ragged picture row: " + row)
        raw.append(0)  # filter type none
        for c in row:
            raw.extend(PALETTE[c])
    ihdr = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + chunk(b"IDAT", zlib.compress(bytes(raw), 9))
            + chunk(b"IEND", b""))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "data", "resources", "icons")
    os.makedirs(out, exist_ok=True)
    for key, rows in ICONS.items():
        if len(rows) != 16 or len(rows[0]) != 16:
            raise ValueError(key + " is not 16x16")
        with open(os.path.join(out, key + ".png"), "wb") as f:
            f.write(png(rows))


if __name__ == "__main__":
    main()
