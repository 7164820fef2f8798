#!/usr/bin/env python3
"""The parity check: the same sessions on the native module and on the Windows
DLLs (run under Wine) must give the same transcripts, byte for byte, once the
host's addresses and the module's path are written alike.

Runs every example session and a set of seeded random sessions (see
make_parity_sessions.py) with `pello-host run --verbose`, which prints every
host call with its arguments, so every float the plug-in hands the host is
compared. A difference prints the session, the step and both lines.

Usage:
  check_parity.py --native BUILD_DIR --windows BUILD_DIR [--windows BUILD_DIR ...]
                  [--count N] [--seed S] [--keep DIR]
A BUILD_DIR holds host/cli/pello-host[.exe] and plugin/PelloPalette.aip.
Exit status: 0 all alike, 1 a difference, 2 a build or a run is missing.
"""
import argparse
import json
import os
import re
import subprocess
import sys
import tempfile
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
WINE_RUN = ROOT / "cmake" / "wine-run.sh"
sys.path.insert(0, str(Path(__file__).resolve().parent))
import make_parity_sessions  # noqa: E402

# Memory addresses (blocks, matrices, access records, contexts) differ by
# process, pointer size and allocator (one reuses a freed block, another does
# not), so they are written alike. The host's own handles of items, dialogs,
# notifiers and lists are small counters, alike on every build, and stay as
# they are. The size of the plug-in's
# global record, which holds pointers, differs by pointer size; the module's
# path by build.
ADDRESS = re.compile(r"\b0x[0-9a-f]{6,}\b")
GLOBALS_SIZE = re.compile(r'size=\d+(, name="globals")')


KEYBOARD = r'Win32::GetKeyboardState\([^)]*\)(?: x\d+)?(?: = -?\d+)?'
KEYBOARD_IN_GROUP = re.compile(KEYBOARD + r" \. | \. " + KEYBOARD)
GROUP_HEAD = "   host calls: "


def without_keyboard_reads(text):
    lines = []
    for line in text.split("\n"):
        line = KEYBOARD_IN_GROUP.sub("", line)
        if "Win32::GetKeyboardState(" not in line:
            lines.append(line)
            continue
        # A call of its own (verbose) or a group's first line: the group's
        # next line, if any, becomes its first.
        if line.startswith(GROUP_HEAD):
            lines.append(None)
    out = []
    for i, line in enumerate(lines):
        if line is None:
            continue
        if i > 0 and lines[i - 1] is None and line.startswith(" " * len(GROUP_HEAD)):
            line = GROUP_HEAD + line.lstrip()
        out.append(line)
    return "\n".join(out)


def normalise(text, plugin_paths):
    text = text.replace("\r\n", "\n")
    for path in plugin_paths:
        text = text.replace(path, "<plugin>")
    # The modifier keys come from the system's own GetKeyboardState on Windows,
    # where the host sees no call; the native host stands in for it and logs it.
    text = without_keyboard_reads(text)
    text = GLOBALS_SIZE.sub(r"size=<globals>\1", text)
    return ADDRESS.sub("<addr>", text)


def split_sessions(text):
    """The transcript of each session, keyed by its title line."""
    sessions, current, lines = {}, None, []
    for line in text.split("\n"):
        if line.startswith("== Session: "):
            if current is not None:
                sessions[current] = lines
            current, lines = line[len("== Session: "):], []
        lines.append(line)
    if current is not None:
        sessions[current] = lines
    return sessions


# Sessions per run of pello-host: a Windows command line holds at most 32,767
# characters.
BATCH = 100


def run(build, sessions, windows):
    transcripts = {}
    for start in range(0, len(sessions), BATCH):
        transcripts.update(run_batch(build, sessions[start:start + BATCH], windows))
    if len(transcripts) != len(sessions):
        print(f"parity: {build} gave {len(transcripts)} transcripts for {len(sessions)} sessions", file=sys.stderr)
        sys.exit(2)
    return transcripts


def run_batch(build, sessions, windows):
    exe = build / "host" / "cli" / ("pello-host.exe" if windows else "pello-host")
    plugin = build / "plugin" / "PelloPalette.aip"
    for needed in (exe, plugin):
        if not needed.is_file():
            print(f"parity: {needed} is missing; build that preset first", file=sys.stderr)
            sys.exit(2)
    plugin_arg = ("Z:" + str(plugin).replace("/", "\\")) if windows else str(plugin)
    cmd = ([str(WINE_RUN)] if windows else []) + [str(exe), "run", "--verbose", "--plugin", plugin_arg]
    cmd += [str(s) for s in sessions]
    done = subprocess.run(cmd, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True,
                          errors="replace", env=dict(os.environ, LC_ALL="C"))
    if done.returncode not in (0, 1):
        print(f"parity: {exe} ended with status {done.returncode}\n{done.stderr}", file=sys.stderr)
        sys.exit(2)
    return split_sessions(normalise(done.stdout, [plugin_arg, str(plugin)]))


def step_of(lines, index):
    for line in reversed(lines[: index + 1]):
        if line.startswith("== "):
            return line[3:]
    return "(before the first step)"


def compare(name, reference, other, session_files):
    differences = 0
    for title, lines in reference.items():
        theirs = other.get(title)
        if theirs is None:
            print(f"{name}: session \"{title}\" has no transcript")
            differences += 1
            continue
        for i in range(max(len(lines), len(theirs))):
            mine = lines[i] if i < len(lines) else "(end of transcript)"
            their = theirs[i] if i < len(theirs) else "(end of transcript)"
            if mine != their:
                print(f"{name}: session \"{title}\" ({session_files.get(title, '?')}), step {step_of(lines, i)}")
                print(f"   native: {mine.strip()}")
                print(f"   {name}: {their.strip()}")
                differences += 1
                break
    return differences


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--native", required=True, type=Path)
    parser.add_argument("--windows", action="append", default=[], type=Path)
    parser.add_argument("--count", type=int, default=200)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--keep", type=Path, help="write the random sessions here and keep them")
    args = parser.parse_args()

    with tempfile.TemporaryDirectory() as scratch:
        folder = args.keep or Path(scratch)
        folder.mkdir(parents=True, exist_ok=True)
        for i in range(args.count):
            seed = args.seed * 100003 + i
            path = folder / ("parity-%06d.json" % seed)
            path.write_text(json.dumps(make_parity_sessions.session(seed), indent=1) + "\n")
        sessions = sorted((ROOT / "examples").glob("*/session.json")) + sorted(folder.glob("parity-*.json"))
        titles = {}
        for path in sessions:
            titles[json.loads(path.read_text()).get("title", path.stem)] = path.name

        reference = run(args.native, sessions, windows=False)
        steps = sum(sum(1 for line in lines if line.startswith("== ")) for lines in reference.values())
        differences = 0
        for build in args.windows:
            theirs = run(build, sessions, windows=True)
            found = compare(build.name, reference, theirs, titles)
            print(f"parity: {build.name}: {len(sessions)} sessions, {steps} steps, "
                  f"{'identical' if found == 0 else f'{found} sessions differ'}")
            differences += found
    return 1 if differences else 0


if __name__ == "__main__":
    sys.exit(main())
