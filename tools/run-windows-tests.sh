#!/usr/bin/env bash
# Builds the Windows DLLs (32-bit and 64-bit, cross-built with mingw-w64) and
# runs the test suite against each under Wine. Exits non-zero on any failure.
# Usage: tools/run-windows-tests.sh [preset...]   (default: win-i686 win-x64)
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh --windows

jobs=$(nproc)
presets=("$@")
[[ ${#presets[@]} -eq 0 ]] && presets=(win-i686 win-x64)
for preset in "${presets[@]}"; do
  echo "== $preset: build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j"$jobs"
  echo "== $preset: test"
  ctest --preset "$preset" -j"$jobs"
  ls -l "build/$preset/plugin/PelloPalette.aip"
done

# The parity check: the same sessions on the native module and on each DLL
# must give the same transcripts. It compares against the native ci build,
# brought up to date here (nothing to do after the native suite).
echo "== ci: build (for the parity check)"
cmake --preset ci >/dev/null
cmake --build --preset ci -j"$jobs" --target pello-host PelloPalette
parity=()
for preset in "${presets[@]}"; do parity+=(--windows "build/$preset"); done
echo "== parity: native against ${presets[*]}"
python3 tests/parity/check_parity.py --native build/ci "${parity[@]}" --count 200
