#!/usr/bin/env bash
# Builds and runs every test: the native suite with warnings as errors, then
# the same suite under ASan + UBSan + LSan, then a bounded run of each fuzz
# target, then the Windows DLLs (32-bit and 64-bit, cross-built with
# mingw-w64) with the same suite under Wine and the parity check of their
# transcripts against the native module's, then the release packages, made
# and checked as users get them, and in their Release build the time of a
# click in pello-host play against its goal. Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh

jobs=$(nproc)
for preset in ci asan; do
  echo "== $preset: build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j"$jobs"
  echo "== $preset: test"
  ctest --preset "$preset" -j"$jobs"
done

# --- fuzz: the libFuzzer targets (clang 14, ASan + UBSan), about a minute in all
echo "== fuzz: build"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j"$jobs"
for target in fuzz_session fuzz_host_data fuzz_resources; do
  tools/run-fuzz.sh "$target" 20
done
# --- end fuzz

# --- windows: both DLLs and the suite under Wine (installs mingw-w64 and Wine),
# then the parity check of both DLLs against the native module
tools/run-windows-tests.sh win-i686 win-x64
# --- end windows

# --- release: the packages, each unpacked into an empty folder and used from there
tools/make-release.sh build/dist
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/release/CMakeCache.txt)
/usr/bin/python3 tests/release/check_release.py build/dist "$version" build
# A click on a document of 10,000 objects redrawn in play's page within 100 ms:
# measured in the Release build the packages came from, alone on the machine.
echo "== release: browser.timing"
ctest --test-dir build/release -L browser -R timing --output-on-failure
# --- end release
