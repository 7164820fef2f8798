#!/usr/bin/env python3
"""Writes PelloLogo.bmp, the maker's logo of the About box (bitmap 16502):
90 x 39 pixels, 24-bit colour, uncompressed, bottom-up rows.

Usage: make_logo.py [output path]   (default: PelloLogo.bmp beside this script)
"""
import os
import struct
import sys

WIDTH, HEIGHT = 90, 39

WHITE = (255, 255, 255)
INK = (40, 44, 52)
TEAL_TOP = (20, 150, 160)
TEAL_BOTTOM = (10, 80, 110)

# 5 x 7 capitals for the maker's name.
GLYPHS = {
    "V": ["10001", "10001", "10001", "10001", "01010", "01010", "00100"],
    "E": ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    "L": ["10000", "10000", "10000", "10000", "10000", "10000", "11111"],
    "M": ["10001", "11011", "10101", "10101", "10001", "10001", "10001"],
    "O": ["01110", "10001", "10001", "10001", "10001", "10001", "01110"],
    "R": ["11110", "10001", "10001", "11110", "10100", "10010", "10001"],
    "A": ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
}


def blend(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def draw_logo():
    """Returns rows top to bottom of (r, g, b) pixels."""
    pixels = [[WHITE] * WIDTH for _ in range(HEIGHT)]

    # A square tile with a diagonal pattern, standing for the pattern fills
    # the palette shifts, and a white V cut into it.
    tile = HEIGHT
    for y in range(tile):
        shade = blend(TEAL_TOP, TEAL_BOTTOM, y / (tile - 1))
        for x in range(tile):
            stripe = (x + y) % 8 < 2
            pixels[y][x] = blend(shade, WHITE, 0.25) if stripe else shade
    for y in range(6, 33):
        half_gap = 13 - (y - 6) * 13 / 26
        for x in range(tile):
            offset = abs(x - 19)
            if half_gap - 2.5 <= offset <= half_gap + 0.5:
                pixels[y][x] = WHITE

    # The maker's name beside the tile, with a rule under it.
    x0, y0 = 44, 14
    for glyph in "VELMORA":
        for gy, row in enumerate(GLYPHS[glyph]):
            for gx, bit in enumerate(row):
                if bit == "1":
                    pixels[y0 + gy][x0 + gx] = INK
        x0 += 6
    for x in range(44, 86):
        pixels[y0 + 10][x] = TEAL_BOTTOM
    return pixels


def bmp_bytes(pixels):
    row_size = (WIDTH * 3 + 3) // 4 * 4
    image_size = row_size * HEIGHT
    header_size = 14 + 40
    file_header = struct.pack("<2sIHHI", b"BM", header_size + image_size, 0, 0, header_size)
    # BITMAPINFOHEADER: no compression, 2835 pixels per metre (72 dpi).
    info_header = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 24, 0, image_size, 2835, 2835, 0, 0)
    body = bytearray()
    for row in reversed(pixels):
        for r, g, b in row:
            body += bytes((b, g, r))
        body += bytes(row_size - WIDTH * 3)
    return file_header + info_header + bytes(body)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "PelloLogo.bmp")
    with open(out, "wb") as f:
        f.write(bmp_bytes(draw_logo()))


if __name__ == "__main__":
    main()
