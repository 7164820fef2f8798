"""Many pello-host processes ending at once, all writing one preferences file: every one saves, and the
file left is whole, with no temporary file beside it.
  check_prefs_writers.py HOST WORK"""
import json
import os
import subprocess
import sys

from cli_support import check, failures, fresh

WRITERS = 20


def main(host, work):
    fresh(work)
    prefs = os.path.join(work, "same.json")
    writers = [subprocess.Popen([host, "session", "--prefs", prefs], stdout=subprocess.DEVNULL,
                                stderr=subprocess.PIPE, text=True) for _ in range(WRITERS)]
    for writer in writers:
        _, said = writer.communicate(timeout=120)
        check(writer.returncode == 0, "a writer exited %d: %s" % (writer.returncode, said.strip()))
    try:
        with open(prefs) as f:
            check(isinstance(json.load(f), dict), "the preferences file holds no object")
    except (OSError, ValueError) as e:
        check(False, "the preferences file is not whole: %s" % e)
    check(os.listdir(work) == ["same.json"], "left beside the file: %s" % sorted(os.listdir(work)))
    for failure in failures:
        print("FAILED: " + failure)
    print("%d writers, %d failures" % (WRITERS, len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
