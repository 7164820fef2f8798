"""What a session can say beyond clicks: names checked before the run, the host's other calls, its own error
text list and layout area, faults that never fired, bit-exact floats and the absence of a dialog."""
import json
import os
import shutil
import subprocess
from xml.etree import ElementTree

from cli_support import check, fresh, run


def run_session(exe, work, name, session, *options):
    path = os.path.join(work, name + ".json")
    json.dump(dict({"document": "document.json"}, **session), open(path, "w"))
    return run([exe, "run", path] + list(options))


def events_of(result):
    try:
        return json.loads(result.stdout)["events"]
    except ValueError as error:
        check(False, "no JSON transcript: %s\n%s" % (error, result.stderr))
        return []


def expectations(events):
    return [(e["what"], e["passed"]) for e in events if e["event"] == "expectation"]


REFUSED_NAMES = [
    # (steps, what the message must name)
    ([{"do": "fail", "op": "AIPathStyle::SetPathStile", "code": "PARM", "always": True}],
     ['steps[0].op', '"AIPathStyle::SetPathStyle"']),
    ([{"do": "fail", "op": "AIFrobnicate::Now", "code": "PARM", "always": True}], ["steps[0].op", "known"]),
    ([{"do": "select", "art": ["p1"]},
      {"do": "expectStyle", "art": "p1", "field": "stroke.dash.ofset", "value": 0}],
     ["steps[1].field", '"stroke.dash.offset"']),
    ([{"do": "menuGo", "menuItem": "another"}], ["steps[0].menuItem", "plugin, other, none"]),
    ([{"do": "notify", "notifier": "mine"}], ["steps[0].notifier"]),
    ([{"do": "call", "caller": "AI Menu"}], ['steps[0]: missing "selector"']),
]


def check_refused_names(exe, work):
    for index, (steps, named) in enumerate(REFUSED_NAMES):
        result = run_session(exe, work, "refused-%d" % index, {"steps": steps})
        check(result.returncode == 2, "%s exited %d, not 2" % (steps, result.returncode))
        for text in named:
            check(text in result.stderr, "%s: the message %r does not name %s" % (steps, result.stderr.strip(), text))
    result = run_session(exe, work, "too-many-texts", {"errorTexts": ["1", "x"] * 501, "steps": []})
    check(result.returncode == 2 and "session.errorTexts" in result.stderr, "1002 error texts are not refused")
    result = run_session(exe, work, "bad-bounds", {"layoutBounds": [0, 0, 10], "steps": []})
    check(result.returncode == 2 and "session.layoutBounds" in result.stderr, "three layout bounds are not refused")


def check_error_texts(exe, work):
    """A list of the session's own: 40000 stands for 40000 - 65536, 12.7 for 12."""
    steps = [{"do": "startup"}]
    for code, message in [(12, "twelve"), (-25536, "forty thousand"), (7, "the last message serves the rest")]:
        steps += [{"do": "fail", "op": "SPBasic::AcquireSuite", "code": code, "call": 27},
                  {"do": "menuUpdate"},
                  {"do": "expectDialog", "title": "Plug-in Error", "texts": [message, str(code)]}]
    session = {"autostart": False, "steps": steps,
               "errorTexts": ["40000", "forty thousand", "12.7", "twelve", "3", "the last message serves the rest"]}
    result = run_session(exe, work, "error-texts", session, "--json")
    check(result.returncode == 0, "the session's error texts are not the ones shown: %s"
          % [what for what, passed in expectations(events_of(result)) if not passed])
    # --json with --verbose: every host call as an event, in order, the injected ones marked.
    calls = [e for e in events_of(result) if e["event"] == "call"]
    check(not calls, "--json without --verbose lists %d calls" % len(calls))
    result = run_session(exe, work, "error-texts", session, "--json", "--verbose")
    calls = [e for e in events_of(result) if e["event"] == "call"]
    injected = [(e["op"], e["result"]) for e in calls if e.get("injected")]
    check(len(calls) > 100 and calls[0]["op"] == "PluginMain", "--json --verbose lists %d calls" % len(calls))
    check(injected == [("SPBasic::AcquireSuite", code) for code in (12, -25536, 7)],
          "--json --verbose shows the injected calls as %s" % injected)


def check_host_calls(exe, work):
    """Calls a plug-in must answer without acting: another plug-in's menu item and notifier, an item
    notification of another type, a selector it does not know. The palette stays as it was."""
    session = {"layoutBounds": [0, 0, 400, 300], "steps": [
        {"do": "select", "art": ["p1"]},
        {"do": "menuGo", "menuItem": "other"},
        {"do": "notify", "notifier": "other", "type": "AI Application Started Notifier"},
        {"do": "notifyItem", "item": "up", "type": "ADM Drop Notifier"},
        {"do": "call", "caller": "AI Menu", "selector": "AI Frobnicate"},
        {"do": "expectNoDialog"},
        {"do": "expectAlerts", "alerts": []},
        {"do": "expectMatrix", "art": "p1", "value": [1, 0, 0, 1, 0, 0], "tolerance": 0},
        {"do": "click", "item": "up"},
        {"do": "expectMatrix", "art": "p1", "value": [1, 0, 0, 1, 0, -1], "tolerance": 0},
        {"do": "about"},
        {"do": "expectNoDialog"}]}
    result = run_session(exe, work, "host-calls", session, "--json")
    events = events_of(result)
    check(result.returncode == 1, "expectNoDialog after the About box did not fail (exit %d)" % result.returncode)
    check([passed for _, passed in expectations(events)] == [True] * 4 + [False],
          "the plug-in acted on calls that were not its own: %s" % expectations(events))
    steps = {e["index"]: e["title"] for e in events if e["event"] == "step"}
    check("another plug-in's menu item" in steps.get(1, "") and "another plug-in's notifier" in steps.get(2, "")
          and '"AI Menu", "AI Frobnicate"' in steps.get(4, ""), "the steps do not say what the host sent: %s" % steps)
    notes = [e["text"] for e in events if e["event"] == "note"]
    check(any("layout area the host reports: (0, 0, 400, 300)" in n for n in notes),
          "the layout area is not shown: %s" % notes)
    palette = [n for n in notes if n.startswith('palette "PelloDialog"')]
    if check(palette, "the palette's bounds are not shown"):
        left, top, right, bottom = [int(v) for v in palette[0].split("bounds (")[1].split(")")[0].split(", ")]
        check(0 <= left < right <= 400 and 0 <= top < bottom <= 300,
              "the palette is not placed in the layout area the host reports: %s" % palette[0])


def check_exact_floats(exe, work):
    """Tolerance 0 compares single-precision floats bit for bit: -1.00000001 is the float -1, -1.0000001 not."""
    base = [{"do": "select", "art": ["p1"]}, {"do": "click", "item": "up"}]
    for ty, met in [(-1.00000001, True), (-1.0000001, False)]:
        expect = {"do": "expectMatrix", "art": "p1", "value": [1, 0, 0, 1, 0, ty], "tolerance": 0}
        result = run_session(exe, work, "exact", {"steps": base + [expect]})
        check(result.returncode == (0 if met else 1), "ty %r at tolerance 0 exited %d" % (ty, result.returncode))


def check_faults_never_fired(exe, work):
    session = {"steps": [
        {"do": "fail", "op": "AIPathStyle::SetPathStyle", "code": "PARM", "call": 1},
        {"do": "fail", "op": "AIArt::GetArtType", "code": "PARM", "call": 500},
        {"do": "fail", "op": "AINotifier::SetNotifierActive", "code": "PARM", "always": True},
        {"do": "select", "art": ["p1"]},
        {"do": "click", "item": "up"}]}
    result = run_session(exe, work, "never-fired", session)
    warnings = [line.strip() for line in result.stdout.splitlines() if "never fired" in line]
    check(len(warnings) == 2 and "step [1]" in warnings[0] and "step [2]" in warnings[1],
          "the faults that never fired are not listed: %s" % warnings)


def check_judging_steps(exe, work):
    """The steps validate writes into shrunk sessions: alerts among others, alerts the plug-in can show (a
    refused number shown empty only after a refused number), and nothing more held each time the library left."""
    refused_write = [{"do": "select", "art": ["p1"]},
                     {"do": "fail", "op": "AIPathStyle::SetPathStyle", "code": "PARM", "call": 1},
                     {"do": "click", "item": "up"}]
    cases = [
        ("includes", refused_write + [{"do": "expectAlerts", "includes": ["ERROR!"]},
                                      {"do": "expectAlerts", "includes": ["There was an error, filter cancelled."]},
                                      {"do": "expectKnownAlerts"}], [True, True, True]),
        ("includes in order", refused_write + [{"do": "expectAlerts", "includes": [
            "There was an error, filter cancelled.", "ERROR!"]}], [False]),
        ("error alerts", refused_write + [{"do": "expectKnownAlerts", "errors": False}], [False]),
        ("numbers", [{"do": "select", "art": ["p1"]}, {"do": "choose", "entry": "copy"},
                     {"do": "fail", "op": "AIUser::AIRealToString", "code": "PARM", "always": True},
                     {"do": "choose", "entry": "show"}, {"do": "expectKnownAlerts", "errors": False}], [True]),
        ("loads", [{"do": "shutdown"}, {"do": "unload"}, {"do": "reload"}, {"do": "unload"}, {"do": "reload"},
                   {"do": "unload"}, {"do": "expectSteadyLoads"}], [True]),
    ]
    for name, steps, met in cases:
        result = run_session(exe, work, "judging-" + name, {"steps": steps}, "--json")
        found = [passed for _, passed in expectations(events_of(result))]
        check(found == met, "%s: expectations met %s, not %s\n%s" % (name, found, met, result.stderr))
    result = run_session(exe, work, "judging-both", {"steps": [{"do": "expectAlerts", "alerts": [], "includes": []}]})
    check(result.returncode == 2 and "steps[0]" in result.stderr, "alerts and includes together are not refused")


def check_pictures_hold_any_text(exe, work):
    """Texts XML cannot carry and a title longer than the picture is wide: the pictures still open, whole."""
    document = json.load(open(os.path.join(work, "document.json")))
    document["art"][0]["name"] = "\u0001\uffff<&>"
    document["art"].append({"id": "t\u0002", "type": "text",
                            "textPaths": [{"matrix": [1, 0, 0, 1, 20, 300], "text": "a\u0003b\ufffe <c> & \"d\""}]})
    title = " ".join("word%d" % i for i in range(60))
    out = os.path.join(work, "pictures")
    result = run_session(exe, work, "texts", {"title": title, "document": document, "steps": []}, "--out", out)
    check(result.returncode == 0, "the session with odd texts exited %d: %s" % (result.returncode, result.stderr))
    for picture in ("before.svg", "after.svg"):
        try:
            root = ElementTree.parse(os.path.join(out, picture)).getroot()
        except (OSError, ElementTree.ParseError) as error:
            check(False, "%s is not well-formed XML: %s" % (picture, error))
            continue
        caption = " ".join("".join(t.itertext()) for t in root.iter("{http://www.w3.org/2000/svg}tspan"))
        check(title in caption, "%s does not show the whole title: %r" % (picture, caption))


def check_texts_not_utf8(exe, work):
    """The plug-in hands the host bytes that are not UTF-8: a four-character error code with bytes of 0x80
    and above in the error dialog. Both transcripts are UTF-8, the bytes shown as U+FFFD, and a session can
    expect them as shown."""
    steps = [{"do": "startup"}]
    for code, shown in [(-65537, "\ufffd\ufffd\ufffd\ufffd"), (0xFF414243 - 2**32, "\ufffdABC")]:
        steps += [{"do": "fail", "op": "SPBasic::AcquireSuite", "code": code, "call": 27},
                  {"do": "menuUpdate"},
                  {"do": "expectDialog", "title": "Plug-in Error", "texts": ["bytes", shown]}]
    path = os.path.join(work, "not-utf8.json")
    json.dump({"document": "document.json", "autostart": False, "steps": steps, "errorTexts": ["1", "bytes"]},
              open(path, "w"))
    for options in ([], ["--json"], ["--json", "--verbose"], ["--verbose"]):
        result = subprocess.run([exe, "run", path] + options, capture_output=True, timeout=120)
        said = "run %s: exit %d" % (" ".join(options), result.returncode)
        try:
            out = result.stdout.decode("utf-8")
        except UnicodeDecodeError as error:
            check(False, "%s, the transcript is not UTF-8: %s" % (said, error))
            continue
        check(result.returncode == 0, "%s: %s" % (said, result.stderr.decode("utf-8", "replace")))
        check("\ufffdABC" in out, "%s: the code is not shown with U+FFFD" % said)
        if "--json" in options:
            check(isinstance(json.loads(out), dict), "%s: not one JSON object" % said)


def check_sessions(exe, work, document):
    fresh(work)
    shutil.copy(document, os.path.join(work, "document.json"))
    check_refused_names(exe, work)
    check_error_texts(exe, work)
    check_host_calls(exe, work)
    check_exact_floats(exe, work)
    check_faults_never_fired(exe, work)
    check_judging_steps(exe, work)
    check_pictures_hold_any_text(exe, work)
    check_texts_not_utf8(exe, work)
    return 0
