"""pello-host given what it must refuse, one class of bad input per test. Each row of a class is a
command line, the exit status it must end with, and a text its message must hold (the argument, path
or step at fault; or a tuple of texts it must all hold). No row may end on a signal, print "terminate called" or hang.
  check_bad_inputs.py --list
  check_bad_inputs.py CLASS HOST WORK PLUGIN NO_ENTRY_MODULE CRASHING_MODULE DOCUMENT"""
import json
import os
import shutil
import subprocess
import sys
import time

from bad_files import output_is_input, outputs_shared
from cli_support import SKIP, check, failures, fresh

OK, FAILED, MALFORMED, NO_PLUGIN, INTERNAL = 0, 1, 2, 3, 4


class Work:
    """The files the rows name, made in a fresh work folder."""

    def __init__(self, host, work, plugin, no_entry, crashing, document):
        self.host, self.work, self.plugin = host, fresh(work), plugin
        self.no_entry, self.crashing = no_entry, crashing
        self.document = self.path("document.json")
        shutil.copy(document, self.document)
        self.session = self.session_file("session.json", [])
        self.empty = self.write("empty", "")
        self.fifo = self.path("fifo")
        os.mkfifo(self.fifo)

    def path(self, *names):
        return os.path.join(self.work, *names)

    def write(self, name, text, mode="w"):
        with open(self.path(name), mode) as f:
            f.write(text)
        return self.path(name)

    def session_file(self, name, steps, **members):
        return self.write(name, json.dumps(dict({"document": "document.json", "steps": steps}, **members)))


def plugin_folder(w):
    return [(args + ["--plugin", w.work], NO_PLUGIN, w.work + ": a folder, not a module file")
            for args in (["run", w.session], ["session"], ["palette", "-o", w.path("p.svg")], ["validate"])]


def plugin_special(w):
    return [(["run", w.session, "--plugin", module], NO_PLUGIN, module + ": not a regular file")
            for module in ("/dev/null", w.fifo)] + [
        (["validate", "--plugin", w.fifo], NO_PLUGIN, w.fifo + ": not a regular file")]


def plugin_damaged(w):
    image = open(w.plugin, "rb").read()
    empty = w.write("empty.aip", b"", "wb")
    header = w.write("header.aip", image[:4096], "wb")
    short = w.write("short.aip", image[:-1], "wb")
    # Intact section table, nothing loadable: the program headers zeroed.
    zeroed = w.write("zeroed.aip", image[:64] + bytes(4096) + image[64 + 4096:], "wb")
    return [(["run", w.session, "--plugin", empty], NO_PLUGIN, empty + ": not an ELF module"),
            (["run", w.session, "--plugin", header], NO_PLUGIN, header + ": damaged ELF module"),
            (["session", "--plugin", short], NO_PLUGIN, short + ": damaged ELF module"),
            (["validate", short], NO_PLUGIN, short + ": damaged ELF module"),
            (["run", w.session, "--plugin", zeroed], NO_PLUGIN, zeroed + ": the library does not load"),
            (["run", w.session, "--plugin", w.document], NO_PLUGIN, w.document + ": not an ELF module")]


def plugin_no_entry(w):
    why = w.no_entry + ': the entry point "PluginMain" that the PiPL names is not exported'
    return [(args + ["--plugin", w.no_entry], NO_PLUGIN, why)
            for args in (["run", w.session], ["session"], ["palette", "-o", w.path("p.svg")], ["validate"])]


def plugin_crashes(w):
    said = "with the plug-in " + w.crashing + " loaded"
    rows = [(args + ["--plugin", w.crashing], INTERNAL, said)
            for args in (["run", w.session_file("start.json", [{"do": "startup"}])], ["session"],
                         ["palette", "-o", w.path("p.svg")])]
    # What was printed before the crash reaches the pipe, and the message names the step that was running.
    late = w.session_file("late.json", [{"do": "select", "art": []}, {"do": "startup"}], autostart=False)
    rows.append((["run", late, "--plugin", w.crashing], INTERNAL,
                 ("in steps[1] (startup) " + said, "== [0] select nothing", "== [1] startup")))
    # The validator runs each check in a child process: the crash fails the check, not the run; in its own
    # process the crash ends the run as the other subcommands end.
    return rows + [(["validate", w.crashing, "--only", "load.startup-time"], FAILED, "crashed with signal"),
                   (["validate", w.crashing, "--only", "load.startup-time", "--in-process"], INTERNAL, said)]


def plugin_relative(w):
    # A module named in the current folder is that file, not one on the library path.
    shutil.copy(w.plugin, w.path("Copy.aip"))
    return [(["run", w.session, "--plugin", "Copy.aip"], OK, "Session passed")]


def prefs_folder(w):
    return [(["session", "--prefs", w.work], MALFORMED, "--prefs: a folder, not a file: " + w.work),
            (["session", "--prefs", "/no/such/dir/p.json"], MALFORMED, "--prefs: no folder /no/such/dir")]


def prefs_unwritable(w):
    # Written at shutdown, where the plug-in has run: a file that cannot be written is not reported as saved.
    session = w.write("unwritable.json", json.dumps({"document": "document.json", "preferences": "/proc/self/p.json",
                                                     "steps": [{"do": "startup"}, {"do": "shutdown"}]}))
    rows = [(["session", "--prefs", "/proc/self/p.json"], MALFORMED,
             "--prefs: preferences file /proc/self/p.json cannot be written"),
            (["run", session], FAILED, "ERROR: preferences file /proc/self/p.json cannot be written")]
    if os.geteuid() == 0:
        print("skipped: the read-only folder row (root writes into any folder)")
        return rows
    locked = w.path("locked")
    os.makedirs(locked)
    os.chmod(locked, 0o555)
    return rows + [(["session", "--prefs", os.path.join(locked, "p.json")], MALFORMED, "cannot be written")]


def prefs_special(w):
    return [(["session", "--prefs", f], MALFORMED, "--prefs: not a regular file: " + f) for f in ("/dev/null", w.fifo)]


def prefs_damaged(w):
    damaged = w.write("prefs.json", "{ not json")
    kept = damaged + ".bak"
    result = ["session", "--prefs", damaged], OK, "is damaged; using defaults; the damaged file is kept as " + kept
    return [result + (lambda: check(open(kept).read() == "{ not json", "the damaged preferences are not kept"),)]


def out_not_a_folder(w):
    return [(["run", w.session, "--out", w.document], MALFORMED, "--out: a file, not a folder: " + w.document),
            (["run", w.session, "--out", w.path("document.json", "sub")], MALFORMED,
             "--out: cannot make the folder " + w.path("document.json", "sub")),
            (["render", w.document, "-o", w.path("document.json", "x.svg")], MALFORMED, "--output"),
            (["palette", "-o", w.work], MALFORMED, "--output: a folder, not a file: " + w.work),
            (["render", w.document, "-o", "/dev/null"], MALFORMED, "--output: not a regular file: /dev/null")]


def out_unwritable(w):
    rows = [(["run", w.session, "--out", "/proc/self/pello"], MALFORMED, "cannot write /proc/self/pello/before.svg")]
    if os.geteuid() == 0:
        print("skipped: the read-only folder rows (root writes into any folder)")
        return rows
    locked = w.path("locked")
    os.makedirs(locked)
    os.chmod(locked, 0o555)
    return rows + [(["run", w.session, "--out", os.path.join(locked, "out")], MALFORMED, "cannot write " + locked),
                   (["render", w.document, "-o", os.path.join(locked, "x.svg")], MALFORMED, "cannot write " + locked)]


def output_stdout(w):
    # "-" is standard output, never a file named "-".
    def nothing_named_dash():
        check(not os.path.exists(w.path("-")), "-o - wrote a file named -")
    return [(["render", w.document, "-o", "-"], OK, "<svg", nothing_named_dash),
            (["palette", "-o", "-"], OK, "<svg", nothing_named_dash)]


def session_special(w):
    # A pipe or a device is refused before it is read: reading it would block or never end.
    rows = [(["run", f], MALFORMED, "SESSION: not a regular file: " + f) for f in ("/dev/null", "/dev/zero", w.fifo)]
    rows.append((["render", w.fifo, "-o", "-"], MALFORMED, "DOCUMENT: not a regular file: " + w.fifo))
    fifo_document = w.write("fifo-document.json", json.dumps({"document": "fifo", "steps": []}))
    rows.append((["run", fifo_document], MALFORMED, "session.document: " + w.fifo + ": not a regular file"))
    return rows


def session_not_a_session(w):
    return [(["run", w.empty], MALFORMED, w.empty + ": not JSON"),
            (["run", w.write("number.json", "42")], MALFORMED, "session: expected an object"),
            (["render", w.empty, "-o", "-"], MALFORMED, w.empty + ":"),
            (["run", w.path("missing.json")], MALFORMED, "SESSION: no such file: " + w.path("missing.json"))]


def document_numbers(w):
    # Numbers JSON cannot hold (NaN), or that no double holds (1e999), in a session's own document, in a
    # document file and in a document to draw.
    rows = []
    for name, number in [("nan", "NaN"), ("huge", "1e999"), ("negative-huge", "-1e999")]:
        text = '{"art": [{"id": "p1", "type": "path", "matrix": [%s, 0, 0, 1, 0, 0]}]}' % number
        session = w.write(name + ".session.json", '{"document": %s, "steps": []}' % text)
        document = w.write(name + ".document.json", text)
        by_file = w.write(name + ".by-file.json", json.dumps({"document": name + ".document.json", "steps": []}))
        rows += [(["run", session], MALFORMED, session + ": not JSON"),
                 (["run", by_file], MALFORMED, "session.document: the document is refused"),
                 (["render", document, "-o", "-"], MALFORMED, document + ":")]
    return rows


def misspelt_names(w):
    fault = w.session_file("fault.json", [{"do": "fail", "op": "AIPathStyle::SetPathStile", "code": 5, "call": 1}])
    style = w.session_file("style.json", [{"do": "expectStyle", "art": "p1", "field": "stroke.dash.ofset",
                                           "value": 1}])
    return [(["run", fault], MALFORMED, 'steps[0].op: the host has no operation "AIPathStyle::SetPathStile"'),
            (["run", fault], MALFORMED, 'did you mean "AIPathStyle::SetPathStyle"'),
            (["run", style], MALFORMED, 'steps[0].field: no style field "stroke.dash.ofset"')]


def command_line(w):
    # An unknown word is named, not taken for a missing subcommand or for a file "-".
    return [(["bogus"], MALFORMED, 'unknown subcommand "bogus"'),
            (["--bogus"], MALFORMED, 'unknown option "--bogus"'),
            (["run", w.session, "--bogus"], MALFORMED, 'run: unknown option "--bogus"'),
            (["run", w.session, "-o", "-"], MALFORMED, 'run: unknown option "-o"'),
            (["run"], MALFORMED, "SESSION is required"),
            (["render", w.document], MALFORMED, "--output is required"),
            (["run", w.session, w.session, "--out", w.path("out")], MALFORMED, "--out takes one session")]


# Nesting: every reader refuses arrays and objects nested deeper than 256 levels before anything recurses
# over them, naming the place (elided in the middle) and the limit; art nests at most 100 levels.
NESTED = "nested deeper than 256 levels of arrays and objects"
DEEP = 100000


def nested_groups(levels):
    """Art `levels` deep: groups g1..g(levels-1) around a selected path p1 filled with a pattern."""
    art = {"id": "p1", "type": "path", "rectangle": [0, 0, 20, 20],
           "style": {"fillPaint": True, "fill": {"color": {"kind": "pattern", "pattern": "Dots"}}}}
    for level in range(levels - 1, 0, -1):
        art = {"id": "g%d" % level, "type": "group", "children": [art]}
    return {"patterns": [{"name": "Dots", "tile": [0, 0, 10, 10],
                          "shapes": [{"kind": "ellipse", "bounds": [2, 2, 8, 8]}]}],
            "art": [art], "selection": ["p1"]}


def deep_groups_text(levels):
    """A document of `levels` nested groups, written without recursion (json.dumps would need it)."""
    return ('{"art": [' + "".join('{"id": "g%d", "type": "group", "children": [' % i for i in range(levels)) +
            "]}" * levels + "]}")


def nested_document(w):
    deep = w.write("deep.json", deep_groups_text(5000))
    by_file = w.session_file("by-file.json", [], document="deep.json")
    inline = w.write("inline.json", '{"steps": [], "document": ' + deep_groups_text(5000) + "}")
    beyond = w.write("beyond.json", json.dumps(nested_groups(101)))
    place = "art[0].children[0].children[0].children[0]...children[0].children[0]"
    art_limit = "art nests at most 100 levels deep"
    rows = [(["render", deep, "-o", "-"], MALFORMED, (deep + ": " + place, NESTED)),
            (["run", by_file], MALFORMED, ("session.document: the document is refused: " + place, NESTED)),
            (["run", inline], MALFORMED, (inline + ": document.art[0].children[0]", NESTED)),
            (["render", beyond, "-o", "-"], MALFORMED, ("art[0].children[0].children[0]", art_limit))]
    if has_play(w):
        rows.append((["play", deep], MALFORMED, ("malformed document", place, NESTED)))
    return rows


def nested_selection(w):
    arrays = "[" * DEEP + "]" * DEEP
    step = w.write("select.json", '{"document": "document.json", "steps": [{"do": "select", "art": %s}]}' % arrays)
    member = w.write("selection.json", '{"document": {"art": [], "selection": %s}, "steps": []}' % arrays)
    return [(["run", step], MALFORMED, (step + ": steps[0].art[0][0][0][0][0]...[0][0][0][0]: " + NESTED,)),
            (["run", member], MALFORMED, (member + ": document.selection[0][0][0]", NESTED))]


def nested_expectation(w):
    value = '{"a": ' * DEEP + "1" + "}" * DEEP
    step = w.write("expect.json", '{"document": "document.json", "steps": [{"do": "expectStyle", "art": "p1", '
                                  '"field": "fill.color.kind", "value": %s}]}' % value)
    return [(["run", step], MALFORMED, (step + ": steps[0].value.a.a.a.a.a...a.a.a.a: " + NESTED,))]


def nested_preferences(w):
    prefs = w.write("deep-prefs.json", '{"p": ' * DEEP + "1" + "}" * DEEP)
    said = "preferences file " + prefs + ": p.p.p.p.p.p.p.p...p.p.p.p: " + NESTED
    session = w.session_file("with-prefs.json", [], preferences="deep-prefs.json")
    rows = [(["session", "--prefs", prefs], MALFORMED, ("--prefs: " + said,)),
            (["run", session], MALFORMED, ("session.preferences: " + said,))]
    if has_play(w):
        rows.append((["play", "--prefs", prefs], MALFORMED, ("--prefs: " + said,)))
    return rows


def nested_to_the_limit(w):
    """Not refused: art nested as deep as allowed is read, shifted, compared, drawn and written back, and costs
    in proportion to its depth."""
    def document(levels):
        return w.write("limit-%d.json" % levels, json.dumps(nested_groups(levels)))
    limit = document(100)
    session = w.session_file("limit-session.json", [
        {"do": "click", "item": "up"},
        {"do": "expectMatrix", "art": "p1", "value": [1, 0, 0, 1, 0, -1], "tolerance": 0}], document="limit-100.json")
    out = w.path("out")

    def elapsed(levels):
        path = document(levels)
        times = []
        for _ in range(3):
            start = time.monotonic()
            subprocess.run([w.host, "render", path, "-o", w.path("timed.svg")], check=True, capture_output=True)
            times.append(time.monotonic() - start)
        return min(times)
    quarter, whole = elapsed(25), elapsed(100)
    # Linear: four times the depth, about four times the cost (a cost in the square of it would be 16 times).
    check(whole <= 4 * quarter + 0.5, "render of 100 levels took %.2f s, of 25 levels %.2f s" % (whole, quarter))

    def pictures_drawn():
        after = open(os.path.join(out, "after.svg")).read()
        check("p1" in after, "after.svg does not show the innermost path p1")
    return [(["render", limit, "-o", "-"], OK, "<svg"),
            (["run", session, "--out", out], OK, ("[1] ok: p1 pattern matrix = [1, 0, 0, 1, 0, -1]", "Session passed"), pictures_drawn)]


def has_play(w):
    return subprocess.run([w.host, "play", "--help"], capture_output=True).returncode == 0


def validate_numbers(w):
    rows = [(["validate", "--steps", n], MALFORMED, "--steps: expected 1 or more, not " + n) for n in ("0", "-3")]
    return rows + [(["validate", "--cycles", "0"], MALFORMED, "--cycles: expected 1 or more, not 0"),
                   (["validate", "--steps", "many"], MALFORMED, "--steps"),
                   (["validate", "--seed", "-1"], MALFORMED, "--seed: expected a seed of 0 or more, not -1"),
                   (["validate", "--strictness", "11"], MALFORMED, "--strictness: Value 11 not in range 1 to 10"),
                   (["validate", "--timeout", "0"], MALFORMED, "--timeout: expected 1 or more, not 0"),
                   (["validate", "--repeat", "0"], MALFORMED, "--repeat: expected 1 or more, not 0"),
                   (["validate", "--only", "lode"], MALFORMED, 'no group or check matches "lode"'),
                   (["validate", "--seed", "18446744073709551616"], MALFORMED, "--seed: expected a seed of at most"),
                   (["validate", "--repeat", "1073741824"], MALFORMED, "--repeat: expected at most 10000"),
                   (["validate", "--time-limit", "0"], MALFORMED, "--time-limit: expected 1 or more, not 0"),
                   (["validate", "--junit", w.path("document.json", "x.xml")], MALFORMED, "--junit: cannot write"),
                   (["validate", "--artifacts", w.document], MALFORMED, "--artifacts: cannot make the folder")]


def validate_base10(w):
    # Base 10 only, no space, sign or prefix: each of these was once read as another number (0x0 as 0,
    # " -1" as 2^64 - 1).
    rows = [("--repeat", "0x0"), ("--timeout", "0x0"), ("--seed", " -1"), ("--strictness", "0x5"),
            ("--steps", "1e3"), ("--time-limit", "+5"), ("--cycles", "")]
    return [(["validate", option, n], MALFORMED, option + ": expected a whole number in base 10, not " + n)
            for option, n in rows]


def validate_two_modules(w):
    return [(["validate", w.plugin, "--plugin", w.no_entry], MALFORMED, "plugin excludes --plugin")]


CLASSES = {f.__name__: f for f in [
    plugin_folder, plugin_special, plugin_damaged, plugin_no_entry, plugin_crashes, plugin_relative, prefs_folder,
    prefs_unwritable, prefs_special, prefs_damaged, out_not_a_folder, out_unwritable, output_stdout, session_special,
    session_not_a_session, document_numbers, misspelt_names, command_line, validate_numbers, validate_base10,
    validate_two_modules, nested_document, nested_selection, nested_expectation, nested_preferences,
    nested_to_the_limit, output_is_input, outputs_shared]}


def check_row(w, args, status, text, after=None, stdout_file=None):
    """`stdout_file`: standard output goes to that file, not to a pipe."""
    shown = "pello-host " + " ".join(args) + (" > " + stdout_file if stdout_file else "")
    try:
        with open(stdout_file, "w") if stdout_file else open(os.devnull) as redirected:
            result = subprocess.run([w.host] + args, cwd=w.work, stdout=redirected if stdout_file else subprocess.PIPE,
                                    stderr=subprocess.PIPE, text=True, timeout=60, stdin=subprocess.DEVNULL)
    except subprocess.TimeoutExpired:
        check(False, "%s did not end within 60 s" % shown)
        return
    said = (result.stdout or "") + result.stderr
    ended_by_signal = result.returncode < 0 or 128 < result.returncode <= 128 + 64
    check(not ended_by_signal, "%s ended on a signal (status %d)" % (shown, result.returncode))
    check("terminate called" not in said, "%s aborted: %s" % (shown, result.stderr.strip()))
    check(result.returncode == status, "%s exited %d, not %d: %s" % (shown, result.returncode, status,
                                                                      result.stderr.strip()[:600]))
    for part in text if isinstance(text, tuple) else (text,):
        check(part in said, "%s: the message %r does not hold %r" % (shown, result.stderr.strip()[:600], part))
    if after:
        after()
    print("%d  %s\n   %s" % (result.returncode, shown, (result.stderr.strip() or said.strip())[:300]))


def main(argv):
    if argv[1:] == ["--list"]:
        print("\n".join(CLASSES))
        return 0
    name, host, work, plugin, no_entry, crashing, document = argv[1:]
    if name == "plugin_crashes" and os.environ.get("PELLO_ADDRESS_SANITIZER"):
        print("skipped: AddressSanitizer reports a crash itself, with its own status")
        return SKIP
    w = Work(host, work, plugin, no_entry, crashing, document)
    for row in CLASSES[name](w):
        check_row(w, *row)
    for failure in failures:
        print("FAILED: " + failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
