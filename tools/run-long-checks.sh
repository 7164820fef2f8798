#!/usr/bin/env bash
# The longer runs that the test command keeps short.
#
#   tools/run-long-checks.sh [CYCLES] [PARITY_SESSIONS]   (default 10000 2000)
# 10,000 load/unload cycles and 1,000 whole host runs of each module in one
# process (the native module and both DLLs under Wine), and the parity check
# over 2,000 random sessions.
#
#   tools/run-long-checks.sh random [RUNS] [STEPS] [SEED] [PRESET...]
#                                   (default 3 14000 1000, presets release asan)
# The random sessions of validate on the real plug-in, long: each run is
# `validate --only random` (12 sessions with host faults, missing suites and
# odd preferences, and 12 without) of STEPS actions each, from seeds SEED,
# SEED+12, ...; with the defaults 3 x 24 x 14,000 = 1,008,000 actions per
# preset, plus the shrinking of any failing session. Every run must pass
# (a failure prints its seed and the shrunk session file); the actions per
# second of each preset are printed at the end. CI runs a bounded share
# (ctest: validate.random_long_share, 24 sessions of 5,000 actions).
# Measured on two cores (December 2026, the debug ci build standing in for
# release): about 8,000-12,000 actions per second with faults, 6,000-8,000
# without; under ASan + UBSan about 1,400-2,200.
#
#   tools/run-long-checks.sh reproducible
# The release made from two fresh clones of this commit in two folders must
# give byte-identical packages (tools/check-reproducible.sh; about two release
# builds, 10 minutes on two cores).
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

if [ "${1:-}" = reproducible ]; then
  exec tools/check-reproducible.sh
fi

if [ "${1:-}" = random ]; then
  runs=${2:-3}
  steps=${3:-14000}
  seed=${4:-1000}
  shift $(($# < 4 ? $# : 4))
  presets=("$@")
  [ ${#presets[@]} -gt 0 ] || presets=(release asan)
  status=0
  report=""
  for preset in "${presets[@]}"; do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j"$jobs" --target pello-host PelloPalette
    start=$(date +%s.%N)
    for ((run = 0; run < runs; run++)); do
      s=$((seed + 12 * run))
      echo "== random: $preset, seed $s, $steps steps per session"
      build/"$preset"/host/cli/pello-host validate build/"$preset"/plugin/PelloPalette.aip \
        --only random --seed "$s" --steps "$steps" --verbose || status=1
    done
    end=$(date +%s.%N)
    actions=$((runs * 24 * steps))
    report+=$(awk -v p="$preset" -v a="$actions" -v s="$start" -v e="$end" \
      'BEGIN { printf "%s: %d actions in %.0f s, %.0f actions per second\n", p, a, e - s, a / (e - s) }')$'\n'
  done
  printf '%s' "$report"
  exit $status
fi

cycles=${1:-10000}
sessions=${2:-2000}
tools/install-deps.sh --windows
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
