# The Windows steps of the test run, as functions (sourced by
# tools/run-tests.sh and tools/run-windows-tests.sh, after tools/phases.sh):
# the DLLs cross-built with mingw-w64, the suite under Wine, and the parity
# check of their transcripts against the native module's.

# 32-bit Windows programs run under the 32-bit Wine loader, a 32-bit Linux
# program from the package wine32:i386. Where that loader is missing (its
# package could not be installed) or the kernel does not run 32-bit programs,
# the 32-bit DLL is still built and checked on the build machine (its exports,
# imports and resources), its Wine run is reported as skipped with the reason,
# and PELLO_REQUIRE_32BIT=1 makes that a failure instead.
why_no_32bit_programs() {
  if [[ ! -x /usr/lib/wine/wine ]]; then
    echo "the 32-bit Wine loader /usr/lib/wine/wine (package wine32:i386) is not installed"
    return
  fi
  local rc=0
  /usr/lib/wine/wine --version >/dev/null 2>&1 || rc=$?
  if [[ $rc -eq 126 ]]; then
    echo "this machine cannot run 32-bit programs ($(/usr/lib/wine/wine --version 2>&1 | head -1))"
  fi
}

windows_build() {
  cmake --preset "$1" >/dev/null
  cmake --build --preset "$1" -j"$(nproc)"
  ls -l "build/$1/plugin/PelloPalette.aip"
}

# windows_test PRESET: the suite under Wine; where the DLL cannot run, the
# checks of it that run on the build machine, and the Wine run reported as
# skipped. The presets that ran are listed in build/PRESET/.ran-under-wine.
windows_test() {
  local preset=$1 no32=""
  rm -f "build/$preset/.ran-under-wine"
  [[ "$preset" == "win-i686" ]] && no32=$(why_no_32bit_programs)
  if [[ -n "$no32" ]]; then
    if [[ "${PELLO_REQUIRE_32BIT:-0}" == "1" ]]; then
      echo "$preset: $no32; PELLO_REQUIRE_32BIT=1: failing" >&2
      return 1
    fi
    skip "$preset: the suite under Wine" "$no32 (only the DLL's own checks ran)"
    # CTest cannot be used: it lists the tests of each program by running it.
    local res
    res=$(sed -n 's/^PELLO_RES:INTERNAL=//p' "build/$preset/CMakeCache.txt")
    /usr/bin/python3 tests/plugin/windows_dll/check_windows_dll.py "build/$preset/plugin/PelloPalette.aip" \
      "$res" plugin/resources i686
    /usr/bin/python3 tests/plugin/palette_resources/check_palette_resources.py "$res"
    return 0
  fi
  ctest --preset "$preset" -j"$(nproc)"
  touch "build/$preset/.ran-under-wine"
}

# windows_parity PRESET...: the same sessions on the native module (the ci
# build, brought up to date) and on each DLL that ran under Wine must give the
# same transcripts.
windows_parity() {
  local preset parity=()
  for preset in "$@"; do
    [[ -f "build/$preset/.ran-under-wine" ]] && parity+=(--windows "build/$preset")
  done
  if [[ ${#parity[@]} -eq 0 ]]; then
    skip "parity" "no DLL ran under Wine"
    return 0
  fi
  cmake --preset ci >/dev/null
  cmake --build --preset ci -j"$(nproc)" --target pello-host PelloPalette
  python3 tests/parity/check_parity.py --native build/ci "${parity[@]}" --count 200
}
