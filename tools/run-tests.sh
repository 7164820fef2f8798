#!/usr/bin/env bash
# Builds and runs every test: the native suite with warnings as errors, then
# the same suite under ASan + UBSan + LSan, then a bounded run of each fuzz
# target, then the Windows DLLs (32-bit and 64-bit, cross-built with
# mingw-w64) with the same suite under Wine. Exits non-zero on any failure.
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

# --- windows: both DLLs and the suite under Wine (installs mingw-w64 and Wine)
tools/run-windows-tests.sh win-i686 win-x64
# --- end windows
