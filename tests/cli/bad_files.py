"""The bad-input classes about files: an output that is one of the inputs, and two outputs that are one
file (standard output among them). Each row must be refused before anything runs, and every file it names
must be left as it was."""
import hashlib
import os
import shutil
import subprocess

from cli_support import check

MALFORMED = 2


def unchanged(*paths):
    """A check, run after the row, that each of `paths` still holds what it held when the row was made."""
    def digest(path):
        with open(path, "rb") as f:
            return hashlib.sha256(f.read()).hexdigest()
    before = {path: digest(path) for path in paths}

    def still():
        for path, was in before.items():
            check(os.path.isfile(path) and digest(path) == was, "%s was written over" % path)
    return still


def output_is_input(w):
    module = w.path("module.aip")
    shutil.copy(w.plugin, module)
    os.link(w.document, w.path("hard-link.json"))
    os.symlink(w.document, w.path("soft-link.json"))
    os.makedirs(w.path("sub"))
    # A session named like a picture its --out folder receives.
    picture_session = w.path("before.svg")
    shutil.copy(w.session, picture_session)
    rows = [(["validate", module, "--junit", module], "--junit %s would write over plugin %s" % (module, module)),
            (["validate", "--plugin", module, "--junit", "module.aip"], "--junit module.aip would write over --plugin"),
            (["render", w.document, "-o", w.document], "--output %s would write over DOCUMENT" % w.document),
            # Another spelling, a hard link, a symbolic link: the same file.
            (["render", w.document, "-o", "sub/../document.json"], "--output sub/../document.json would write over"),
            (["render", w.document, "-o", "new/../document.json"], "--output new/../document.json would write over"),
            (["render", w.document, "-o", "hard-link.json"], "--output hard-link.json would write over"),
            (["render", w.document, "-o", "soft-link.json"], "--output soft-link.json would write over"),
            (["palette", "-o", module, "--plugin", module], "--output %s would write over --plugin" % module),
            (["session", "--prefs", module, "--plugin", module], "--prefs %s would write over --plugin" % module),
            (["run", picture_session, "--out", w.work], "--out %s (%s) would write over SESSION %s" % (
                w.work, picture_session, picture_session))]
    if subprocess.run([w.host, "play", "--help"], capture_output=True).returncode == 0:
        rows.append((["play", w.document, "--prefs", "hard-link.json"], "--prefs hard-link.json would write over"))
    files = unchanged(module, w.document, picture_session)

    def nothing_made():
        files()
        check(not os.path.exists(w.path("new")), "a refused -o made the folder on its way")
    return [(args, MALFORMED, text, nothing_made) for args, text in rows]


def outputs_shared(w):
    module = w.path("module.aip")
    shutil.copy(w.plugin, module)
    redirected = w.path("stdout.txt")
    out = w.path("out")
    os.makedirs(out)
    rows = [(["validate", module, "--json", "--junit", "-"], MALFORMED,
             "standard output (where this command prints) and --junit - are the same file"),
            # Standard output a pipe: /dev/stdout is no file to write a report to.
            (["validate", module, "--json", "--junit", "/dev/stdout"], MALFORMED,
             "--junit: not a regular file: /dev/stdout")]
    # Standard output a file: that file, however it is named, is written once.
    for args, text in [
            (["validate", module, "--json", "--junit", "/dev/stdout"], "and --junit /dev/stdout are the same file"),
            (["validate", module, "--junit", redirected], "and --junit %s are the same file" % redirected),
            (["session", "--prefs", redirected], "and --prefs %s are the same file" % redirected),
            (["run", w.session, "--out", out], "and --out %s (%s) are the same file" % (
                out, os.path.join(out, "before.svg")))]:
        target = os.path.join(out, "before.svg") if args[0] == "run" else redirected
        open(target, "w").close()
        rows.append((args, MALFORMED, text, unchanged(module, w.session), target))
    return rows
