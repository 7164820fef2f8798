#!/usr/bin/env python3
"""Draws the pictures of the user's guide into docs/user-guide/pictures/.

  - one SVG per palette button, drawn from the plug-in's own icon bitmaps
    (plugin/resources/arrow_*.bmp), each bitmap pixel a crisp square;
  - the "Untransform" push button, its text and size read from the dialog in
    plugin/resources/PelloPalette.rc;
  - the whole palette, as `pello-host palette` draws it;
  - before/after pictures of a pattern shift and a dash shift, drawn with
    `pello-host render`. Each click is first run on the plug-in through
    `pello-host run`, which checks the value the after picture shows, so a
    picture never shows something the plug-in does not do.

Usage: tools/make-guide-pictures.py [--host PATH] [--out DIR] [--buttons-only]

Uses the Python standard library only. The output is the same byte for byte
on every run, so the pictures can be committed and compared.
"""

import argparse
import json
import re
import struct
import subprocess
import sys
import tempfile
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
RESOURCES = ROOT / "plugin" / "resources"
RESOURCE_SCRIPT = RESOURCES / "PelloPalette.rc"
DEFAULT_HOST = ROOT / "build" / "ci" / "host" / "cli" / "pello-host"
DEFAULT_OUT = ROOT / "docs" / "user-guide" / "pictures"

# Picture name, icon bitmap, and what the button is. The dash buttons carry
# the left and right arrow icons.
BUTTONS = [
    ("arrow-up-left", "arrow_up_left.bmp", "Pattern arrow: up and left"),
    ("arrow-up", "arrow_up.bmp", "Pattern arrow: up"),
    ("arrow-up-right", "arrow_up_right.bmp", "Pattern arrow: up and right"),
    ("arrow-left", "arrow_left.bmp", "Pattern arrow: left"),
    ("arrow-right", "arrow_right.bmp", "Pattern arrow: right"),
    ("arrow-down-left", "arrow_down_left.bmp", "Pattern arrow: down and left"),
    ("arrow-down", "arrow_down.bmp", "Pattern arrow: down"),
    ("arrow-down-right", "arrow_down_right.bmp", "Pattern arrow: down and right"),
    ("dashes-back", "arrow_left.bmp", "Dashes: move back along the path"),
    ("dashes-forward", "arrow_right.bmp", "Dashes: move forward along the path"),
]

PIXEL = 4  # screen pixels per bitmap pixel
FACE = "#d4d0c8"
LIGHT_EDGE = "#ffffff"
DARK_EDGE = "#808080"
OUTLINE = "#404040"


class PictureError(Exception):
    pass


# --------------------------------------------------------------------------
# Bitmaps
# --------------------------------------------------------------------------

def read_bmp(path):
    """The pixels of an uncompressed 1-, 4- or 8-bit Windows bitmap file.

    Returns rows top to bottom, each a list of "#rrggbb" colours.
    """
    data = path.read_bytes()
    if len(data) < 54 or data[:2] != b"BM":
        raise PictureError(f"{path}: not a bitmap file")
    pixel_offset = struct.unpack_from("<I", data, 10)[0]
    header_size, width, height, _planes, bits, compression = struct.unpack_from("<IiiHHI", data, 14)
    if header_size < 40 or compression != 0 or bits not in (1, 4, 8) or width <= 0 or height == 0:
        raise PictureError(f"{path}: only uncompressed 1-, 4- and 8-bit bitmaps are drawn")
    colours_used = struct.unpack_from("<I", data, 46)[0] or (1 << bits)
    table = 14 + header_size
    if table + 4 * colours_used > len(data):
        raise PictureError(f"{path}: colour table runs past the end of the file")
    palette = []
    for index in range(colours_used):
        blue, green, red = data[table + 4 * index: table + 4 * index + 3]
        palette.append(f"#{red:02x}{green:02x}{blue:02x}")

    rows_count = abs(height)
    stride = (width * bits + 31) // 32 * 4
    if pixel_offset + stride * rows_count > len(data):
        raise PictureError(f"{path}: pixel rows run past the end of the file")
    mask = (1 << bits) - 1
    rows = []
    for y in range(rows_count):
        stored = rows_count - 1 - y if height > 0 else y  # positive height: bottom-up
        start = pixel_offset + stored * stride
        row = []
        for x in range(width):
            bit = x * bits
            index = (data[start + bit // 8] >> (8 - bits - bit % 8)) & mask
            if index >= len(palette):
                raise PictureError(f"{path}: pixel ({x}, {y}) has no colour in the table")
            row.append(palette[index])
        rows.append(row)
    return rows


def pixel_runs(rows, left, top, scale):
    """SVG rectangles for the pixels, one per horizontal run of one colour."""
    out = []
    for y, row in enumerate(rows):
        x = 0
        while x < len(row):
            end = x
            while end < len(row) and row[end] == row[x]:
                end += 1
            out.append(f'  <rect x="{left + x * scale}" y="{top + y * scale}" width="{(end - x) * scale}" '
                       f'height="{scale}" fill="{row[x]}"/>')
            x = end
    return out


# --------------------------------------------------------------------------
# Button pictures
# --------------------------------------------------------------------------

def bevel(width, height):
    """A raised button face: outline, light top and left, dark bottom and right."""
    return [
        f'<rect x="0.5" y="0.5" width="{width - 1}" height="{height - 1}" fill="{FACE}" stroke="{OUTLINE}"/>',
        f'<path d="M1.5 {height - 2} V1.5 H{width - 2}" fill="none" stroke="{LIGHT_EDGE}"/>',
        f'<path d="M1.5 {height - 1.5} H{width - 1.5} V1.5" fill="none" stroke="{DARK_EDGE}"/>',
    ]


def escape(text):
    return text.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;").replace('"', "&quot;")


def icon_button_svg(rows, title):
    margin = 8
    icon_w, icon_h = len(rows[0]) * PIXEL, len(rows) * PIXEL
    width, height = icon_w + 2 * margin, icon_h + 2 * margin
    lines = [
        f'<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 {width} {height}" width="{width}" height="{height}">',
        f"<title>{escape(title)}</title>",
        *bevel(width, height),
        '<g shape-rendering="crispEdges">',
        *pixel_runs(rows, margin, margin, PIXEL),
        "</g>",
        "</svg>",
    ]
    return "\n".join(lines) + "\n"


def push_button_svg(text, width_units, height_units):
    scale = 2  # screen pixels per dialog unit
    width, height = width_units * scale, height_units * scale
    lines = [
        f'<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 {width} {height}" width="{width}" height="{height}">',
        f"<title>Push button: {escape(text)}</title>",
        *bevel(width, height),
        f'<text x="{width / 2:g}" y="{height / 2 + 6:g}" text-anchor="middle" font-family="sans-serif" '
        f'font-size="16" fill="#000000">{escape(text)}</text>',
        "</svg>",
    ]
    return "\n".join(lines) + "\n"


def resource_script():
    return RESOURCE_SCRIPT.read_text(encoding="utf-8")


def check_bitmap_in_resources(script, bitmap):
    if not re.search(r'^\s*\w+\s+BITMAP\s+"' + re.escape(bitmap) + '"', script, re.MULTILINE):
        raise PictureError(f"{RESOURCE_SCRIPT.name} names no bitmap {bitmap}")


def untransform_button(script):
    match = re.search(r'^\s*PUSHBUTTON\s+"([^"]*)"\s*,\s*kUntransformItem\s*,'
                      r'\s*\d+\s*,\s*\d+\s*,\s*(\d+)\s*,\s*(\d+)', script, re.MULTILINE)
    if not match:
        raise PictureError(f"{RESOURCE_SCRIPT.name} has no Untransform push button")
    return match.group(1), int(match.group(2)), int(match.group(3))


def shown(path):
    return path.relative_to(ROOT) if path.is_relative_to(ROOT) else path


def write(path, text):
    path.write_text(text, encoding="utf-8", newline="\n")
    print(f"wrote {shown(path)}")


def make_buttons(out):
    script = resource_script()
    for name, bitmap, title in BUTTONS:
        check_bitmap_in_resources(script, bitmap)
        rows = read_bmp(RESOURCES / bitmap)
        write(out / f"{name}.svg", icon_button_svg(rows, title))
    text, width, height = untransform_button(script)
    write(out / "untransform.svg", push_button_svg(text, width, height))


# --------------------------------------------------------------------------
# Pictures made by the stand-in host
# --------------------------------------------------------------------------

PATTERN = {
    "name": "Triangles",
    "tile": [0, 0, 20, 20],
    "shapes": [
        {"kind": "rectangle", "bounds": [0, 0, 20, 20], "color": "#fff8e8"},
        {"kind": "polygon", "points": [[10, 3], [16, 14], [4, 14]], "color": "#c0392b"},
    ],
}

PATTERN_SQUARE = {
    "id": "p1", "type": "path", "rectangle": [0, 0, 160, 100],
    "style": {"fillPaint": True,
              "fill": {"color": {"kind": "pattern", "pattern": "Triangles", "transform": [1, 0, 0, 1, 0, 0]}},
              "strokePaint": True, "stroke": {"width": 1}},
}

DASHED_LINE = {
    "id": "d1", "type": "path", "segments": [[0, 20], [240, 20]], "closed": False,
    "style": {"fillPaint": False, "strokePaint": True,
              "stroke": {"color": {"kind": "threeColor", "red": 0.16, "green": 0.32, "blue": 0.75},
                         "width": 8, "dash": {"offset": 0, "array": [20, 10]}}},
}

# Each shift picture: a name, one object, one click, and the value that the
# click gives the object (a style field and its value). The click is run on
# the plug-in through `pello-host run`, which checks that value; the before
# and after documents are then drawn without selection marks.
SHIFTS = [
    # The up arrow with Shift+Alt: a step of 8, the pattern's ty goes to -8.
    ("pattern", PATTERN_SQUARE, {"do": "click", "item": "up", "keys": ["shift", "alt"]},
     "fill.color.transform", [1, 0, 0, 1, 0, -8]),
    # The forward dash button with Shift+Alt: 0 - 8 is below 0, so two whole
    # dash patterns (2 x 30) are added: 52 looks exactly like -8.
    ("dashes", DASHED_LINE, {"do": "click", "item": "dashRight", "keys": ["shift", "alt"]},
     "stroke.dash.offset", 52),
]


def set_field(style, field, value):
    *path, last = field.split(".")
    for member in path:
        style = style[member]
    style[last] = value


def run_host(host, args, cwd=None):
    result = subprocess.run([str(host), *args], capture_output=True, text=True, cwd=cwd)
    if result.returncode != 0:
        sys.stderr.write(result.stdout + result.stderr)
        raise PictureError(f"pello-host {args[0]} exited with status {result.returncode}")


def make_host_pictures(host, out):
    if not host.is_file():
        raise PictureError(f"{host} not found: build pello-host first, or name it with --host")
    palette = out / "palette.svg"
    run_host(host, ["palette", "-o", str(palette)])
    print(f"wrote {shown(palette)}")
    with tempfile.TemporaryDirectory() as work:
        work = Path(work)
        for name, art, click, field, value in SHIFTS:
            before = {"units": "points", "patterns": [PATTERN], "art": [art], "selection": []}
            session = {
                "document": dict(before, selection=[art["id"]]),
                "steps": [click, {"do": "expectStyle", "art": art["id"], "field": field, "value": value,
                                  "tolerance": 0}],
            }
            session_file = work / f"{name}-session.json"
            session_file.write_text(json.dumps(session, indent=2), encoding="utf-8")
            run_host(host, ["run", str(session_file)])

            after = json.loads(json.dumps(before))
            set_field(after["art"][0]["style"], field, value)
            for stage, document in (("Before", before), ("After", after)):
                # The host titles the picture with the document's file name
                # as given, so it is given as "Before" or "After".
                folder = work / name
                folder.mkdir(exist_ok=True)
                (folder / stage).write_text(json.dumps(document, indent=2), encoding="utf-8")
                target = out / f"{name}-{stage.lower()}.svg"
                run_host(host, ["render", stage, "-o", str(target)], cwd=folder)
                print(f"wrote {shown(target)}")


def main(argv):
    parser = argparse.ArgumentParser(description="Draw the pictures of the user's guide.")
    parser.add_argument("--host", type=Path, default=DEFAULT_HOST, help="the pello-host command (default: %(default)s)")
    parser.add_argument("--out", type=Path, default=DEFAULT_OUT, help="where to write (default: %(default)s)")
    parser.add_argument("--buttons-only", action="store_true", help="draw the buttons only, without pello-host")
    args = parser.parse_args(argv)
    out = args.out.resolve()
    out.mkdir(parents=True, exist_ok=True)
    try:
        make_buttons(out)
        if not args.buttons_only:
            make_host_pictures(args.host.resolve(), out)
    except (PictureError, OSError) as error:
        print(f"make-guide-pictures: {error}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
