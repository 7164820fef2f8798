#!/usr/bin/env python3
"""The validator's reports, read as machines and CI systems read them.

Usage: check_reports.py CASE --host PELLO_HOST --plugin MODULE --crashing MODULE
         --hanging MODULE --failing MODULE --work DIR --xsd JUNIT_XSD [--emulator RUNNER]

CASE is one of: statuses, junit, choosing, replay, interrupted, stopping, in_process. --emulator runs a
cross-built pello-host (the Wine runner, which prints the program's standard
error on its standard output). Exits non-zero on the first mismatch, with
what was seen.
"""
import argparse
import json
import re
import os
import shlex
import signal
import subprocess
import sys
import time
from pathlib import Path

STATUSES = {"passed", "warning", "skipped", "failed", "crashed", "timed-out"}


class Mismatch(Exception):
    pass


def check(ok, what):
    if not ok:
        raise Mismatch(what)


class Validator:
    def __init__(self, args):
        self.prefix = ([args.emulator] if args.emulator else []) + [args.host]
        self.work = Path(args.work)
        self.work.mkdir(parents=True, exist_ok=True)

    def run(self, *args):
        done = subprocess.run([*self.prefix, "validate", *map(str, args)], capture_output=True, text=True,
                              errors="replace", timeout=600, cwd=self.work)
        return done.returncode, done.stdout, done.stderr

    def report(self, *args, status):
        code, out, err = self.run(*args, "--json")
        check(code == status, f"validate {' '.join(map(str, args))}: exit {code}, not {status}\n{out}{err}")
        try:
            return json.loads(out)
        except json.JSONDecodeError as e:
            raise Mismatch(f"--json printed no JSON ({e}):\n{out[:2000]}")


def by_name(report):
    return {c["name"]: c for c in report["checks"]}


def case_statuses(v, args):
    # Every field of every check, and the counts that agree with them.
    report = v.report(args.crashing, "--only", "load", "--seed", 7, status=1)
    for c in report["checks"]:
        check(set(c) >= {"name", "group", "status", "reason", "milliseconds", "seed", "covered", "round"},
              f"fields of {c}")
        check(c["status"] in STATUSES and c["group"] == "load" and c["seed"] == 7, f"check {c}")
        check(c["covered"], f"{c['name']} says nothing of what it covered")
    checks = by_name(report)
    crash = checks["load.startup-time"]
    check(crash["status"] == "crashed", f"a PluginMain that writes through null: {crash}")
    # A signal, an exception code, or (a sanitizer's report) an early exit.
    how = ("crashed with signal", "crashed with exception 0xC0000005", "before finishing")
    check(any(h in crash["reason"] for h in how) and "while: " in crash["reason"],
          f"the crash's reason names neither how nor where: {crash['reason']!r}")
    check("--only load.startup-time" in crash.get("replay", ""), f"no replay line: {crash}")
    check(checks["load.pipl"]["status"] == "passed" and checks["load.pipl"]["reason"] == "", "load.pipl")
    counts = {s: sum(c["status"] == s for c in report["checks"]) for s in STATUSES}
    check(report["counts"] == counts and report["passed"] is False, f"counts {report['counts']}, checks {counts}")

    report = v.report(args.hanging, "--only", "load.startup-time", "--timeout", 1, status=1)
    hang = by_name(report)["load.startup-time"]
    check(hang["status"] == "timed-out" and hang["reason"].startswith("timed out after 1 s"), f"hang: {hang}")
    check(hang["milliseconds"] < 60000, f"the hang was ended after {hang['milliseconds']} ms")

    # Below a group's strictness its checks are skipped, with why; a run of
    # passes and skips passes.
    report = v.report(args.plugin, "--only", "load.pipl", "--only", "random", "--strictness", 1, status=0)
    checks = by_name(report)
    check(checks["load.pipl"]["status"] == "passed", f"load.pipl at strictness 1: {checks['load.pipl']}")
    for name in ("random.sessions", "random.quiet-sessions"):
        check(checks[name]["status"] == "skipped" and "--strictness 3" in checks[name]["reason"],
              f"{name} at strictness 1: {checks[name]}")
    check(report["passed"] is True and report["steps"] == 50, f"report {report}")

    # The cycles' heap warning is the same whatever ran before in the process:
    # in a child forked from the run and in the run's own process, round after
    # round (a one-off growth of the allocator's came and went).
    for where in ([], ["--in-process"]):
        report = v.report(args.plugin, "--only", "cycles", "--cycles", 100, "--repeat", 2, "--seed", 5, *where,
                          status=0)
        seen = {(c["name"], c["status"], tuple(c["warnings"])) for c in report["checks"]}
        check(seen == {(n, "passed", ()) for n in ("cycles.load-unload", "cycles.host-runs")},
              f"the cycles of the plug-in {where}: {seen}")

    # The failure of a check that fails (not crashes) is its status and reason.
    report = v.report(args.failing, "--only", "cycles.load-unload", "--cycles", 100, status=1)
    failed = by_name(report)["cycles.load-unload"]
    check(failed["status"] == "failed" and " more " in failed["reason"] and failed["failures"] >= 1,
          f"a module that keeps a descriptor or slot per load: {failed}")


def read_junit(path, xsd):
    from lxml import etree
    schema = etree.XMLSchema(etree.parse(str(xsd)))
    document = etree.parse(str(path))
    check(schema.validate(document), f"{path} against the JUnit schema: {schema.error_log}")
    return document


def junit_results(path):
    """Each testcase's result as the junitparser library reads it."""
    from junitparser import Error, Failure, JUnitXml, Skipped
    kinds = {Failure: "failed", Error: "error", Skipped: "skipped"}
    seen = {}
    xml = JUnitXml.fromfile(str(path))
    for suite in xml:
        cases = list(suite)
        check(suite.tests == len(cases), f"suite {suite.name}: tests={suite.tests}, {len(cases)} testcases")
        check(suite.failures == sum(any(isinstance(r, Failure) for r in c.result) for c in cases)
              and suite.errors == sum(any(isinstance(r, Error) for r in c.result) for c in cases)
              and suite.skipped == sum(any(isinstance(r, Skipped) for r in c.result) for c in cases),
              f"suite {suite.name}: its counts do not match its testcases")
        for case in cases:
            results = [kinds[type(r)] for r in case.result if type(r) in kinds]
            seen[case.name] = (results[0] if results else "passed", case.result[0].message if results else None)
    return seen


def case_junit(v, args):
    # Crashed, skipped and passed in one file, failed in another; each file
    # valid against the format's schema and read by a JUnit reader alike.
    expected = {"passed": "passed", "warning": "passed", "skipped": "skipped", "failed": "failed",
                "crashed": "error", "timed-out": "error"}
    runs = [(args.crashing, ["--only", "load", "--only", "suites", "--strictness", 1]),
            (args.failing, ["--only", "cycles.load-unload", "--only", "load.pipl", "--cycles", 100])]
    for index, (module, options) in enumerate(runs):
        path = v.work / f"report{index}.xml"
        path.unlink(missing_ok=True)
        report = v.report(module, *options, "--junit", path, status=1)
        read_junit(path, args.xsd)
        seen = junit_results(path)
        check(set(seen) == {c["name"] for c in report["checks"]}, f"testcases {sorted(seen)}")
        for c in report["checks"]:
            result, message = seen[c["name"]]
            check(result == expected[c["status"]], f"{c['name']}: {c['status']} in JSON, {result} in JUnit")
            check(result == "passed" or message == c["reason"], f"{c['name']}: message {message!r}")
    statuses = {c["status"] for c in report["checks"]}
    check(statuses == {"passed", "failed"}, f"the second run's statuses: {statuses}")

    # Written through a temporary file: a link to the report stays a link (Wine shows none).
    if not args.emulator:
        target, link = v.work / "target.xml", v.work / "link.xml"
        for path in (target, link):
            path.unlink(missing_ok=True)
        target.write_text("old")
        link.symlink_to(target)
        v.report(args.plugin, "--only", "load.pipl", "--junit", link, status=0)
        check(link.is_symlink() and "load.pipl" in target.read_text(), "the link to the JUnit report was replaced")
    check(not [p for p in v.work.iterdir() if ".tmp" in p.name], f"temporary files left: {list(v.work.iterdir())}")

    code, out, err = v.run(args.plugin, "--only", "load.pipl", "--junit", v.work / "no" / "such" / "folder.xml")
    check(code == 2 and "--junit: cannot write" in out + err, f"an unwritable --junit file: exit {code}, {err!r}")


def listed(v, *options):
    code, out, err = v.run("--list", "--json", *options)
    check(code == 0, f"--list --json {options}: exit {code} {err}")
    return [c["name"] for c in json.loads(out)]


def case_choosing(v, args):
    everything = listed(v)
    check(len(everything) == len(set(everything)) > 40, f"--list --json: {everything}")
    check(listed(v, "--only", "load") == [n for n in everything if n.startswith("load.")], "--only load")
    check(listed(v, "--only", "faults.copy-*", "--exclude", "*-raster", "--only", "order.?efore-startup") ==
          ["order.before-startup", "faults.copy-text", "faults.copy-placed", "faults.copy-pattern"],
          "--only with wildcards, --exclude")
    check(listed(v, "--exclude", "random", "--exclude", "faults") ==
          [n for n in everything if not n.startswith(("random.", "faults."))], "two --exclude")
    for options in (["--only", "lode"], ["--exclude", "random.*x"], ["--only", "load", "--exclude", "load"]):
        code, out, err = v.run(args.plugin, *options)
        check(code == 2 and "pello-host validate:" in out + err, f"{options}: exit {code}, {out + err!r}")

    # Rounds: each round every chosen check, with a seed of its own; a
    # shuffled order is drawn from the seed, so the same seed gives it again.
    options = [args.plugin, "--only", "load", "--only", "order", "--repeat", 2, "--shuffle", "--seed", 9]
    first, again = v.report(*options, status=0), v.report(*options, status=0)
    table = listed(v, "--only", "load", "--only", "order")
    rounds = [[c for c in first["checks"] if c["round"] == r] for r in (1, 2)]
    for checks in rounds:
        check(sorted(c["name"] for c in checks) == sorted(table), f"a round ran {[c['name'] for c in checks]}")
    check(rounds[0][0]["seed"] == 9 and rounds[1][0]["seed"] != 9, "the rounds' seeds")
    check([c["name"] for c in rounds[0]] != table, "--shuffle kept the table's order")
    check([c["name"] for c in first["checks"]] == [c["name"] for c in again["checks"]],
          "the same seed shuffled differently")

    # A higher strictness sweeps each host call with more fault codes (in the
    # check's own process too).
    runs = []
    for level in (5, 7):
        covered = by_name(v.report(args.plugin, "--only", "faults.show", "--strictness", level, status=0))
        runs.append(int(covered["faults.show"]["covered"].split()[0]))
    check(runs[1] == 2 * runs[0] > 0, f"faulted runs at strictness 5 and 7: {runs}")


def case_replay(v, args):
    # The replay line of a crashed check runs it alone again, with the same
    # module, seed and options, to the same end.
    code, out, err = v.run(args.crashing, "--only", "load", "--strictness", 4, "--timeout", 30, "--seed", 11)
    check(code == 1 and "load.startup-time" in out and " CRASH " in out, f"exit {code}\n{out}{err}")
    replays = [line.split("replay: ", 1)[1] for line in out.splitlines() if "replay: " in line]
    check(len(replays) == 1, f"replay lines: {replays}")
    words = shlex.split(replays[0])
    check(words[:3] == ["pello-host", "validate", str(args.crashing)] and
          all(o in words for o in ("--seed", "--steps", "--strictness", "--timeout")), f"replay: {replays[0]}")
    check(words[words.index("--strictness") + 1] == "4" and words[words.index("--timeout") + 1] == "30",
          f"replay: {replays[0]}")
    code, again, err = v.run(*words[2:])
    check(code == 1 and f"replay: {replays[0]}" in again and "[ 1/1] load.startup-time" in again,
          f"the replay: exit {code}\n{again}{err}")


def children_of(pid):
    """The processes whose parent is pid, and theirs."""
    found, parents = [], {pid}
    for _ in range(3):
        for entry in Path("/proc").iterdir():
            if entry.name.isdigit():
                try:
                    stat = (entry / "stat").read_text()
                except OSError:
                    continue
                ppid = int(stat.rsplit(")", 1)[1].split()[1])
                if ppid in parents and int(entry.name) not in found:
                    found.append(int(entry.name))
        parents |= set(found)
    return found


def alive(pid):
    try:
        state = Path(f"/proc/{pid}/stat").read_text().rsplit(")", 1)[1].split()[0]
    except OSError:
        return False
    return state != "Z"


def interrupt_run(v, args, sent, *options):
    """Starts validate on the hanging module, sends `sent` once its check's
    child runs; returns its exit status, output, and the children it had."""
    command = [*v.prefix, "validate", str(args.hanging), "--only", "load", "--only", "lifecycle", "--timeout", "60",
               *map(str, options)]
    run = subprocess.Popen(command, cwd=v.work, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
    children, waited = [], time.monotonic()
    while not children and time.monotonic() - waited < 30:
        time.sleep(0.2)
        children = children_of(run.pid)
    time.sleep(0.5)  # the hanging call reached
    children = children_of(run.pid)
    run.send_signal(sent)
    try:
        out, err = run.communicate(timeout=20)
    except subprocess.TimeoutExpired:
        run.kill()
        raise Mismatch(f"validate went on for 20 s after signal {sent}")
    check(children, "validate started no child process")
    time.sleep(0.2)
    left = [pid for pid in children if alive(pid)]
    check(not left, f"after signal {sent} its children {left} still run")
    return run.returncode, out, err


def case_interrupted(v, args):
    # SIGTERM (a CI runner) and SIGINT (Ctrl-C): the run ends its children,
    # writes the report of what it did, marked interrupted, and ends by the
    # signal.
    path = v.work / "interrupted.xml"
    path.unlink(missing_ok=True)
    code, out, err = interrupt_run(v, args, signal.SIGTERM, "--junit", path)
    check(code == -signal.SIGTERM, f"exit {code} after SIGTERM\n{out}{err}")
    check(path.stat().st_size > 0, "an empty JUnit report")
    read_junit(path, args.xsd)
    seen = junit_results(path)
    check(len(seen) == len(listed(v, "--only", "load", "--only", "lifecycle")), f"testcases {sorted(seen)}")
    running = [name for name, (result, message) in seen.items()
               if message and message.startswith("interrupted by SIGTERM")]
    check(len(running) == 1, f"the check that ran when interrupted: {seen}")
    after = list(seen)[list(seen).index(running[0]) + 1:]
    check(all(seen[name] == ("skipped", "not run: the run was interrupted by SIGTERM") for name in after),
          f"the checks after it: {seen}")
    check('name="interrupted" value="interrupted by SIGTERM"' in path.read_text(), "no mark of the interruption")
    check("stopped: the run was interrupted by SIGTERM" in out, f"the text report: {out}")

    code, out, err = interrupt_run(v, args, signal.SIGINT, "--json")
    check(code == -signal.SIGINT, f"exit {code} after SIGINT\n{out}{err}")
    report = json.loads(out)
    check(report["interrupted"] == "interrupted by SIGINT" and report["passed"] is False, f"report {report}")
    check(any(c["reason"].startswith("interrupted by SIGINT") for c in report["checks"]), f"report {report}")
    # A run that finishes is not marked.
    check("interrupted" not in v.report(args.plugin, "--only", "load.pipl", status=0), "a whole run marked")


def case_stopping(v, args):
    # --time-limit ends the check running then and skips the rest, whatever
    # --timeout says; --fail-fast skips everything after the first failure.
    began = time.monotonic()
    report = v.report(args.hanging, "--only", "load", "--only", "lifecycle", "--timeout", 60, "--time-limit", 2,
                      status=1)
    check(time.monotonic() - began < 20, f"--time-limit 2 took {time.monotonic() - began:.0f} s")
    statuses = [(c["status"], c["reason"]) for c in report["checks"]]
    stopped = [s for s in statuses if s[0] == "timed-out"]
    check(len(stopped) == 1 and stopped[0][1].startswith("stopped at the run's --time-limit of 2 s"),
          f"the check the limit stopped: {statuses}")
    rest = statuses[statuses.index(stopped[0]) + 1:]
    check(rest and all(s == ("skipped", "not run: the run reached its --time-limit of 2 s") for s in rest),
          f"the checks after it: {statuses}")

    report = v.report(args.crashing, "--only", "load", "--only", "lifecycle", "--fail-fast", status=1)
    statuses = [(c["name"], c["status"], c["reason"]) for c in report["checks"]]
    first = next(i for i, s in enumerate(statuses) if s[1] in ("failed", "crashed", "timed-out"))
    why = f"not run: --fail-fast stopped the run after {statuses[first][0]} {statuses[first][1]}"
    check(first + 1 < len(statuses) and all(s[1:] == ("skipped", why) for s in statuses[first + 1:]),
          f"after the first failure: {statuses}")
    check(sum(c["status"] == "crashed" for c in report["checks"]) == 1, f"statuses {statuses}")


def case_in_process(v, args):
    # A crash in validate's own process: exit 4, the module, check and stage
    # named, and the reports so far (the crashed check as an error).
    path = v.work / "in-process.xml"
    path.unlink(missing_ok=True)
    code, out, err = v.run(args.crashing, "--only", "load", "--in-process", "--json", "--junit", path)
    if code == 1 and re.search("Sanitizer|runtime error", err):
        # The sanitizer build: the sanitizer reports the crash and ends the
        # process itself. The JUnit file written before the check still holds
        # the run so far, the crashed check not passed.
        read_junit(path, args.xsd)
        seen = junit_results(path)
        check(seen["load.startup-time"][0] != "passed", f"the crashed check in JUnit: {seen}")
        return
    check(code == 4, f"--in-process on a crashing module: exit {code}\n{err}")
    check("crashed with signal" in err and f"with the plug-in {args.crashing} loaded, in check load.startup-time"
          in err and " while: " in err, f"the message: {err!r}")
    read_junit(path, args.xsd)
    seen = junit_results(path)
    check(seen["load.startup-time"][0] == "error", f"the crashed check in JUnit: {seen}")
    report = json.loads(out)
    check(report["interrupted"] and report["passed"] is False, f"the JSON report: {report}")
    check(by_name(report)["load.startup-time"]["status"] == "crashed", f"the JSON report: {report}")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("case", choices=["statuses", "junit", "choosing", "replay", "interrupted", "stopping",
                                         "in_process"])
    for name in ("host", "plugin", "crashing", "hanging", "failing", "work", "xsd"):
        parser.add_argument("--" + name, required=True)
    parser.add_argument("--emulator", default="")
    args = parser.parse_args()
    try:
        globals()["case_" + args.case](Validator(args), args)
    except Mismatch as e:
        print(f"FAILED: {e}")
        return 1
    print(f"{args.case}: passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
