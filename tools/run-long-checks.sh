#!/usr/bin/env bash
# The longer runs that the test command keeps short: 10,000 load/unload cycles
# and 1,000 whole host runs of each module in one process (the native module
# and both DLLs under Wine), and the parity check over 2,000 random sessions.
# Usage: tools/run-long-checks.sh [CYCLES] [PARITY_SESSIONS]   (default 10000 2000)
set -euo pipefail
cd "$(dirname "$0")/.."
cycles=${1:-10000}
sessions=${2:-2000}
tools/install-deps.sh --windows
jobs=$(nproc)
for preset in ci win-i686 win-x64; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j"$jobs" --target pello-host PelloPalette
done
echo "== cycles: native"
build/ci/host/cli/pello-host validate --only cycles --cycles "$cycles" build/ci/plugin/PelloPalette.aip
for preset in win-i686 win-x64; do
  echo "== cycles: $preset"
  cmake/wine-run.sh "build/$preset/host/cli/pello-host.exe" validate --only cycles --cycles "$cycles" \
    "Z:$(pwd | tr / '\\')\\build\\$preset\\plugin\\PelloPalette.aip"
done
echo "== parity: $sessions random sessions"
python3 tests/parity/check_parity.py --native build/ci --windows build/win-i686 --windows build/win-x64 \
  --count "$sessions" --seed 7
