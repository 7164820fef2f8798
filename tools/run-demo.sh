#!/usr/bin/env bash
# Builds the plug-in and the stand-in host (Release) and runs the demo session.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j"$(nproc)"
build/release/host/cli/pello-host demo "$@"
