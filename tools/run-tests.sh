#!/usr/bin/env bash
# Builds and runs every test: the native suite with warnings as errors, then
# the same suite under ASan + UBSan + LSan. Exits non-zero on any failure.
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
