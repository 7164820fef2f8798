#!/usr/bin/env python3
"""pello-host from the outside, one check per run:

  check_cli.py demo PELLO_HOST WORKDIR RSVG_CONVERT EXAMPLES_DIR
  check_cli.py directions PELLO_HOST WORKDIR RSVG_CONVERT SESSION
  check_cli.py malformed PELLO_HOST WORKDIR DOCUMENT
  check_cli.py failing PELLO_HOST WORKDIR DOCUMENT
  check_cli.py transcript PELLO_HOST WORKDIR DOCUMENT
  check_cli.py sessions PELLO_HOST WORKDIR DOCUMENT
  check_cli.py install PELLO_HOST WORKDIR CMAKE BUILD_DIR SESSION
  check_cli.py pictures PELLO_HOST WORKDIR PICTURES_DIR

Exits 0 when the check passes, 1 with the reasons otherwise, 77 when a tool it
needs (rsvg-convert) is missing.
"""
import json
import os
import resource
import shutil
import struct
import sys
import zlib

from cli_support import SKIP, check, failures, fresh, run
from check_cli_inputs import check_failing, check_malformed
from check_cli_sessions import check_sessions


# ---- PNG reading (8-bit RGB or RGBA, not interlaced: what rsvg-convert writes)

def read_png(path):
    data = open(path, "rb").read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError(path + ": not a PNG")
    pos, idat, header = 8, b"", None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or colour not in (2, 6) or interlace:
        raise ValueError("%s: unexpected PNG format (depth %d, colour %d)" % (path, depth, colour))
    bpp = 3 if colour == 2 else 4
    raw = zlib.decompress(idat)
    stride = width * bpp
    rows, previous, at = [], bytearray(stride), 0
    for _ in range(height):
        kind, line = raw[at], bytearray(raw[at + 1:at + 1 + stride])
        at += 1 + stride
        for i in range(stride):
            left = line[i - bpp] if i >= bpp else 0
            up = previous[i]
            corner = previous[i - bpp] if i >= bpp else 0
            if kind == 1:
                line[i] = (line[i] + left) & 0xFF
            elif kind == 2:
                line[i] = (line[i] + up) & 0xFF
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 0xFF
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                pred = left if pa <= pb and pa <= pc else (up if pb <= pc else corner)
                line[i] = (line[i] + pred) & 0xFF
        rows.append([tuple(line[x * bpp:x * bpp + 3]) if bpp == 3 or line[x * bpp + 3] else (255, 255, 255)
                     for x in range(width)])
        previous = line
    return rows


def render(rsvg, svg, png, zoom=1.0):
    result = run([rsvg, "--zoom", str(zoom), svg, "-o", png])
    check(result.returncode == 0, "rsvg-convert refused %s: %s" % (svg, result.stderr))
    return result.returncode == 0


def not_blank(png):
    """Returns the pixel rows; fails the check when the picture is one colour or nearly."""
    rows = read_png(png)
    counts = {}
    for row in rows:
        for pixel in row:
            counts[pixel] = counts.get(pixel, 0) + 1
    total = sum(counts.values())
    check(len(counts) > 1, "%s is blank: one colour" % png)
    check(max(counts.values()) < 0.98 * total, "%s is nearly blank: %d colours, one covers %.1f%%" %
          (png, len(counts), 100.0 * max(counts.values()) / total))
    return rows


def view_of(svg):
    """(left, top, scale) of an SVG the command wrote: document to pixels."""
    text = open(svg).read()
    box = text.split('viewBox="', 1)[1].split('"', 1)[0].split()
    width = float(text.split('width="', 1)[1].split('"', 1)[0])
    return float(box[0]), float(box[1]), width / float(box[2])


# ---- the checks

def check_demo(exe, work, rsvg, examples):
    if not rsvg or not shutil.which(rsvg):
        print("rsvg-convert is missing: skipped")
        return SKIP
    fresh(work)
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    result = run([exe, "demo"], cwd=work)
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    cpu = (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)
    print("demo: %.2f s of processor time" % cpu)
    check(result.returncode == 0, "demo exited %d: %s" % (result.returncode, result.stderr))
    check(cpu < 2.0, "demo took %.2f s of processor time (more than 2 s)" % cpu)
    out = result.stdout
    for expected in ["== Startup", "PluginMain(\"SP Interface\", \"Startup\") = 0",
                     "click the up arrow (item 3) with Shift+Alt", "ran: pattern shift: pelloPattern(0, -8)",
                     "changed: p1 style.fill.color.transform:", "changed: d1 style.stroke.dash.offset: 2 -> 30",
                     "alert: \"Matrix: TX=470; TY=170;", "dialog 16050 \"About Pello Palette\", closed with item 1",
                     "alert: \"ERROR!\"", "[injected]", "Session passed", "wrote pello-out/after.svg"]:
        check(expected in out, "the demo's transcript lacks %r" % expected)

    pictures = {}
    for name in ["before", "after", "palette"]:
        svg = os.path.join(work, "pello-out", name + ".svg")
        if check(os.path.exists(svg), "demo wrote no %s.svg" % name):
            png = os.path.join(work, name + ".png")
            if render(rsvg, svg, png, zoom=0.5):
                pictures[name] = not_blank(png)
    if "before" in pictures and "after" in pictures:
        check(pictures["before"] != pictures["after"], "before.png and after.png are the same picture")

    result = run([exe, "demo", "--json", "--out", os.path.join(work, "json-out")])
    try:
        transcript = json.loads(result.stdout)
        check(transcript["exitStatus"] == 0 and transcript["passed"], "the JSON transcript says the demo failed")
        kinds = {event["event"] for event in transcript["events"]}
        for kind in ["step", "pluginMain", "hostCalls", "alert", "dialog", "change", "expectation", "operation"]:
            check(kind in kinds, "the JSON transcript has no %r event" % kind)
    except (ValueError, KeyError) as error:
        check(False, "demo --json printed no JSON transcript: %s" % error)

    rendered = os.path.join(work, "rendered.svg")
    result = run([exe, "render", os.path.join(examples, "demo", "document.json"), "-o", rendered])
    if check(result.returncode == 0, "render exited %d: %s" % (result.returncode, result.stderr)):
        if render(rsvg, rendered, rendered + ".png", zoom=0.5):
            not_blank(rendered + ".png")
    drawn = os.path.join(work, "palette-command.svg")
    result = run([exe, "palette", "-o", drawn])
    if check(result.returncode == 0, "palette exited %d: %s" % (result.returncode, result.stderr)):
        text = open(drawn).read()
        for expected in ["Patterns", "Dashes", "Untransform", "Copy transformation matrix",
                         "Paste transformation matrixm", "Show transformation matrix", "bitmap-1", "bitmap-8"]:
            check(expected in text, "the palette picture lacks %r" % expected)
        if render(rsvg, drawn, drawn + ".png", zoom=0.5):
            not_blank(drawn + ".png")
    for args in [["--help"], ["demo", "--help"], ["run", "--help"], ["render", "--help"], ["palette", "--help"],
                 ["session", "--help"]]:
        result = run([exe] + args)
        check(result.returncode == 0 and "Usage" in result.stdout, "pello-host %s gives no help" % " ".join(args))
    return 0


def dark_rows(rows, x, top, bottom):
    return [y for y in range(top, bottom) if max(rows[y][x]) < 60]


def dark_columns(rows, y, left, right):
    return [x for x in range(left, right) if max(rows[y][x]) < 60]


def check_directions(exe, work, rsvg, session):
    """The up arrow moves a pattern up on screen, the right arrow moves it right."""
    if not rsvg or not shutil.which(rsvg):
        print("rsvg-convert is missing: skipped")
        return SKIP
    fresh(work)
    result = run([exe, "run", session, "--out", work])
    check(result.returncode == 0, "the session exited %d:\n%s%s" % (result.returncode, result.stdout, result.stderr))
    found = {}
    for name in ["before", "after"]:
        svg = os.path.join(work, name + ".svg")
        png = os.path.join(work, name + ".png")
        if not render(rsvg, svg, png):
            return 0
        rows = read_png(png)
        left, top, scale = view_of(svg)
        px = lambda value, origin: int(round((value - origin) * scale))
        # The horizontal bar in "h" (0..120 square), down the middle column.
        ys = dark_rows(rows, px(60, left), px(2, top), px(118, top))
        # The vertical bar in "v" (160..280 square), along the middle row.
        xs = dark_columns(rows, px(60, top), px(162, left), px(278, left))
        if not (check(ys, "%s.png: no bar in h" % name) and check(xs, "%s.png: no bar in v" % name)):
            return 0
        found[name] = (ys[0] / scale + top, xs[0] / scale + left)
    (y0, x0), (y1, x1) = found["before"], found["after"]
    print("bar in h: top at %.1f, then %.1f; bar in v: left at %.1f, then %.1f (document units)" % (y0, y1, x0, x1))
    check(abs((y1 - y0) - (-16)) < 1.5, "the up-and-right step moved h's bar by %.1f vertically, not up 16" % (y1 - y0))
    check(abs((x1 - x0) - 16) < 1.5, "the up-and-right step moved v's bar by %.1f horizontally, not right 16" % (x1 - x0))
    return 0


def steps_of(text):
    """The transcript's text of each step, by index."""
    out = {}
    for chunk in text.split("\n== [")[1:]:
        index, rest = chunk.split("]", 1)
        out[int(index)] = rest
    return out


def check_transcript(exe, work, document):
    """Each step names the operation the click ran, keeps a step's sign, tells each change once and shows no
    address."""
    fresh(work)
    shutil.copy(document, os.path.join(work, "document.json"))
    session = os.path.join(work, "transcript.json")
    json.dump({"document": "document.json", "steps": [
        {"do": "select", "art": ["p1"]},
        {"do": "click", "item": "right"},
        {"do": "select", "art": ["t1"]},
        {"do": "click", "item": "right"},
        {"do": "select", "art": ["d1"]},
        {"do": "click", "item": "dashRight"},
        {"do": "click", "item": "untransform"},
        {"do": "choose", "entry": "copy"},
        {"do": "select", "art": ["p1"]},
        {"do": "fail", "op": "AIPathStyle::SetPathStyle", "code": "PARM", "call": 1},
        {"do": "click", "item": "left"},
        {"do": "hidePalette"},
        {"do": "click", "item": "up"}]}, open(session, "w"))
    result = run([exe, "run", session])
    check(result.returncode == 1, "a click on the hidden palette did not fail the session (exit %d)" % result.returncode)
    steps = steps_of(result.stdout)
    ran = {i: [line.strip() for line in text.splitlines() if line.startswith("   ran: ")] for i, text in steps.items()}
    expected = {1: ["ran: pattern shift: pelloPattern(1, -0)"],
                3: ["ran: pattern shift (no pattern fill in the selection to move)"],
                5: ["ran: dash shift"], 6: ["ran: untransform"], 7: [], 12: []}
    for index, lines in expected.items():
        check(ran.get(index) == lines, "step %d ran %s, not %s" % (index, ran.get(index), lines))
    changed = [line for line in steps.get(1, "").splitlines() if "p1 style.fill.color.transform" in line]
    check(changed == ["   changed: p1 style.fill.color.transform: [1, 0, 0, 1, 0, 0] -> [1, 0, 0, 1, 1, 0]"],
          "the right arrow's change is told as %s" % changed)
    # The changes of a write the host took are its "changed:" lines; a refused write keeps what it tried.
    told = [line for line in result.stdout.splitlines() if "changes=" in line]
    check(len(told) == 1 and told[0].startswith("   refused: AIPathStyle::SetPathStyle(art=p1, changes=fill.color."),
          "style writes tell their changes as %s" % told)
    check("=0x" not in result.stdout, "the transcript shows an address:\n" + result.stdout)
    result = run([exe, "run", "--verbose", session])
    told = [line for line in result.stdout.splitlines() if "changes=" in line]
    check(told and all(line.endswith("= 'PARM'  [injected]") for line in told),
          "the verbose transcript tells style writes' changes as %s" % told)
    return 0


def check_install(exe, work, cmake, build, session):
    """cmake --install puts the command and the module where the command finds it, and the schemas."""
    prefix = fresh(os.path.join(work, "prefix"))
    result = run([cmake, "--install", build, "--prefix", prefix])
    if not check(result.returncode == 0, "cmake --install failed: %s" % result.stderr):
        return 0
    installed = os.path.join(prefix, "bin", "pello-host")
    module = os.path.join(prefix, "lib", "pello", "PelloPalette.aip")
    check(os.path.exists(installed), "no bin/pello-host installed")
    check(os.path.exists(module), "no lib/pello/PelloPalette.aip installed")
    for schema in ("session", "document"):
        check(os.path.exists(os.path.join(prefix, "share", "pello", "schemas", schema + ".schema.json")),
              "no share/pello/schemas/%s.schema.json installed" % schema)
    result = run([installed, "run", session], cwd=work)
    check(result.returncode == 0, "the installed pello-host failed:\n" + result.stdout + result.stderr)
    check("plug-in: " + os.path.realpath(module) in result.stdout or "plug-in: " + module in result.stdout,
          "the installed pello-host did not load the installed module:\n" + result.stdout[:400])
    return 0


def check_pictures(exe, work, pictures):
    """The pictures the README shows are what the demo draws today."""
    fresh(work)
    result = run([exe, "demo", "--out", work])
    check(result.returncode == 0, "demo exited %d" % result.returncode)
    for name in ["before.svg", "after.svg", "palette.svg"]:
        shown, drawn = os.path.join(pictures, name), os.path.join(work, name)
        same = os.path.exists(shown) and open(shown).read() == open(drawn).read()
        check(same, "%s is not what the demo draws now; run: pello-host demo --out %s" % (shown, pictures))
    return 0


def main(argv):
    checks = {"demo": check_demo, "directions": check_directions, "malformed": check_malformed,
              "failing": check_failing, "transcript": check_transcript, "install": check_install,
              "pictures": check_pictures, "sessions": check_sessions}
    status = checks[argv[1]](*argv[2:])
    for failure in failures:
        print("FAILED: " + failure)
    if failures:
        return 1
    return status


if __name__ == "__main__":
    sys.exit(main(sys.argv))
