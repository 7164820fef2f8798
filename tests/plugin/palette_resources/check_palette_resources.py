#!/usr/bin/env python3
"""Checks the palette's compiled resources: the arrow icons (bitmaps 1 to 8),
the palette dialog 16000 and the option menu 700.

The expected icons are written out below pixel by pixel ('#' black, '.'
white), independently of the script that draws the .bmp files.

Usage: check_palette_resources.py RES_FILE
Prints one line per check and closes with 'N passed, N failed'.
"""
import struct
import sys

RT_BITMAP = 2
RT_MENU = 4
RT_DIALOG = 5

EXPECTED_ICONS = {
    1: [  # pointing right
        "...............",
        "...............",
        "...............",
        "......#........",
        "......##.......",
        "......###......",
        "......####.....",
        "......#####....",
        "......####.....",
        "......###......",
        "......##.......",
        "......#........",
        "...............",
        "...............",
        "...............",
    ],
    2: [  # upper right corner
        "...............",
        "...............",
        "...............",
        "...............",
        "....#######....",
        ".....######....",
        "......#####....",
        ".......####....",
        "........###....",
        ".........##....",
        "..........#....",
        "...............",
        "...............",
        "...............",
        "...............",
    ],
    3: [  # pointing up
        "...............",
        "...............",
        "...............",
        "...............",
        ".......#.......",
        "......###......",
        ".....#####.....",
        "....#######....",
        "...#########...",
        "...............",
        "...............",
        "...............",
        "...............",
        "...............",
        "...............",
    ],
    4: [  # upper left corner
        "...............",
        "...............",
        "...............",
        "...............",
        "....#######....",
        "....######.....",
        "....#####......",
        "....####.......",
        "....###........",
        "....##.........",
        "....#..........",
        "...............",
        "...............",
        "...............",
        "...............",
    ],
    5: [  # pointing left
        "...............",
        "...............",
        "...............",
        "........#......",
        ".......##......",
        "......###......",
        ".....####......",
        "....#####......",
        ".....####......",
        "......###......",
        ".......##......",
        "........#......",
        "...............",
        "...............",
        "...............",
    ],
    6: [  # lower left corner
        "...............",
        "...............",
        "...............",
        "...............",
        "....#..........",
        "....##.........",
        "....###........",
        "....####.......",
        "....#####......",
        "....######.....",
        "....#######....",
        "...............",
        "...............",
        "...............",
        "...............",
    ],
    7: [  # pointing down
        "...............",
        "...............",
        "...............",
        "...............",
        "...............",
        "...............",
        "...#########...",
        "....#######....",
        ".....#####.....",
        "......###......",
        ".......#.......",
        "...............",
        "...............",
        "...............",
        "...............",
    ],
    8: [  # lower right corner
        "...............",
        "...............",
        "...............",
        "...............",
        "..........#....",
        ".........##....",
        "........###....",
        ".......####....",
        "......#####....",
        ".....######....",
        "....#######....",
        "...............",
        "...............",
        "...............",
        "...............",
    ],
}

PICTURE_BUTTON = "ADM Picture Push Button Type"
BUTTON_CLASS = 0x80
STATIC_CLASS = 0x82

# id, class, x, y, width, height, text, style
EXPECTED_DIALOG_ITEMS = [
    (1, PICTURE_BUTTON, 48, 34, 16, 16, "", 0x50000000),
    (2, PICTURE_BUTTON, 48, 16, 16, 16, "", 0x50000000),
    (3, PICTURE_BUTTON, 30, 16, 16, 16, "", 0x50000000),
    (4, PICTURE_BUTTON, 12, 16, 16, 16, "", 0x50000000),
    (5, PICTURE_BUTTON, 12, 34, 16, 16, "", 0x50000000),
    (6, PICTURE_BUTTON, 12, 52, 16, 16, "", 0x50000000),
    (7, PICTURE_BUTTON, 30, 52, 16, 16, "", 0x50000000),
    (8, PICTURE_BUTTON, 48, 52, 16, 16, "", 0x50000000),
    (9, PICTURE_BUTTON, 92, 8, 16, 16, "", 0x50000000),
    (10, PICTURE_BUTTON, 112, 8, 16, 16, "", 0x50000000),
    (11, BUTTON_CLASS, 92, 44, 96, 20, "Untransform", 0x50010000),
    (12, STATIC_CLASS, 2, 2, 61, 14, "Patterns", 0x50020000),
    (13, STATIC_CLASS, 132, 10, 68, 16, "Dashes", 0x50020000),
    (14, STATIC_CLASS, 72, 4, 2, 66, "", 0x50000011),
    (15, STATIC_CLASS, 80, 32, 112, 2, "", 0x50000010),
]

EXPECTED_MENU = {
    "popup": (0x0090, "Dialog options"),
    # flags, id, text
    "items": [
        (0x0000, 1, "Copy transformation matrix"),
        (0x0000, 2, "Paste transformation matrixm"),
        (0x0080, 3, "Show transformation matrix"),
    ],
}


class Reader:
    """Little-endian reader over one resource's data."""

    def __init__(self, data, pos=0):
        self.data = data
        self.pos = pos

    def u16(self):
        (v,) = struct.unpack_from("<H", self.data, self.pos)
        self.pos += 2
        return v

    def i16(self):
        (v,) = struct.unpack_from("<h", self.data, self.pos)
        self.pos += 2
        return v

    def u32(self):
        (v,) = struct.unpack_from("<I", self.data, self.pos)
        self.pos += 4
        return v

    def text(self):
        chars = []
        while True:
            c = self.u16()
            if c == 0:
                return "".join(chars)
            chars.append(chr(c))

    def text_or_ordinal(self):
        """An int for an ordinal (0xFFFF, value), else the string."""
        if struct.unpack_from("<H", self.data, self.pos)[0] == 0xFFFF:
            self.pos += 2
            return self.u16()
        return self.text()

    def align(self, n=4):
        self.pos = (self.pos + n - 1) // n * n


def read_res(path):
    """Maps (type, name) to the resource data of every entry of a .res file."""
    with open(path, "rb") as f:
        data = f.read()
    resources = {}
    pos = 0
    while pos + 8 <= len(data):
        data_size, header_size = struct.unpack_from("<II", data, pos)
        r = Reader(data, pos + 8)
        rtype = r.text_or_ordinal()
        name = r.text_or_ordinal()
        start = pos + header_size
        resources[(rtype, name)] = data[start : start + data_size]
        pos = (start + data_size + 3) // 4 * 4
    return resources


def parse_dialog(data):
    r = Reader(data)
    dialog = {"style": r.u32(), "exstyle": r.u32()}
    count = r.u16()
    dialog["rect"] = (r.i16(), r.i16(), r.i16(), r.i16())
    dialog["menu"] = r.text_or_ordinal()
    dialog["class"] = r.text_or_ordinal()
    dialog["title"] = r.text()
    dialog["items"] = []
    for _ in range(count):
        r.align()
        style, exstyle = r.u32(), r.u32()
        x, y, cx, cy = r.i16(), r.i16(), r.i16(), r.i16()
        item_id = r.u16()
        cls = r.text_or_ordinal()
        text = r.text_or_ordinal()
        extra = r.u16()
        dialog["items"].append(
            {"id": item_id, "class": cls, "rect": (x, y, cx, cy), "text": text, "style": style,
             "exstyle": exstyle, "extra": extra}
        )
    dialog["end"] = r.pos
    return dialog


def parse_menu(data):
    """A one-level popup holding plain items: (header, popup, items, end)."""
    r = Reader(data)
    header = (r.u16(), r.u16())
    popup = (r.u16(), r.text())
    items = []
    while True:
        flags = r.u16()
        items.append((flags, r.u16(), r.text()))
        if flags & 0x0080:
            break
    return header, popup, items, r.pos


def icon_rows(data):
    """The icon's rows, top first, as '#'/'.' strings, and the header fields."""
    r = Reader(data)
    header = {
        "size": r.u32(),
        "width": r.u32(),
        "height": r.u32(),
        "planes": r.u16(),
        "bits": r.u16(),
        "compression": r.u32(),
        "image_size": r.u32(),
        "x_ppm": r.u32(),
        "y_ppm": r.u32(),
        "colours_used": r.u32(),
        "important": r.u32(),
    }
    colour_table = data[40:48]
    stored = [data[48 + 4 * i : 52 + 4 * i] for i in range(15)]
    rows = []
    for raw in reversed(stored):  # stored bottom-up
        bits = int.from_bytes(raw, "big")
        rows.append("".join("#" if bits >> (31 - c) & 1 else "." for c in range(15)))
    pad_bits = [int.from_bytes(raw, "big") & ((1 << 17) - 1) for raw in stored]
    return header, colour_table, rows, pad_bits, data[108:]


class Checks:
    def __init__(self):
        self.passed = 0
        self.failed = 0

    def expect(self, name, actual, expected):
        if actual == expected:
            self.passed += 1
            print(f"PASS {name}")
        else:
            self.failed += 1
            print(f"FAIL {name}: got {actual!r}, expected {expected!r}")


def check_icons(checks, resources):
    for bitmap_id, expected_rows in EXPECTED_ICONS.items():
        data = resources.get((RT_BITMAP, bitmap_id))
        if data is None:
            checks.expect(f"bitmap {bitmap_id} present", False, True)
            continue
        checks.expect(f"bitmap {bitmap_id} size", len(data), 110)
        header, colours, rows, pad_bits, tail = icon_rows(data)
        checks.expect(
            f"bitmap {bitmap_id} header",
            header,
            {"size": 40, "width": 15, "height": 15, "planes": 1, "bits": 1, "compression": 0,
             "image_size": 0, "x_ppm": 2834, "y_ppm": 2834, "colours_used": 0, "important": 0},
        )
        checks.expect(f"bitmap {bitmap_id} colours white then black", colours, b"\xff\xff\xff\x00\x00\x00\x00\x00")
        for row, (got, want) in enumerate(zip(rows, expected_rows)):
            checks.expect(f"bitmap {bitmap_id} row {row}", got, want)
        checks.expect(f"bitmap {bitmap_id} row padding clear", pad_bits, [0] * 15)
        checks.expect(f"bitmap {bitmap_id} trailing bytes", tail, b"\x00\x00")


def check_dialog(checks, resources):
    data = resources.get((RT_DIALOG, 16000))
    if data is None:
        checks.expect("dialog 16000 present", False, True)
        return
    dialog = parse_dialog(data)
    checks.expect("dialog style", hex(dialog["style"]), hex(0x80C800A0))
    checks.expect("dialog extended style", dialog["exstyle"], 0)
    checks.expect("dialog origin and size", dialog["rect"], (0, 0, 206, 78))
    checks.expect("dialog has no menu and no class", (dialog["menu"], dialog["class"]), ("", ""))
    checks.expect("dialog title", dialog["title"], "Pello")
    checks.expect("dialog ends after its items (no font)", dialog["end"], len(data))
    checks.expect("dialog item count", len(dialog["items"]), len(EXPECTED_DIALOG_ITEMS))
    for item, expected in zip(dialog["items"], EXPECTED_DIALOG_ITEMS):
        item_id, cls, x, y, cx, cy, text, style = expected
        checks.expect(f"dialog item {item_id} id", item["id"], item_id)
        checks.expect(f"dialog item {item_id} class", item["class"], cls)
        checks.expect(f"dialog item {item_id} rect", item["rect"], (x, y, cx, cy))
        checks.expect(f"dialog item {item_id} text", item["text"], text)
        checks.expect(f"dialog item {item_id} style", hex(item["style"]), hex(style))
        checks.expect(f"dialog item {item_id} extended style and extra data", (item["exstyle"], item["extra"]), (0, 0))


def check_menu(checks, resources):
    data = resources.get((RT_MENU, 700))
    if data is None:
        checks.expect("menu 700 present", False, True)
        return
    header, popup, items, end = parse_menu(data)
    checks.expect("menu header version and size", header, (0, 0))
    checks.expect("menu popup flags and text", popup, EXPECTED_MENU["popup"])
    checks.expect("menu items", items, EXPECTED_MENU["items"])
    checks.expect("menu ends after its last item", end, len(data))


def main(argv):
    if len(argv) != 1:
        print(__doc__)
        return 2
    resources = read_res(argv[0])
    checks = Checks()
    check_icons(checks, resources)
    check_dialog(checks, resources)
    check_menu(checks, resources)
    print(f"{checks.passed} passed, {checks.failed} failed")
    return 1 if checks.failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
