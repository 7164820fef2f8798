#!/usr/bin/env bash
# Runs one libFuzzer target of the "fuzz" preset for a bounded time, from the
# seeds in fuzz/corpus/TARGET plus what the run finds (kept in a scratch
# folder). A crash, a sanitizer report or a failed check ends the run with a
# non-zero status, prints the report and leaves the input in
# build/fuzz/artifacts/.
# Usage: tools/run-fuzz.sh TARGET SECONDS [libFuzzer options...]
set -euo pipefail
cd "$(dirname "$0")/.."
target=$1
seconds=$2
shift 2

binary=build/fuzz/fuzz/$target
corpus=$(mktemp -d)
log=$(mktemp)
trap 'rm -rf "$corpus" "$log"' EXIT
mkdir -p build/fuzz/artifacts
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
echo "== fuzz: $target for ${seconds} s"
status=0
"$binary" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=4096 -print_final_stats=1 \
  -artifact_prefix=build/fuzz/artifacts/"$target"- "$@" "$corpus" fuzz/corpus/"$target" >"$log" 2>&1 || status=$?
if [[ $status -ne 0 ]]; then
  tail -n 200 "$log"
  echo "fuzz: $target failed (status $status)"
  exit "$status"
fi
grep -E "^(#[0-9]+ +DONE|stat::number_of_executed_units|stat::peak_rss_mb)" "$log" || tail -n 5 "$log"
