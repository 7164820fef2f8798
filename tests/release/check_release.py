#!/usr/bin/env python3
"""Checks the release packages as a user and an engineer get them: each is
unpacked into an empty folder and used from the unpacked files alone.

- Every package is there, named with the version, holds exactly the expected
  files, and its SHA256SUMS (and the folder's) match.
- The plug-in packages: the DLL's machine, one export, system-only imports,
  version resource and every resource (tests/plugin/windows_dll/check_windows_dll.py),
  stripped and naming its debug file; `pello-host validate` passes on it with
  the unpacked host of the same width, under Wine.
- The host packages: `pello-host --version` says the version; the demo runs
  on the module beside it, and validate passes (under Wine for Windows).

Usage: check_release.py DIST_DIR VERSION BUILD_ROOT
  BUILD_ROOT  the build folder holding win-i686/ and win-x64/ (for the
              compiled .res the DLL check compares resources with)
"""
import hashlib
import os
import shutil
import subprocess
import sys
import tarfile
import tempfile
import zipfile
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
WINE_RUN = ROOT / "cmake" / "wine-run.sh"
DLL_CHECK = ROOT / "tests" / "plugin" / "windows_dll" / "check_windows_dll.py"
failures = []


def check(ok, message):
    if not ok:
        failures.append(message)
        print("FAIL " + message)
    return ok


def unpack(package, into):
    if package.name.endswith(".zip"):
        with zipfile.ZipFile(package) as z:
            z.extractall(into)
    else:
        with tarfile.open(package) as t:
            members = t.getmembers()
            # Only plain files and folders, each inside the package's folder:
            # a package is extracted only when nothing in it could write elsewhere.
            unsafe = [m.name for m in members if not (m.isfile() or m.isdir()) or m.name.startswith("/")
                      or ".." in Path(m.name).parts]
            if not check(not unsafe, f"{package.name}: links or members outside its folder: {unsafe}"):
                return None
            t.extractall(into, members)
    tops = list(Path(into).iterdir())
    if not check(tops, f"{package.name}: empty"):
        return None
    check(len(tops) == 1 and tops[0].name == package.name.split(".zip")[0].split(".tar.gz")[0],
          f"{package.name}: unpacks into one folder of its own name, not {[t.name for t in tops]}")
    return tops[0]


def files_under(folder):
    return sorted(str(p.relative_to(folder)) for p in folder.rglob("*") if p.is_file())


def check_sums(folder, what):
    sums = folder / "SHA256SUMS"
    if not check(sums.is_file(), f"{what}: no SHA256SUMS"):
        return
    listed = {}
    for line in sums.read_text().splitlines():
        digest, name = line.split(None, 1)
        listed[name.lstrip("*")] = digest
    present = [f for f in files_under(folder) if f != "SHA256SUMS"]
    check(sorted(listed) == present, f"{what}: SHA256SUMS lists {sorted(listed)}, the folder holds {present}")
    for name, digest in listed.items():
        path = folder / name
        if path.is_file():
            check(hashlib.sha256(path.read_bytes()).hexdigest() == digest, f"{what}: {name} does not match its sum")


def run(args, what, windows, cwd):
    cmd = ([str(WINE_RUN)] if windows else []) + [str(a) for a in args]
    done = subprocess.run(cmd, cwd=cwd, capture_output=True, text=True, errors="replace", timeout=1800)
    check(done.returncode == 0, f"{what}: exit status {done.returncode}\n{done.stdout[-3000:]}{done.stderr[-2000:]}")
    return done.stdout


# The packages' validate runs replay the same random sessions every time, so
# that a red run can be replayed; tools/run-long-checks.sh explores new seeds.
VALIDATE_SEED = ["--seed", "2"]


def why_no_32bit_programs():
    """Why 32-bit Windows programs cannot run here, or None where they can."""
    loader = Path("/usr/lib/wine/wine")
    if not loader.exists():
        return f"the 32-bit Wine loader {loader} (package wine32:i386) is not installed"
    try:
        refused = subprocess.run([loader, "--version"], capture_output=True, timeout=60).returncode == 126
    except OSError:
        refused = True
    return "this machine cannot run 32-bit programs" if refused else None


NO_32BIT = why_no_32bit_programs()


def skipped_32bit(folder, width):
    """Whether a 32-bit package cannot be run here; says so when it cannot."""
    if width != "win32" or NO_32BIT is None:
        return False
    print(f"{folder.name}: SKIPPED running it: {NO_32BIT}")
    return True


def wine_path(path):
    return "Z:" + str(path).replace("/", "\\")


def check_plugin_package(folder, width, build_root, host_folder):
    files = files_under(folder)
    check(files[:3] == ["PelloPalette.aip", "PelloPalette.aip.debug", "SHA256SUMS"] and
          "user-guide/README.md" in files, f"{folder.name}: holds {files}")
    preset = "win-i686" if width == "win32" else "win-x64"
    machine = "i686" if width == "win32" else "x86_64"
    dll = folder / "PelloPalette.aip"
    res = build_root / preset / "plugin" / "PelloPalette.res"
    out = run(["/usr/bin/python3", DLL_CHECK, dll, res, ROOT / "plugin" / "resources", machine],
              f"{folder.name}: the DLL check", False, folder)
    print(f"{folder.name}: DLL check: {out.strip().splitlines()[-1] if out.strip() else '?'}")
    if host_folder and not skipped_32bit(folder, width):
        exe = host_folder / "bin" / "pello-host.exe"
        out = run([exe, "validate", wine_path(dll), *VALIDATE_SEED], f"{folder.name}: validate", True, folder)
        print(f"{folder.name}: validate: {out.strip().splitlines()[-1] if out.strip() else '?'}")


def check_host_package(folder, system, version):
    windows = system.startswith("win")
    exe = folder / "bin" / ("pello-host.exe" if windows else "pello-host")
    module = folder / "lib" / "pello" / "PelloPalette.aip"
    files = files_under(folder)
    schemas = folder / "share" / "pello" / "schemas"
    for needed in [exe, module, folder / "README.txt", folder / "SHA256SUMS", folder / "examples" / "README.md",
                   schemas / "session.schema.json", schemas / "document.schema.json"]:
        check(needed.is_file(), f"{folder.name}: no {needed.relative_to(folder)}")
    check(all(f.startswith(("bin/", "lib/pello/", "share/pello/schemas/", "examples/"))
              or f in ("README.txt", "SHA256SUMS") for f in files),
          f"{folder.name}: unexpected files {files}")
    if not exe.is_file():
        return
    if not windows and not check(os.access(exe, os.X_OK), f"{folder.name}: bin/pello-host is not executable"):
        return
    if skipped_32bit(folder, system):
        return
    said = run([exe, "--version"], f"{folder.name}: --version", windows, folder)
    check(said.strip() == f"pello-host {version}", f"{folder.name}: --version says {said.strip()!r}")
    out = run([exe, "demo", "--out", "pictures"], f"{folder.name}: demo", windows, folder)
    shown = wine_path(module) if windows else str(module)
    check(f"plug-in: {shown}" in out or f"plug-in: {module}" in out,
          f"{folder.name}: the demo did not load the module beside it:\n{out[:400]}")
    check((folder / "pictures" / "after.svg").is_file(), f"{folder.name}: the demo drew no pictures")
    if not windows:
        out = run([exe, "validate", *VALIDATE_SEED], f"{folder.name}: validate", False, folder)
        print(f"{folder.name}: validate: {out.strip().splitlines()[-1] if out.strip() else '?'}")


def main(argv):
    if len(argv) != 3:
        print(__doc__)
        return 2
    dist, version, build_root = Path(argv[0]).resolve(), argv[1], Path(argv[2]).resolve()
    names = {f"PelloPalette-{version}-win32.zip", f"PelloPalette-{version}-win64.zip",
             f"pello-host-{version}-win32.zip", f"pello-host-{version}-win64.zip",
             f"pello-host-{version}-linux-x86_64.tar.gz"}
    present = {p.name for p in dist.iterdir()} - {"SHA256SUMS"}
    check(present == names, f"the packages are {sorted(present)}, not {sorted(names)}")
    check_sums(dist, "dist")
    with tempfile.TemporaryDirectory() as scratch:
        unpacked = {}
        for name in sorted(names & present):
            into = Path(scratch) / name
            into.mkdir()
            folder = unpack(dist / name, into)
            if folder:
                unpacked[name] = folder
                check_sums(folder, name)
        for system in ("win32", "win64", "linux-x86_64"):
            name = f"pello-host-{version}-{system}" + (".tar.gz" if system.startswith("linux") else ".zip")
            if name in unpacked:
                check_host_package(unpacked[name], system, version)
        for width in ("win32", "win64"):
            name = f"PelloPalette-{version}-{width}.zip"
            if name in unpacked:
                host = unpacked.get(f"pello-host-{version}-{width}.zip")
                same = host and (host / "lib" / "pello" / "PelloPalette.aip").read_bytes() == \
                    (unpacked[name] / "PelloPalette.aip").read_bytes()
                check(same, f"{name}: the host package's module is not this DLL")
                check_plugin_package(unpacked[name], width, build_root, host)
        shutil.rmtree(scratch, ignore_errors=True)
    print(f"release: {len(present)} packages, {len(failures)} failure(s)")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
