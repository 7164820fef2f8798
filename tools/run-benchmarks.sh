#!/usr/bin/env bash
# Builds the plug-in, the stand-in host and the benchmarks (Release) and runs
# them: the art operations against their floors, PluginMain for the menu
# item's update, clicks per second, and the memory check over 10^6 clicks.
# The figures go to build/benchmarks/results/: bench.json and bench.txt (Google
# Benchmark), memory.txt, and summary.md, the tables of docs/BENCHMARKS.md.
#
# Usage: tools/run-benchmarks.sh [Google Benchmark options, e.g.
#        --benchmark_filter=PatternShift]
# Takes a few minutes; it needs about 2 GiB of free memory for the documents
# of 10^6 objects.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh

build=build/benchmarks
results=$build/results
jobs=$(nproc)

echo "== build (Release) in $build"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DPELLO_BUILD_TESTS=OFF -DPELLO_BUILD_BENCH=ON >/dev/null
cmake --build "$build" -j"$jobs" --target pello-bench pello-bench-memory

mkdir -p "$results"
echo "== benchmarks"
"$build/bench/pello-bench" --benchmark_out="$results/bench.json" --benchmark_out_format=json "$@" |
  tee "$results/bench.txt"

echo "== memory over 10^6 clicks"
memory_status=0
"$build/bench/pello-bench-memory" --clicks 1000,1000000 | tee "$results/memory.txt" || memory_status=$?

# The Windows DLLs' sizes, where a cross build has made them:
#   tools/install-deps.sh --windows
#   cmake --preset win-x64 && cmake --build --preset win-x64   (and win-i686)
python3 bench/summarize.py "$results/bench.json" "$results/memory.txt" \
  --module "native module=$build/plugin/PelloPalette.aip" \
  --module "Windows 32-bit DLL=build/win-i686/plugin/PelloPalette.aip" \
  --module "Windows 64-bit DLL=build/win-x64/plugin/PelloPalette.aip" >"$results/summary.md"
echo "== summary: $results/summary.md"
exit "$memory_status"
