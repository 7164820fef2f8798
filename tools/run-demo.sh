#!/usr/bin/env bash
# Builds the plug-in and the stand-in host (Release) and runs the demo session.
# Installs only what those two need (the compiler, CMake, Ninja and the
# libraries pello-host links); the tests' own needs are tools/run-tests.sh's.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh --demo
cmake --preset release >/dev/null
cmake --build --preset release -j"$(nproc)" --target pello-host PelloPalette
build/release/host/cli/pello-host demo "$@"
