#!/usr/bin/env python3
"""Writes the palette's arrow icons, bitmaps 1 to 8, as .bmp files.

Each icon is a 15 x 15 one-bit bitmap holding one solid black triangle on
white. The shapes are given as runs of black pixels per row (rows and columns
counted from 0 at the top left). The files carry a two-byte pad after the
pixel rows, so that the resource compiler, which drops the 14-byte file
header, stores 110 bytes per icon.

Usage: make_arrow_bitmaps.py [output folder]   (default: this script's folder)
       make_arrow_bitmaps.py --check [folder]  (exit 1 when a file differs)
"""
import os
import struct
import sys

SIZE = 15
ROW_BYTES = 4  # 15 pixels at one bit, padded to 32 bits
TRAILING_PAD = b"\x00\x00"
PIXELS_PER_METRE = 2834


def runs_from_left(first_row, first_column, widths):
    return {first_row + i: (first_column, first_column + w - 1) for i, w in enumerate(widths)}


def runs_to_right(first_row, last_column, widths):
    return {first_row + i: (last_column - w + 1, last_column) for i, w in enumerate(widths)}


def runs_centred(first_row, centre_column, widths):
    return {first_row + i: (centre_column - w // 2, centre_column + w // 2) for i, w in enumerate(widths)}


# Bitmap id -> (file name, black runs per row as (first column, last column)).
ARROWS = {
    1: ("arrow_right.bmp", runs_from_left(3, 6, [1, 2, 3, 4, 5, 4, 3, 2, 1])),
    2: ("arrow_up_right.bmp", runs_to_right(4, 10, [7, 6, 5, 4, 3, 2, 1])),
    3: ("arrow_up.bmp", runs_centred(4, 7, [1, 3, 5, 7, 9])),
    4: ("arrow_up_left.bmp", runs_from_left(4, 4, [7, 6, 5, 4, 3, 2, 1])),
    5: ("arrow_left.bmp", runs_to_right(3, 8, [1, 2, 3, 4, 5, 4, 3, 2, 1])),
    6: ("arrow_down_left.bmp", runs_from_left(4, 4, [1, 2, 3, 4, 5, 6, 7])),
    7: ("arrow_down.bmp", runs_centred(6, 7, [9, 7, 5, 3, 1])),
    8: ("arrow_down_right.bmp", runs_to_right(4, 10, [1, 2, 3, 4, 5, 6, 7])),
}


def pixel_row(run):
    """One row as 4 bytes, leftmost pixel in the top bit; 1 is black."""
    bits = 0
    if run is not None:
        first, last = run
        for column in range(first, last + 1):
            bits |= 1 << (31 - column)
    return struct.pack(">I", bits)


def bitmap_file(runs):
    info_header = struct.pack(
        "<IiiHHIIiiII",
        40,  # header size
        SIZE,  # width
        SIZE,  # height: positive, rows stored bottom-up
        1,  # planes
        1,  # bits per pixel
        0,  # no compression
        0,  # image size (may be 0 when uncompressed)
        PIXELS_PER_METRE,
        PIXELS_PER_METRE,
        0,  # colours used: all that the bit depth allows
        0,  # important colours
    )
    colour_table = bytes([0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x00])  # white, black
    rows = b"".join(pixel_row(runs.get(row)) for row in reversed(range(SIZE)))
    body = info_header + colour_table + rows + TRAILING_PAD
    pixel_offset = 14 + len(info_header) + len(colour_table)
    file_header = struct.pack("<2sIHHI", b"BM", 14 + len(body), 0, 0, pixel_offset)
    return file_header + body


def main(argv):
    check = "--check" in argv
    folders = [a for a in argv if a != "--check"]
    folder = folders[0] if folders else os.path.dirname(os.path.abspath(__file__))
    differing = []
    for name, runs in ARROWS.values():
        path = os.path.join(folder, name)
        data = bitmap_file(runs)
        if check:
            try:
                with open(path, "rb") as f:
                    if f.read() != data:
                        differing.append(name)
            except FileNotFoundError:
                differing.append(name)
        else:
            with open(path, "wb") as f:
                f.write(data)
    for name in differing:
        print(f"{name} differs from its shape table")
    return 1 if differing else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
