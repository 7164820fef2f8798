#!/usr/bin/env python3
"""Writes seeded random sessions for the parity check: documents whose numbers
are single-precision floats across every magnitude (subnormal, 1e-7, ordinary
values with many significant bits, 2^24 and above, signed zeros, values whose
sums round), and steps that reach every operation of the palette: the eight
arrows and both dash buttons with random modifier keys, "Untransform", and the
option menu's copy, paste and show.

Usage: make_parity_sessions.py OUT_DIR [--count N] [--seed S]
The same seed always writes the same files.
"""
import argparse
import json
import math
import random
import struct
from pathlib import Path

ITEMS = ["right", "upRight", "up", "upLeft", "left", "downLeft", "down", "downRight",
         "dashLeft", "dashRight", "untransform"]
KEYS = ["shift", "windows", "alt", "ctrl"]
ENTRIES = ["copy", "paste", "show"]


def f32(x):
    """The single-precision float nearest to x, as the Python float equal to it."""
    return struct.unpack("<f", struct.pack("<f", x))[0]


def f32_bits(bits):
    return struct.unpack("<f", struct.pack("<I", bits & 0xFFFFFFFF))[0]


class Numbers:
    """Draws floats from the classes that tell arithmetic apart."""

    def __init__(self, rng):
        self.rng = rng

    def any(self):
        r = self.rng
        kind = r.randrange(12)
        sign = -1.0 if r.random() < 0.4 else 1.0
        if kind == 0:  # subnormal
            return sign * f32_bits(r.randrange(1, 1 << 23))
        if kind == 1:  # near 1e-7, below the unit of the step table's 1/64
            return f32(sign * r.uniform(0.5e-7, 5e-7))
        if kind == 2:  # signed zero
            return sign * 0.0
        if kind == 3:  # 2^24 and above: whole units and more between floats
            return f32(sign * r.uniform(2 ** 24, 2 ** 31))
        if kind == 4:  # decimal fractions whose sums round
            return f32(sign * r.choice([0.1, 0.2, 0.3, 0.7, 1.1, 2.3, 1e-3, 0.015625 + 1e-6]) *
                       r.choice([1, 3, 10, 100]))
        if kind == 5:  # all 24 bits of the significand set, any exponent
            exponent = r.randrange(-20, 40)
            return sign * f32(math.ldexp((1 << 24) - 1 - r.randrange(4), exponent - 24))
        if kind == 6:  # just below 2^24, where + 1/64 rounds
            return f32(sign * (2 ** 24 - r.randrange(1, 64) / 4))
        if kind == 7:  # the largest floats
            return sign * f32_bits(0x7F7FFFFF - r.randrange(0, 1 << 20))
        # ordinary values with many significant bits
        return f32(sign * r.uniform(0, 10 ** r.randrange(-3, 5)))

    def positive(self):
        return abs(self.any())

    def matrix(self):
        if self.rng.random() < 0.2:  # a plain scale and translation now and then
            s = f32(self.rng.uniform(0.1, 4))
            return [s, 0.0, 0.0, s, self.any(), self.any()]
        return [self.any() for _ in range(6)]


def art_object(rng, numbers, index):
    ident = "a%d" % index
    kind = rng.choice(["pattern", "pattern", "dashed", "dashed", "text", "placed", "raster",
                       "mystery", "group", "plain"])
    box = [10 + 40 * (index % 8), 10 + 40 * (index // 8), 40 + 40 * (index % 8), 40 + 40 * (index // 8)]
    if kind == "pattern":
        color = {"kind": "pattern", "pattern": rng.choice(["Dots", "Bricks"]), "transform": numbers.matrix()}
        if rng.random() < 0.5:
            color.update({"shiftDist": numbers.any(), "shiftAngle": numbers.any(),
                          "scale": [numbers.any(), numbers.any()], "rotate": numbers.any(),
                          "reflect": rng.random() < 0.5, "reflectAngle": numbers.any(),
                          "shearAngle": numbers.any(), "shearAxis": numbers.any()})
        style = {"fillPaint": True, "fill": {"color": color}}
        if rng.random() < 0.3:  # a dashed stroke beside the pattern fill
            style.update(dashed_stroke(rng, numbers))
        return {"id": ident, "type": "path", "rectangle": box, "style": style}
    if kind == "dashed":
        return {"id": ident, "type": "path", "polygon": [box[:2], box[2:]], "closed": False,
                "style": dashed_stroke(rng, numbers)}
    if kind == "text":
        paths = [{"matrix": numbers.matrix(), "text": "t%d" % i} for i in range(rng.randrange(1, 4))]
        return {"id": ident, "type": "text", "textPaths": paths}
    if kind in ("placed", "raster"):
        return {"id": ident, "type": kind, "matrix": numbers.matrix(), "size": [20, 10]}
    if kind == "mystery":
        return {"id": ident, "type": "mysteryPath", "rectangle": box, "style": dashed_stroke(rng, numbers)}
    if kind == "group":
        child = {"id": ident + "c", "type": "path", "rectangle": box,
                 "style": {"fillPaint": True,
                           "fill": {"color": {"kind": "pattern", "pattern": "Dots",
                                              "transform": numbers.matrix()}}}}
        return {"id": ident, "type": "group", "children": [child]}
    return {"id": ident, "type": "path", "rectangle": box,
            "style": {"fillPaint": True, "fill": {"color": {"kind": "gray", "gray": 0.5}}}}


def dashed_stroke(rng, numbers):
    lengths = [numbers.positive() if rng.random() < 0.9 else numbers.any() for _ in range(rng.randrange(0, 7))]
    dash = {"array": lengths, "offset": numbers.any()}
    if rng.random() < 0.1:  # a count the host gives outside 0..6
        dash["length"] = rng.choice([-1, 7, 40])
    return {"strokePaint": rng.random() < 0.9, "stroke": {"color": {"kind": "gray", "gray": 0}, "width": 1,
                                                         "dash": dash}}


def document(rng, numbers):
    art = [art_object(rng, numbers, i) for i in range(rng.randrange(3, 12))]
    patterns = [
        {"name": "Dots", "tile": [0, 0, 24, 24],
         "shapes": [{"kind": "ellipse", "bounds": [3, 3, 13, 13], "color": "#d04020"}]},
        {"name": "Bricks", "tile": [0, 0, 40, 20],
         "shapes": [{"kind": "rectangle", "bounds": [1, 1, 39, 9], "color": "#b5523b"}]},
    ]
    return {"units": "points", "patterns": patterns, "art": art}


def steps(rng, doc):
    ids = [a["id"] for a in doc["art"]]
    out = [{"do": "select", "art": rng.sample(ids, rng.randrange(1, len(ids) + 1))}]
    for _ in range(rng.randrange(10, 30)):
        roll = rng.random()
        if roll < 0.15:
            out.append({"do": "select", "art": rng.sample(ids, rng.randrange(0, len(ids) + 1))})
        elif roll < 0.75:
            out.append({"do": "click", "item": rng.choice(ITEMS), "keys": rng.sample(KEYS, rng.randrange(0, 5))})
        else:
            out.append({"do": "choose", "entry": rng.choice(ENTRIES)})
    return out


def session(seed):
    rng = random.Random(seed)
    numbers = Numbers(rng)
    doc = document(rng, numbers)
    return {"title": "parity %d" % seed, "document": doc, "steps": steps(rng, doc)}


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("out")
    parser.add_argument("--count", type=int, default=200)
    parser.add_argument("--seed", type=int, default=1)
    args = parser.parse_args()
    out = Path(args.out)
    out.mkdir(parents=True, exist_ok=True)
    for i in range(args.count):
        seed = args.seed * 100003 + i
        (out / ("parity-%06d.json" % seed)).write_text(json.dumps(session(seed), indent=1) + "\n")


if __name__ == "__main__":
    main()
