"""What the checks of pello-host share: the failures found, running the command, fresh folders."""
import os
import shutil
import subprocess

SKIP = 77
failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
    return condition


def run(args, cwd=None):
    return subprocess.run(args, cwd=cwd, capture_output=True, text=True, timeout=120)


def fresh(folder):
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    return folder
