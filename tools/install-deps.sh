#!/usr/bin/env bash
# Installs the Debian 12 packages the build and the tests need, when missing.
# Usage: tools/install-deps.sh [--demo | --windows]
#   --demo     only what the plug-in and pello-host need to build (the demo)
#   (none)     besides, what the native tests need: GoogleTest, Google
#              Benchmark, clang for the fuzz targets, Chromium for play's page
#   --windows  besides, mingw-w64 and Wine for the Windows DLLs
set -euo pipefail

packages=(cmake ninja-build g++ binutils pkg-config nlohmann-json3-dev libcli11-dev libcpp-httplib-dev)
if [[ "${1:-}" != "--demo" ]]; then
  packages+=(make llvm-14 libgtest-dev libgmock-dev libbenchmark-dev librsvg2-bin python3 python3-pefile
    python3-jsonschema python3-lxml python3-junitparser clang-14 libclang-rt-14-dev chromium chromium-driver
    python3-selenium)
fi
if [[ "${1:-}" == "--windows" ]]; then
  packages+=(g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix googletest wine wine64 wine32:i386)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[[ $(id -u) -ne 0 ]] && sudo="sudo"
if printf '%s\n' "${missing[@]}" | grep -q ':i386'; then
  $sudo dpkg --add-architecture i386
fi
# A mirror in mid-sync can fail one index; what the others give is usually enough.
$sudo apt-get update -qq || echo "install-deps: apt-get update reported errors; trying the install with the indices it has" >&2
install() { DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "$@" >/dev/null; }
# The 32-bit Wine loader comes last and on its own: a 32-bit index the mirror
# could not give leaves it uninstallable, and the 32-bit DLL's run under Wine
# is then reported as skipped, with the reason, rather than stopping the rest.
required=() optional=()
for p in "${missing[@]}"; do
  if [[ "$p" == *:i386 ]]; then optional+=("$p"); else required+=("$p"); fi
done
[[ ${#required[@]} -eq 0 ]] || install "${required[@]}"
if [[ ${#optional[@]} -gt 0 ]] && ! install "${optional[@]}"; then
  echo "install-deps: could not install ${optional[*]}; the 32-bit DLL will not run under Wine" >&2
fi
