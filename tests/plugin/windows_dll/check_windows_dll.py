#!/usr/bin/env python3
"""Checks a built PelloPalette.aip DLL on its own, with pefile: its machine,
its one export and its imports, and every resource in it: the PiPL, the
version resource, the three dialogs, the bitmaps and the option menu. All
resources must be US English (1033) and must be exactly those of the
compiled resource file, byte for byte.

The palette's icons, dialog 16000 and menu 700 are checked with the expected
data and checks of tests/plugin/palette_resources/check_palette_resources.py.

Usage: check_windows_dll.py DLL RES_FILE RESOURCE_DIR i686|x86_64
  RES_FILE      the compiled PelloPalette.res the DLL was linked from
  RESOURCE_DIR  plugin/resources (for the logo's source picture)
Prints one line per check and closes with 'N passed, N failed'.
"""
import os
import struct
import sys
import zlib

import pefile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "palette_resources"))
import check_palette_resources as palette  # noqa: E402

RT_BITMAP = 2
RT_MENU = 4
RT_DIALOG = 5
RT_STRING = 6
RT_VERSION = 16
US_ENGLISH = (9, 1)  # primary and sub-language of 1033

MACHINES = {"i686": 0x014C, "x86_64": 0x8664}
SYSTEM_DLLS = {"KERNEL32.DLL", "USER32.DLL", "MSVCRT.DLL"}

BUTTON_CLASS = 0x80
STATIC_CLASS = 0x82
DS_SETFONT = 0x40


def four_char(code):
    """A four-character code as stored: its 32-bit little-endian value."""
    return struct.pack("<I", int.from_bytes(code.encode("ascii"), "big"))


def pipl_property(key, data):
    padded = data + b"\0" * (-len(data) % 4)
    return four_char("ADBE") + four_char(key) + struct.pack("<II", 0, len(data)) + padded


EXPECTED_PIPL = (
    struct.pack("<HII", 1, 0, 3)
    + pipl_property("kind", four_char("SPEA"))
    + pipl_property("ivrs", struct.pack("<i", 2))
    + pipl_property("wx86", b"PluginMain".ljust(12, b"\0"))
)

EXPECTED_VERSION_STRINGS = {
    "FileDescription": "Pello Palette plugin",
    "InternalName": "Pello Palette",
    "OriginalFilename": "PelloPalette.aip",
    "ProductName": "Velmora Pello palette",
    "FileVersion": "10,0,0,0",
    "ProductVersion": "10, 0, 0, 0",
}

# style, title, font, (x, y, cx, cy), items: id, class, x, y, cx, cy, text, style
ABOUT_DIALOG = (
    0x90C800C0,
    "About Pello Palette",
    (8, "MS Sans Serif"),
    (0, 0, 211, 94),
    [
        (1, BUTTON_CLASS, 15, 72, 40, 14, "OK", 0x50010001),
        (65535, STATIC_CLASS, 75, 6, 131, 12, "Pello Palette, v 10.0", 0x50020000),
        (65535, STATIC_CLASS, 75, 20, 131, 70, None, 0x50020000),  # the notice: checked apart
        (4, STATIC_CLASS, 5, 7, 60, 24, 16502, 0x5000000E),  # the logo's bitmap, as an ordinal
    ],
)
ERROR_DIALOG = (
    0x90C800C0,
    "Plug-in Error",
    (8, "MS Sans Serif"),
    (0, 0, 185, 92),
    [
        (1, BUTTON_CLASS, 127, 65, 50, 14, "OK", 0x50010001),
        (2, STATIC_CLASS, 43, 12, 126, 28, "Message", 0x50020000),
        (3, STATIC_CLASS, 13, 66, 30, 8, "Code", 0x50020000),
        (4, STATIC_CLASS, 10, 10, 18, 20, "", 0x50000007),
    ],
)

LOGO_ID = 16502
LOGO_SIZE = (90, 39)


def dll_resources(pe):
    """Maps (type, id) to (data, [(language, sub-language), ...]); a type
    with a string name is keyed by that name."""
    resources = {}
    if not hasattr(pe, "DIRECTORY_ENTRY_RESOURCE"):
        return resources
    for rtype in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        type_key = str(rtype.name) if rtype.name is not None else rtype.id
        for name in rtype.directory.entries:
            name_key = str(name.name) if name.name is not None else name.id
            languages = []
            data = None
            for language in name.directory.entries:
                languages.append((language.data.lang, language.data.sublang))
                entry = language.data.struct
                data = pe.get_data(entry.OffsetToData, entry.Size)
            resources[(type_key, name_key)] = (data, languages)
    return resources


def parse_font_dialog(data):
    """A dialog template that may carry a font (DS_SETFONT)."""
    r = palette.Reader(data)
    dialog = {"style": r.u32(), "exstyle": r.u32()}
    count = r.u16()
    dialog["rect"] = (r.i16(), r.i16(), r.i16(), r.i16())
    dialog["menu"] = r.text_or_ordinal()
    dialog["class"] = r.text_or_ordinal()
    dialog["title"] = r.text()
    dialog["font"] = (r.u16(), r.text()) if dialog["style"] & DS_SETFONT else None
    dialog["items"] = []
    for _ in range(count):
        r.align()
        style, exstyle = r.u32(), r.u32()
        rect = (r.i16(), r.i16(), r.i16(), r.i16())
        item_id = r.u16()
        cls = r.text_or_ordinal()
        text = r.text_or_ordinal()
        extra = r.u16()
        dialog["items"].append(
            {"id": item_id, "class": cls, "rect": rect, "text": text, "style": style, "exstyle": exstyle,
             "extra": extra}
        )
    dialog["end"] = r.pos
    return dialog


def check_machine_and_exports(checks, pe, machine):
    checks.expect("machine", hex(pe.FILE_HEADER.Machine), hex(MACHINES[machine]))
    checks.expect("file is a DLL", bool(pe.FILE_HEADER.Characteristics & 0x2000), True)
    exports = getattr(pe, "DIRECTORY_ENTRY_EXPORT", None)
    symbols = exports.symbols if exports else []
    checks.expect("exports: exactly PluginMain, undecorated", [s.name for s in symbols], [b"PluginMain"])
    if symbols:
        checks.expect("PluginMain is code, not forwarded", symbols[0].forwarder, None)


def check_imports(checks, pe):
    imports = getattr(pe, "DIRECTORY_ENTRY_IMPORT", [])
    names = sorted(entry.dll.decode("ascii").upper() for entry in imports)
    others = [n for n in names if n not in SYSTEM_DLLS and not n.startswith("API-MS-WIN-CRT-")]
    checks.expect("imports only system DLLs", others, [])
    checks.expect("no delay-loaded DLLs", len(getattr(pe, "DIRECTORY_ENTRY_DELAY_IMPORT", [])), 0)
    user32 = [
        symbol.name
        for entry in imports
        if entry.dll.decode("ascii").upper() == "USER32.DLL"
        for symbol in entry.imports
    ]
    checks.expect("the modifier keys come from user32's GetKeyboardState", b"GetKeyboardState" in user32, True)
    kernel32 = [symbol.name for entry in imports if entry.dll.decode("ascii").upper() == "KERNEL32.DLL"
                for symbol in entry.imports]
    # A runtime piece that takes a thread-local slot per load (and a host
    # that reloads plug-ins runs out of them) shows as an import of TlsAlloc.
    checks.expect("takes no thread-local storage slot", b"TlsAlloc" in kernel32, False)


def section_names(pe):
    """Section name -> section; a long name (/N) read from the string table."""
    table = pe.FILE_HEADER.PointerToSymbolTable + 18 * pe.FILE_HEADER.NumberOfSymbols
    names = {}
    for section in pe.sections:
        name = section.Name.rstrip(b"\0")
        if name.startswith(b"/") and pe.FILE_HEADER.PointerToSymbolTable:
            start = table + int(name[1:])
            name = bytes(pe.__data__[start:pe.__data__.find(b"\0", start)])
        names[name.decode("ascii", "replace")] = section
    return names


def check_stripped(checks, pe, dll):
    """Stripped, with the debug information in PelloPalette.aip.debug beside it."""
    checks.expect("no symbols", pe.FILE_HEADER.NumberOfSymbols, 0)
    sections = section_names(pe)
    checks.expect("no debug sections", sorted(n for n in sections if n.startswith(".debug")), [])
    link = sections.get(".gnu_debuglink")
    data = link.get_data()[: link.Misc_VirtualSize] if link else b""
    named = data.split(b"\0")[0].decode("ascii", "replace") if link else None
    checks.expect("names its debug file", named, "PelloPalette.aip.debug")
    debug_file = os.path.join(os.path.dirname(os.path.abspath(dll)), "PelloPalette.aip.debug")
    if named and os.path.exists(debug_file):
        # The link holds the debug file's CRC-32, so a debugger takes no other.
        stored = struct.unpack_from("<I", data, (len(named) + 1 + 3) // 4 * 4)[0]
        with open(debug_file, "rb") as f:
            checks.expect("the debug file is the one the DLL names", stored, zlib.crc32(f.read()))


def check_inventory(checks, resources, res_file):
    expected = {
        ("PIPL", 16000),
        (RT_VERSION, 1),
        (RT_DIALOG, 16000),
        (RT_DIALOG, 16050),
        (RT_DIALOG, 16051),
        (RT_MENU, 700),
        *((RT_BITMAP, n) for n in range(1, 9)),
        (RT_BITMAP, LOGO_ID),
    }
    present = set(resources)
    strings = {key for key in present if key[0] == RT_STRING}
    checks.expect("resources: the expected set besides the string table", sorted(map(str, present - strings)),
                  sorted(map(str, expected)))
    wrong_language = sorted(str(key) for key, (_, langs) in resources.items() if langs != [US_ENGLISH])
    checks.expect("every resource once, in US English (1033)", wrong_language, [])

    compiled = palette.read_res(res_file)
    compiled = {key: data for key, data in compiled.items() if key != (0, 0)}  # the .res marker entry
    checks.expect("the DLL holds the resources of the .res file",
                  sorted(map(str, present)), sorted(map(str, compiled)))
    differing = sorted(str(key) for key, data in compiled.items() if key in resources and resources[key][0] != data)
    checks.expect("each resource byte for byte as compiled", differing, [])


def check_pipl(checks, resources):
    data, _ = resources.get(("PIPL", 16000), (None, None))
    checks.expect("PiPL 16000 size", len(data) if data else None, 78)
    checks.expect("PiPL 16000 bytes", data, EXPECTED_PIPL)


def check_version(checks, pe):
    fixed = pe.VS_FIXEDFILEINFO[0] if getattr(pe, "VS_FIXEDFILEINFO", None) else None
    if fixed is None:
        checks.expect("version resource present", False, True)
        return
    checks.expect("file version 10.0.0.0", (fixed.FileVersionMS, fixed.FileVersionLS), (10 << 16, 0))
    checks.expect("product version 10.0.0.0", (fixed.ProductVersionMS, fixed.ProductVersionLS), (10 << 16, 0))
    checks.expect("file type: dynamic library", fixed.FileType, 0x2)
    checks.expect("operating system: Windows 32-bit", fixed.FileOS, 0x4)
    strings = {}
    for info in pe.FileInfo:
        for entry in info:
            for table in getattr(entry, "StringTable", []):
                strings.update({k.decode(): v.decode() for k, v in table.entries.items()})
    for key, value in EXPECTED_VERSION_STRINGS.items():
        checks.expect(f"version string {key}", strings.get(key), value)
    for key in ("CompanyName", "LegalCopyright"):
        checks.expect(f"version string {key} carries the maker's name", "Velmora" in strings.get(key, ""), True)
    return strings


def check_font_dialog(checks, resources, dialog_id, expected):
    data, _ = resources.get((RT_DIALOG, dialog_id), (None, None))
    if data is None:
        checks.expect(f"dialog {dialog_id} present", False, True)
        return None
    style, title, font, rect, items = expected
    dialog = parse_font_dialog(data)
    name = f"dialog {dialog_id}"
    checks.expect(f"{name} style", hex(dialog["style"]), hex(style))
    checks.expect(f"{name} extended style", dialog["exstyle"], 0)
    checks.expect(f"{name} origin and size", dialog["rect"], rect)
    checks.expect(f"{name} has no menu and no class", (dialog["menu"], dialog["class"]), ("", ""))
    checks.expect(f"{name} title", dialog["title"], title)
    checks.expect(f"{name} font", dialog["font"], font)
    checks.expect(f"{name} ends after its items", dialog["end"], len(data))
    checks.expect(f"{name} item count", len(dialog["items"]), len(items))
    for index, (item, want) in enumerate(zip(dialog["items"], items)):
        item_id, cls, x, y, cx, cy, text, item_style = want
        label = f"{name} item {index + 1} (id {item_id})"
        checks.expect(f"{label} id", item["id"], item_id)
        checks.expect(f"{label} class", item["class"], cls)
        checks.expect(f"{label} rect", item["rect"], (x, y, cx, cy))
        if text is not None:
            checks.expect(f"{label} text", item["text"], text)
        checks.expect(f"{label} style", hex(item["style"]), hex(item_style))
        checks.expect(f"{label} extended style and extra data", (item["exstyle"], item["extra"]), (0, 0))
    return dialog


def check_about_notice(checks, dialog, version_strings):
    if dialog is None or len(dialog["items"]) < 3:
        return
    notice = dialog["items"][2]["text"]
    lines = notice.split("\r") if isinstance(notice, str) else []
    checks.expect("About notice: lines separated by carriage returns, none empty",
                  (len(lines) >= 2, "\n" in notice if isinstance(notice, str) else True, "" in lines),
                  (True, False, False))
    if lines and version_strings:
        checks.expect("About notice: first line is the maker's notice", lines[0],
                      version_strings.get("LegalCopyright"))


def check_logo(checks, resources, resource_dir):
    data, _ = resources.get((RT_BITMAP, LOGO_ID), (None, None))
    if data is None:
        checks.expect(f"bitmap {LOGO_ID} present", False, True)
        return
    width, height = LOGO_SIZE
    row_bytes = (width * 3 + 3) // 4 * 4
    size, w, h, planes, bits, compression = struct.unpack_from("<IiiHHI", data, 0)
    checks.expect(f"bitmap {LOGO_ID} header: 90 x 39, 24-bit, uncompressed",
                  (size, w, h, planes, bits, compression), (40, width, height, 1, 24, 0))
    checks.expect(f"bitmap {LOGO_ID} size", len(data), 40 + row_bytes * height)
    with open(os.path.join(resource_dir, "PelloLogo.bmp"), "rb") as f:
        picture = f.read()
    checks.expect(f"bitmap {LOGO_ID} pixels are the logo's", data[40:], picture[14 + 40:])


def main(argv):
    if len(argv) != 4 or argv[3] not in MACHINES:
        print(__doc__)
        return 2
    dll, res_file, resource_dir, machine = argv
    pe = pefile.PE(dll)
    checks = palette.Checks()
    check_machine_and_exports(checks, pe, machine)
    check_imports(checks, pe)
    check_stripped(checks, pe, dll)
    resources = dll_resources(pe)
    check_inventory(checks, resources, res_file)
    check_pipl(checks, resources)
    version_strings = check_version(checks, pe)
    about = check_font_dialog(checks, resources, 16050, ABOUT_DIALOG)
    check_about_notice(checks, about, version_strings)
    check_font_dialog(checks, resources, 16051, ERROR_DIALOG)
    check_logo(checks, resources, resource_dir)
    # The palette's dialog, icons and menu, with the palette check's own data.
    palette_view = {key: data for key, (data, _) in resources.items()}
    palette.check_icons(checks, palette_view)
    palette.check_dialog(checks, palette_view)
    palette.check_menu(checks, palette_view)
    print(f"{checks.passed} passed, {checks.failed} failed")
    return 1 if checks.failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
