#!/usr/bin/env python3
"""The session and document schemas against pello-host's reader:

  check_schemas.py PELLO_HOST WORKDIR SCHEMA_DIR SOURCE_DIR

Every session and document under examples/ and tests/ (and a few generated
parity sessions) must be valid; each bad input below must be refused by the
schema and by `pello-host run` (exit 2, nothing run); each unusual good one
accepted by both. Exits 0 when all hold, 1 otherwise.
"""
import glob
import json
import os
import shutil
import sys

import jsonschema

from cli_support import check, failures, fresh, run


def S(steps, **members):
    """A session on the failures example's document (p1, p2, p3, t1, d1...)."""
    return dict({"document": "document.json", "steps": steps}, **members)


def D(document, steps=()):
    """A session carrying its own document."""
    return {"document": document, "steps": list(steps)}


PATH = {"id": "p", "type": "path"}


def path_with(**members):
    return D({"art": [dict(PATH, **members)]})


FAIL = {"do": "fail", "op": "AIArt::GetArtType", "code": "PARM"}

BAD = [
    ("title not a string", S([], title=5)),
    ("unknown session member", S([], colour=1)),
    ("no steps", {"document": "document.json"}),
    ("empty document path", S([], document="")),
    ("empty preferences path", S([], preferences="")),
    ("autostart not a boolean", S([], autostart="yes")),
    ("a step without do", S([{"note": "what?"}])),
    ("unknown do", S([{"do": "jump"}])),
    ("a member of another step", S([{"do": "about", "item": 3}])),
    ("click without item", S([{"do": "click"}])),
    ("unknown item", S([{"do": "click", "item": "sideways"}])),
    ("item beyond 64 bits signed", S([{"do": "click", "item": 18446744073709551615}])),
    ("key 0", S([{"do": "click", "item": "up", "keys": [0]}])),
    ("key 256", S([{"do": "click", "item": "up", "keys": ["shift", 256]}])),
    ("seven keys", S([{"do": "click", "item": "up", "keys": ["shift"] * 7}])),
    ("empty entry", S([{"do": "choose", "entry": ""}])),
    ("unknown menu item owner", S([{"do": "menuGo", "menuItem": "someone"}])),
    ("move by three", S([{"do": "movePalette", "by": [1, 2, 3]}])),
    ("move too far", S([{"do": "movePalette", "by": [100001, 0]}])),
    ("operation without ::", S([dict(FAIL, op="GetArtType", call=1)])),
    ("code too long", S([dict(FAIL, code="TOOLONG", call=1)])),
    ("code beyond 32 bits", S([dict(FAIL, code=4294967296, call=1)])),
    ("code wrapping to -1", S([dict(FAIL, code=18446744073709551615, call=1)])),
    ("neither call nor always", S([FAIL])),
    ("call and always", S([dict(FAIL, call=1, always=True)])),
    ("always false alone", S([dict(FAIL, always=False)])),
    ("call 0", S([dict(FAIL, call=0)])),
    ("matrix of four", S([{"do": "expectMatrix", "art": "p1", "value": [1, 0, 0, 1]}])),
    ("matrix of strings", S([{"do": "expectMatrix", "art": "p1", "value": ["1", 0, 0, 1, 0, 0]}])),
    ("negative tolerance", S([{"do": "expectStyle", "art": "p1", "field": "clip", "value": 0, "tolerance": -1}])),
    ("negative text path", S([{"do": "expectMatrix", "art": "t1", "textPath": -1, "value": [1, 0, 0, 1, 0, 0]}])),
    ("preference of three", S([{"do": "expectPreference", "key": "k", "value": [1, 2, 3]}])),
    ("preference not an integer", S([{"do": "expectPreference", "key": "k", "value": 1.5}])),
    ("alerts not strings", S([{"do": "expectAlerts", "alerts": [1]}])),
    ("expectClean with a member", S([{"do": "expectClean", "what": ["blocks"]}])),
    ("alerts and includes", S([{"do": "expectAlerts", "alerts": [], "includes": []}])),
    ("errors not a boolean", S([{"do": "expectKnownAlerts", "errors": "no"}])),
    ("expectSteadyLoads with a member", S([{"do": "expectSteadyLoads", "first": 1}])),
    ("1001 error texts", S([], errorTexts=["x"] * 1001)),
    ("layout bounds of three", S([], layoutBounds=[0, 0, 10])),
    ("layout bounds out of range", S([], layoutBounds=[0, 0, 10, 1000001])),
    ("unknown document member", D({"layers": []})),
    ("unknown units", D({"units": "furlongs"})),
    ("art without type", D({"art": [{"id": "p"}]})),
    ("empty art id", D({"art": [dict(PATH, id="")]})),
    ("a group's member on a path", path_with(children=[])),
    ("a rectangle that says closed", path_with(rectangle=[0, 0, 1, 1], closed=True)),
    ("two outlines", path_with(rectangle=[0, 0, 1, 1], polygon=[[0, 0], [1, 1]])),
    ("a point of three", path_with(segments=[[0, 0, 0]])),
    ("beyond single precision", path_with(rectangle=[0, 0, 10, 3.5e38])),
    ("infinity misspelt", path_with(rectangle=[0, 0, 10, "Inf"])),
    ("boolean beyond 32 bits", path_with(style={"clip": 2147483648})),
    ("seven dashes", path_with(style={"stroke": {"dash": {"array": [1] * 7}}})),
    ("unknown cap", path_with(style={"stroke": {"cap": "square"}})),
    ("a gray colour's cyan", path_with(style={"fill": {"color": {"kind": "gray", "cyan": 1}}})),
    ("colour kind 256", path_with(style={"fill": {"color": {"kind": 256}}})),
    ("matrix object lacking ty", D({"art": [{"id": "i", "type": "placed",
                                              "matrix": {"a": 1, "b": 0, "c": 0, "d": 1, "tx": 0}}]})),
    ("art type beyond 16 bits", D({"art": [{"id": "x", "type": 40000}]})),
    ("shape colour #rgb", D({"patterns": [{"name": "s", "tile": [0, 0, 1, 1],
                                          "shapes": [{"kind": "rectangle", "bounds": [0, 0, 1, 1], "color": "#fff"}]}]})),
    ("polygon shape with bounds", D({"patterns": [{"name": "s", "tile": [0, 0, 1, 1],
                                                  "shapes": [{"kind": "polygon", "bounds": [0, 0, 1, 1],
                                                              "points": []}]}]})),
    ("selected twice", D({"art": [PATH], "selection": ["p", "p"]})),
]

UNUSUAL = [
    ("keys by number and other names", S([{"do": "select", "art": ["p1"]},
                                           {"do": "click", "item": 1, "keys": [16, "win", "control"]}])),
    ("entries by text and index", S([{"do": "select", "art": ["p1"]},
                                      {"do": "choose", "entry": "Show transformation matrix"},
                                      {"do": "choose", "entry": 2, "keys": []}])),
    ("codes quoted, unsigned and negative", S([dict(FAIL, code="'PARM'", call=5, always=False),
                                               dict(FAIL, code=4294967295, always=True),
                                               dict(FAIL, code=-2147483648, call=1000000),
                                               {"do": "expectResult", "result": "'\n\t  '"}], autostart=False)),
    ("host settings at their limits", S([{"do": "notify", "notifier": "other"}, {"do": "menuGo", "menuItem": "none"},
                                         {"do": "movePalette", "by": [-100000, 100000]},
                                         {"do": "expectPreference", "prefix": "", "key": "k", "value": None},
                                         {"do": "shutdown"}, {"do": "expectClean", "note": "nothing held"},
                                         {"do": "expectAlerts", "includes": []}, {"do": "expectKnownAlerts", "errors": False},
                                         {"do": "unload"}, {"do": "expectSteadyLoads"}],
                                        errorTexts=[""] * 1000, layoutBounds=[-1000000, 0, 1000000, 5])),
    ("a document at the edges of its format", D({
        "units": "pixels", "modified": -7,
        "patterns": [{"name": "s", "tile": [0, 0, 1, 1]}],
        "art": [dict(PATH, segments=[{"p": [0, 0], "corner": 0}, ["NaN", "-Infinity"]], closed=3,
                     style={"fill": {"color": {"kind": "pattern", "pattern": "s",
                                               "transform": {"a": 1, "b": 0, "c": 0, "d": 1, "tx": 0, "ty": -0.0}}},
                            "stroke": {"color": {"kind": 9}, "cap": -32768, "join": "bevel",
                                       "dash": {"length": -1, "array": [3.4028235e38]}}}),
                {"id": "g", "type": "compoundPath", "children": [{"id": "x", "type": 12, "name": ""}]},
                {"id": "t", "type": 5, "textPaths": [{}]}],
        "selection": ["x", "p"]}, [{"do": "expectMatrix", "art": "t", "value": [1, 0, 0, 1, 0, 0], "tolerance": 0}])),
]


def validators(schema_dir):
    schemas = [json.load(open(os.path.join(schema_dir, name)))
               for name in ("session.schema.json", "document.schema.json")]
    for schema in schemas:
        jsonschema.Draft202012Validator.check_schema(schema)
    session, document = schemas
    resolver = jsonschema.RefResolver.from_schema(session, store={document["$id"]: document})
    return jsonschema.Draft202012Validator(session, resolver=resolver), jsonschema.Draft202012Validator(document)


def problems(validator, value):
    return ["%s: %s" % (e.json_path, e.message[:200]) for e in validator.iter_errors(value)]


def main(exe, work, schema_dir, source):
    session_schema, document_schema = validators(schema_dir)
    files = sorted(glob.glob(os.path.join(source, "examples", "*", "*.json")) +
                   glob.glob(os.path.join(source, "tests", "**", "*.json"), recursive=True))
    sessions = {f: json.load(open(f)) for f in files if f.endswith("session.json")}
    documents = {f: json.load(open(f)) for f in files if f.endswith("document.json")}
    for f, session in sessions.items():
        if isinstance(session.get("document"), str):
            named = os.path.join(os.path.dirname(f), session["document"])
            documents.setdefault(named, json.load(open(named)))
    sys.path.insert(0, os.path.join(source, "tests", "parity"))
    import make_parity_sessions
    for seed in range(1, 21):
        sessions["parity session %d" % seed] = make_parity_sessions.session(seed)
    check(len(sessions) > 10 and len(documents) > 5, "found only %s and %s" % (list(sessions), list(documents)))
    for validator, found in ((session_schema, sessions), (document_schema, documents)):
        for name, value in found.items():
            said = problems(validator, value)
            check(not said, "%s is not valid: %s" % (name, "; ".join(said[:5])))

    fresh(work)
    shutil.copy(os.path.join(source, "examples", "failures", "document.json"), work)
    for expect_valid, table in ((False, BAD), (True, UNUSUAL)):
        for index, (label, session) in enumerate(table):
            valid = not problems(session_schema, session)
            check(valid == expect_valid, "the schema %s %s" % ("refuses" if expect_valid else "accepts", label))
            path = os.path.join(work, "%s-%d.json" % ("good" if expect_valid else "bad", index))
            json.dump(session, open(path, "w"))
            result = run([exe, "run", path])
            if expect_valid:
                check(result.returncode in (0, 1), "run exited %d on %s: %s" % (result.returncode, label,
                                                                                 result.stderr.strip()))
            else:
                check(result.returncode == 2 and result.stdout == "",
                      "run exited %d on %s, not 2: %s" % (result.returncode, label, result.stdout[:300]))
    for failure in failures:
        print("FAIL:", failure)
    if failures:
        return 1
    print("%d sessions and %d documents valid; %d bad inputs refused and %d unusual ones accepted by both"
          % (len(sessions), len(documents), len(BAD), len(UNUSUAL)))
    return 0


if __name__ == "__main__":
    if len(sys.argv) != 5:
        print(__doc__)
        sys.exit(2)
    sys.exit(main(*sys.argv[1:]))
