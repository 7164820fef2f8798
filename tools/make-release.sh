#!/usr/bin/env bash
# Makes the release packages, from a clean tree or an existing build, in dist/:
#   PelloPalette-<version>-win32.zip, -win64.zip   the plug-in as users install it:
#       PelloPalette.aip (stripped), PelloPalette.aip.debug (its debug
#       information, named by the DLL), the user's guide, SHA256SUMS
#   pello-host-<version>-win32.zip, -win64.zip, -linux-x86_64.tar.gz
#       the stand-in host with the plug-in beside it (bin/, lib/pello/), the
#       example sessions and a README, SHA256SUMS
#   SHA256SUMS                                      of the packages
# The packages are the same bytes from any clean clone of a commit, in any
# folder, at any time: every time stamp in them is the commit's (or
# SOURCE_DATE_EPOCH's), and the binaries name no build folder.
# <version> is the plug-in's version resource (plugin/resources/PelloPalette.rc).
# Usage: tools/make-release.sh [OUT_DIR]   (default: dist)
set -euo pipefail
# OUT_DIR is taken as the caller gave it, from the caller's folder.
out=$(realpath -m "${1:-$(dirname "$0")/../dist}")
cd "$(dirname "$0")/.."
root=$(pwd)
# The folder holds the packages and nothing else of value: never the tree or
# a folder above it, never a checkout.
case "$root/" in "$out"/*) echo "make-release: $out holds the source tree; name another folder" >&2; exit 2 ;; esac
if [[ -e "$out/.git" || ( -d "$out" && -n "$(find "$out" -mindepth 1 -maxdepth 1 ! -name 'PelloPalette-*' ! -name 'pello-host-*' ! -name SHA256SUMS -print -quit)" ) ]]; then
  echo "make-release: $out holds other files than packages; name an empty or new folder" >&2
  exit 2
fi
tools/install-deps.sh --windows

jobs=$(nproc)
for preset in release win-i686 win-x64; do
  echo "== $preset: build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j"$jobs" --target pello-host PelloPalette
done
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/release/CMakeCache.txt)
[[ -n "$version" ]] || { echo "make-release: no version in build/release" >&2; exit 1; }

epoch=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || echo 315532800)}

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir -p "$out"
rm -f "$out"/PelloPalette-*.zip "$out"/pello-host-*.zip "$out"/pello-host-*.tar.gz "$out"/SHA256SUMS

# SHA256SUMS of every file under $1, paths relative to it.
checksums() {
  (cd "$1" && find . -type f ! -name SHA256SUMS | sed 's|^\./||' | LC_ALL=C sort | xargs -d '\n' sha256sum >SHA256SUMS)
}

guide() {
  mkdir -p "$1/user-guide"
  cp -r docs/user-guide/. "$1/user-guide/"
}

# The plug-in packages.
for pair in win-i686:win32 win-x64:win64; do
  preset=${pair%%:*} system=${pair##*:}
  name=PelloPalette-$version-$system
  dir=$stage/$name
  mkdir -p "$dir"
  cp "build/$preset/plugin/PelloPalette.aip" "build/$preset/plugin/PelloPalette.aip.debug" "$dir/"
  guide "$dir"
  checksums "$dir"
  /usr/bin/python3 tools/pack.py "$out/$name.zip" "$stage" "$name" "$epoch"
done

# The host packages: cmake --install's layout, where pello-host finds the module.
host_readme() {
  cat >"$1/README.txt" <<EOF
pello-host $version: the stand-in host for PelloPalette.aip

bin/pello-host$2 loads lib/pello/PelloPalette.aip (the $3 plug-in) as the
illustration host would and drives it from the command line:

  bin/pello-host$2 demo                          a session on every kind of art
  bin/pello-host$2 run examples/arrows/session.json [--verbose] [--json]
  bin/pello-host$2 validate                      named checks of the plug-in
  bin/pello-host$2 palette -o palette.svg        the palette, drawn from its resources
  bin/pello-host$2 --help

Another module: --plugin PATH. Sessions are described in examples/README.md;
the JSON Schemas of sessions and documents are in share/pello/schemas/.
Exit status: 0 passed, 1 an expectation or check failed, 2 malformed input,
3 the module cannot be loaded.
EOF
}
for triple in win-i686:win32:.exe win-x64:win64:.exe release:linux-x86_64:; do
  IFS=: read -r preset system exe <<<"$triple"
  name=pello-host-$version-$system
  dir=$stage/$name
  cmake --install "build/$preset" --prefix "$dir" >/dev/null
  cp -r examples "$dir/examples"
  host_readme "$dir" "$exe" "$system"
  checksums "$dir"
  if [[ -n "$exe" ]]; then
    /usr/bin/python3 tools/pack.py "$out/$name.zip" "$stage" "$name" "$epoch"
  else
    /usr/bin/python3 tools/pack.py "$out/$name.tar.gz" "$stage" "$name" "$epoch"
  fi
done

(cd "$out" && export LC_ALL=C && sha256sum -- *.zip *.tar.gz >SHA256SUMS)
echo "== packages in ${out#"$root"/}"
ls -l "$out"
