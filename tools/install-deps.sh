#!/usr/bin/env bash
# Installs the Debian 12 packages the build and the tests need, when missing.
# Usage: tools/install-deps.sh [--windows]   (--windows adds mingw-w64 and Wine)
set -euo pipefail

packages=(cmake make g++ binutils llvm-14 libgtest-dev libgmock-dev libbenchmark-dev
  nlohmann-json3-dev libcli11-dev librsvg2-bin python3 python3-pefile clang-14 libclang-rt-14-dev)
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
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
