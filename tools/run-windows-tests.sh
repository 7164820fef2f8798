#!/usr/bin/env bash
# Builds the Windows DLLs (32-bit and 64-bit, cross-built with mingw-w64),
# runs the test suite against each under Wine, then the parity check of their
# transcripts against the native module's. Exits non-zero on any failure.
# Usage: tools/run-windows-tests.sh [preset...]   (default: win-i686 win-x64)
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/phases.sh
source tools/windows.sh

presets=("$@")
[[ ${#presets[@]} -eq 0 ]] && presets=(win-i686 win-x64)
phase "install (Windows)" tools/install-deps.sh --windows
for preset in "${presets[@]}"; do
  phase "$preset: build" windows_build "$preset"
  phase "$preset: test under Wine" windows_test "$preset"
done
phase "parity: native against ${presets[*]}" windows_parity "${presets[@]}"
