#!/usr/bin/env bash
# Builds and runs every test: the native suite with warnings as errors, then
# the same suite under ASan + UBSan + LSan, then a bounded run of each fuzz
# target, then the Windows DLLs (32-bit and 64-bit, cross-built with
# mingw-w64) with the same suite under Wine and the parity check of their
# transcripts against the native module's, then the release packages, made
# and checked as users get them, and in their Release build the time of a
# click in pello-host play against its goal. Exits non-zero on any failure.
# Ends with a table of its phases and their durations, and the phases that
# were skipped, each with its reason.
#
# Usage: tools/run-tests.sh [--quick]
#   --quick   the native suite only (no sanitizer, fuzz or cross builds, no
#             packages): the developer's loop before a push
set -euo pipefail
cd "$(dirname "$0")/.."
quick=0
case "${1:-}" in
  "") ;;
  --quick) quick=1 ;;
  *)
    echo "usage: tools/run-tests.sh [--quick]" >&2
    exit 2
    ;;
esac
source tools/phases.sh
source tools/windows.sh

build() {
  cmake --preset "$1" >/dev/null
  cmake --build --preset "$1" -j"$(nproc)" "${@:2}"
}
suite() {
  ctest --preset "$1" -j"$(nproc)"
}

fuzz_targets=(fuzz_session fuzz_host_data fuzz_resources fuzz_readers)
# Each target fuzzes 20 s on one core, two targets at a time.
fuzz_runs() {
  local target pids=() status=0
  for target in "${fuzz_targets[@]}"; do
    if [[ ${#pids[@]} -ge $(nproc) ]]; then
      wait "${pids[0]}" || status=1
      pids=("${pids[@]:1}")
    fi
    tools/run-fuzz.sh "$target" 20 >"build/fuzz/$target.log" 2>&1 &
    pids+=($!)
  done
  for pid in "${pids[@]}"; do wait "$pid" || status=1; done
  for target in "${fuzz_targets[@]}"; do cat "build/fuzz/$target.log"; done
  return $status
}

release_checks() {
  local version
  version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/release/CMakeCache.txt)
  /usr/bin/python3 tests/release/check_release.py build/dist "$version" build
}

# A click on a document of 10,000 objects redrawn in play's page within
# 100 ms: measured in the Release build the packages came from, alone on the
# machine. Status 77: Chromium or its driver is missing.
browser_timing() {
  local status=0
  PELLO_BUILD_TYPE=Release /usr/bin/python3 tests/browser/check_play.py timing build/release/host/cli/pello-host \
    build/release/browser-timing || status=$?
  if [[ $status -eq 77 ]]; then
    skip "release: browser.timing" "Chromium or chromium-driver is missing"
    return 0
  fi
  return $status
}

if [[ $quick -eq 1 ]]; then
  phase "install" tools/install-deps.sh
  phase "ci: build" build ci
  phase "ci: test" suite ci
  skip "asan, fuzz, win-i686, win-x64, parity, release" "--quick runs the native suite only"
  exit 0
fi

phase "install" tools/install-deps.sh --windows
phase "ci: build" build ci
phase "ci: test" suite ci
phase "asan: build" build asan
phase "asan: test" suite asan
# The fuzz tree builds the fuzz targets alone, about a minute of runs in all.
phase "fuzz: build" build fuzz --target "${fuzz_targets[@]}"
phase "fuzz: run" fuzz_runs
for preset in win-i686 win-x64; do
  phase "$preset: build" windows_build "$preset"
  phase "$preset: test under Wine" windows_test "$preset"
done
phase "parity: native against the DLLs" windows_parity win-i686 win-x64
# The Windows packages come from the trees built above; the Linux one from
# the release tree, which builds the plug-in and pello-host alone.
phase "release: packages" tools/make-release.sh build/dist
phase "release: packages checked" release_checks
phase "release: browser.timing" browser_timing
