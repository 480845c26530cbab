#!/usr/bin/env python3
"""Writes data/JWsxf.dat: the SXF colour and line type block that every JWW file carries.

The content is Jw_cad's standard table (screen colours, printer colours, line type patterns,
line type parameters). The block is copied unchanged into every written file, so it must be
exactly one block: tests/jww/sxf_data_test.cpp compares it with the block of a real file.

    python3 scripts/make_sxf_data.py [output]     (default: data/JWsxf.dat beside this script)
"""
import os
import struct
import sys

# Colours 1..16: name and colour 0x00BBGGRR. 0 is unnamed black, 17..32 unnamed light grey,
# 33..256 unnamed black.
NAMED_COLOURS = [
    ("black", 0x000000), ("red", 0x0000FF), ("green", 0x00FF00), ("blue", 0xFF0000),
    ("yellow", 0x00FFFF), ("magenta", 0xFF00FF), ("cyan", 0xFFFF00), ("white", 0xFFFFFF),
    ("deeppink", 0x8000C0), ("brown", 0x4080C0), ("orange", 0x0080FF), ("lightgreen", 0x80C080),
    ("lightblue", 0xFF8000), ("lavender", 0xFF4080), ("lightgray", 0xC0C0C0), ("darkgray", 0x808080),
]
COLOUR_ENTRIES = 257
COLOUR_WIDTH = 18
POINT_RADIUS = 0.18

# Line types 1..16: name, bit pattern, dots per unit, pitch, printer pitch, segment lengths (mm).
NAMED_LINE_TYPES = [
    ("continuous", 0xFFFFFFFF, 32, 1, 10, []),
    ("dashed", 0xFE3FFE3F, 16, 1, 15, [6, 1.5]),
    ("dashed spaced", 0xF00FF00F, 16, 1, 24, [6, 6]),
    ("long dashed dotted", 0xFFFBBFFF, 32, 1, 15, [12, 1.5, 0.25, 1.5]),
    ("long dashed double-dotted", 0xFFEEEFFF, 32, 1, 17, [12, 1.5, 0.25, 1.5, 0.25, 1.5]),
    ("long dashed triplicate-dotted", 0xFFBBBBFF, 32, 1, 19, [12, 1.5, 0.25, 1.5, 0.25, 1.5, 0.25, 1.5]),
    ("dotted", 0x10101010, 8, 1, 7, [0.25, 1.5]),
    ("chain", 0xFFFDBFFF, 32, 1, 19, [12, 1.5, 3.5, 1.5]),
    ("chain double dash", 0xFFF6DFFF, 32, 1, 24, [12, 1.5, 3.5, 1.5, 3.5, 1.5]),
    ("dashed dotted", 0xFFE083FF, 32, 1, 9, [6, 1.5, 0.25, 1.5]),
    ("double-dashed dotted", 0xFC7FF11F, 32, 1, 17, [6, 1.5, 6, 1.5, 0.25, 1.5]),
    ("dashed double-dotted", 0xFF8421FF, 32, 1, 11, [6, 1.5, 0.25, 1.5, 0.25, 1.5]),
    ("double-dashed double-dotted", 0xF8FF888F, 32, 1, 19, [6, 1.5, 6, 1.5, 0.25, 1.5, 0.25, 1.5]),
    ("dashed triplicate-dotted", 0xFE10843F, 32, 1, 13, [6, 1.5, 0.25, 1.5, 0.25, 1.5, 0.25, 1.5]),
    ("double-dashed triplicate-dotted", 0xF9FF249F, 32, 1, 20,
     [6, 1.5, 6, 1.5, 0.25, 1.5, 0.25, 1.5, 0.25, 1.5]),
    ("undefined", 0xFFFFFFFF, 32, 1, 10, []),
]
# Line types 17..32 are unnamed, pattern 0, pitch 1, printer pitch 10; only dots per unit vary.
USER_LINE_TYPE_DOTS = [32, 16, 16, 32, 32, 32, 8, 32, 32, 32, 32, 32, 32, 32, 32, 32]
SEGMENT_SLOTS = 10


def short_string(text):
    data = text.encode("ascii")
    assert len(data) < 255
    return bytes([len(data)]) + data


def colour(n):
    if 1 <= n <= len(NAMED_COLOURS):
        return NAMED_COLOURS[n - 1]
    if 17 <= n <= 32:
        return ("", 0xC0C0C0)
    return ("", 0)


def line_type(n):
    if n == 0:
        return ("", 0, 0, 0, 0, [])
    if n <= len(NAMED_LINE_TYPES):
        return NAMED_LINE_TYPES[n - 1]
    return ("", 0, USER_LINE_TYPE_DOTS[n - 17], 1, 10, [])


def block():
    out = bytearray()
    for n in range(COLOUR_ENTRIES):  # A: screen colours
        out += struct.pack("<II", colour(n)[1], COLOUR_WIDTH)
    for n in range(COLOUR_ENTRIES):  # B: printer colours
        name, value = colour(n)
        out += short_string(name) + struct.pack("<IId", value, COLOUR_WIDTH, POINT_RADIUS)
    types = [line_type(n) for n in range(33)]
    for _, pattern, dots, pitch, printer_pitch, _ in types:  # C: line type patterns
        out += struct.pack("<IIII", pattern, dots, pitch, printer_pitch)
    for name, _, _, _, _, segments in types:  # D: line type parameters
        lengths = [float(s) for s in segments] + [0.0] * (SEGMENT_SLOTS - len(segments))
        out += short_string(name) + struct.pack("<I", len(segments)) + struct.pack("<10d", *lengths)
    return bytes(out)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.normpath(os.path.join(here, "..", "data", "JWsxf.dat"))
    data = block()
    with open(target, "wb") as f:
        f.write(data)
    print(f"{target}: {len(data)} bytes")


if __name__ == "__main__":
    main()
