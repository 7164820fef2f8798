"""pello-host refusing what it cannot run: malformed sessions, command lines and file arguments (exit 2),
failing expectations and steps (exit 1), and modules that are not plug-ins (exit 3)."""
import json
import os
import shutil

from cli_support import check, fresh, run


MALFORMED = [
    # (session, what the message must name)
    ("[]", "session: expected an object"),
    ('{"document": "document.json"}', 'session: missing "steps"'),
    ('{"document": "missing.json", "steps": []}', "session.document"),
    ('{"document": "document.json", "steps": [], "colour": 1}', 'unknown member "colour"'),
    ('{"document": "document.json", "steps": [{"do": "select", "art": ["p1"]}, {"do": "jump"}]}',
     'steps[1].do: unknown step "jump"'),
    ('{"document": "document.json", "steps": [{"do": "click", "item": "up", "keys": ["shift", "hyper"]}]}',
     'steps[0].keys[1]: unknown key "hyper"'),
    ('{"document": "document.json", "steps": [{"do": "click", "item": "sideways"}]}',
     'steps[0].item: unknown item "sideways"'),
    ('{"document": "document.json", "steps": [{"do": "click"}]}', 'steps[0]: missing "item"'),
    ('{"document": "document.json", "steps": [{"do": "select", "art": ["p1", "zz"]}]}',
     'steps[0].art[1]: no art "zz" in the document'),
    ('{"document": "document.json", "steps": [{"do": "fail", "op": "AIArt::GetArtType", "code": "TOOLONG", "call": 1}]}',
     "steps[0].code"),
    ('{"document": "document.json", "steps": [{"do": "fail", "op": "AIArt::GetArtType", "code": 5}]}',
     'steps[0]: expected either "call"'),
    ('{"document": "document.json", "steps": [{"do": "expectMatrix", "art": "p1", "value": [1, 0, 0, 1]}]}',
     "steps[0].value: expected a matrix"),
    ('{"document": "document.json", "steps": [{"do": "click", "item": 18446744073709551615}]}',
     "steps[0].item: expected an integer from -32768 to 32767"),
    ('{"document": "document.json", "steps": [{"do": "expectResult", "result": 18446744073709551615}]}',
     "steps[0].result: expected a four-character code"),
    ('{"document": "document.json", "steps": [{"do": "about", "item": 3}]}',
     'steps[0]: "item" is not a member of "about" steps'),
    ('{"document": {"art": [{"id": "p1", "type": "path", "colour": 3}]}, "steps": []}',
     "session.document: the document is refused: art[0]"),
    ('{"document": "document.json", "steps": [], "preferences": "."}', "session.preferences: a folder, not a file"),
    ('{"document": "document.json", "steps": [], "preferences": "no/p.json"}', "session.preferences: no folder"),
    ("{ not json", "not JSON"),
    ('{"document": "document.json", "steps": [], "title": 1e400}', "number overflow parsing '1e400'"),
]


def check_malformed(exe, work, document):
    fresh(work)
    shutil.copy(document, os.path.join(work, "document.json"))
    for index, (text, expected) in enumerate(MALFORMED):
        path = os.path.join(work, "malformed-%d.json" % index)
        open(path, "w").write(text)
        result = run([exe, "run", path])
        check(result.returncode == 2, "%s exited %d, not 2" % (text, result.returncode))
        check(expected in result.stderr, "%s: the message %r does not name %r" % (text, result.stderr.strip(), expected))
        check(result.stdout == "", "%s: something ran before the session was refused" % text)
    # Command lines CLI11 refuses exit 2 with its message, like a malformed session.
    known = os.path.join(work, "document.json")
    for args, expected in [(["--bogus"], "unknown option \"--bogus\""), (["run", known, "--bogus"], "--bogus"),
                           (["run"], "SESSION is required"), ([], "")]:
        result = run([exe] + args)
        want = 0 if not args else 2
        check(result.returncode == want, "pello-host %s exited %d, not %d" % (" ".join(args), result.returncode, want))
        check(expected in result.stderr, "pello-host %s: the message %r does not name %r"
              % (" ".join(args), result.stderr.strip(), expected))
    result = run([exe, "--help"])
    check(result.returncode == 0 and "4  internal error" in result.stdout, "--help lists no exit statuses")
    # File arguments that cannot be what they must be: refused before anything runs, the argument named.
    a_file = os.path.join(work, "document.json")
    session = os.path.join(work, "empty.session.json")
    open(session, "w").write('{"document": "document.json", "steps": []}')
    for args, expected in [(["session", "--prefs", os.path.join(work, "no", "such", "p.json")], "--prefs"),
                           (["session", "--prefs", work], "--prefs: a folder"),
                           (["run", session, "--out", a_file], "--out: a file, not a folder"),
                           (["run", work], "SESSION"),
                           (["render", a_file, "-o", os.path.join(a_file, "x.svg")], "--output"),
                           (["render", work, "-o", os.path.join(work, "x.svg")], "DOCUMENT")]:
        result = run([exe] + args)
        check(result.returncode == 2, "pello-host %s exited %d, not 2" % (" ".join(args), result.returncode))
        check(expected in result.stderr, "pello-host %s: the message %r does not name %r"
              % (" ".join(args), result.stderr.strip(), expected))
        check(result.stdout == "", "pello-host %s ran before refusing" % " ".join(args))
    # "-" is standard output.
    result = run([exe, "render", a_file, "-o", "-"])
    check(result.returncode == 0 and result.stdout.startswith("<svg") and not os.path.exists("-"),
          "render -o - does not write the picture to standard output")
    return 0


def check_failing(exe, work, document):
    fresh(work)
    shutil.copy(document, os.path.join(work, "document.json"))
    session = os.path.join(work, "failing.json")
    json.dump({"document": "document.json", "steps": [
        {"do": "select", "art": ["p1"]},
        {"do": "click", "item": "up"},
        {"do": "expectMatrix", "art": "p1", "value": [1, 0, 0, 1, 0, 1]},
        {"do": "expectAlerts", "alerts": []}]}, open(session, "w"))
    result = run([exe, "run", session])
    check(result.returncode == 1, "a failing expectation exited %d, not 1" % result.returncode)
    check("[2] EXPECTATION FAILED: p1 pattern matrix = [1, 0, 0, 1, 0, 1]" in result.stdout,
          "the transcript does not show the failed expectation:\n" + result.stdout)
    check("[3] ok: no alerts" in result.stdout, "the expectation after the failed one did not run")
    check("Session FAILED" in result.stdout, "the transcript does not end in failure")
    result = run([exe, "run", session, "--json"])
    transcript = json.loads(result.stdout)
    check(result.returncode == 1 and transcript["exitStatus"] == 1 and not transcript["passed"],
          "the JSON transcript does not report the failure")
    check(transcript["expectations"] == {"met": 1, "failed": 1}, "expectations counted %s" % transcript["expectations"])

    # A step that cannot run fails the session too.
    json.dump({"document": "document.json", "steps": [{"do": "click", "item": 99}]}, open(session, "w"))
    result = run([exe, "run", session])
    check(result.returncode == 1, "a click on a missing item exited %d, not 1" % result.returncode)
    # A module that is not a plug-in.
    json.dump({"document": "document.json", "steps": []}, open(session, "w"))
    result = run([exe, "run", session, "--plugin", document])
    check(result.returncode == 3, "a bad module exited %d, not 3" % result.returncode)
    # A folder or a file that is not a module, given to each command that loads one: one line
    # naming the path and why, exit 3.
    for module, why in [(work, "a folder, not a module file"), (document, "not a")]:
        for args in (["run", session], ["session"], ["palette", "-o", os.path.join(work, "p.svg")], ["validate"]):
            result = run([exe] + args + ["--plugin", module])
            check(result.returncode == 3, "%s with module %s exited %d, not 3" % (args[0], module, result.returncode))
            check(module in result.stderr + result.stdout and why in result.stderr + result.stdout,
                  "%s with module %s does not say why: %s" % (args[0], module, result.stderr.strip()))
            check("terminate called" not in result.stderr, "%s aborted" % args[0])
    return 0
