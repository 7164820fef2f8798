#!/usr/bin/env bash
# Checks that the release packages are the same bytes whoever builds them:
# clones this commit into a fresh folder elsewhere, makes the release there,
# and compares its SHA256SUMS with those of DIST (packages made from this
# tree), or, without DIST, with a second clone's. On a difference, diffoscope
# (installed when missing) explains it. Only committed work is compared.
# Usage: tools/check-reproducible.sh [DIST]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
scratch=$(mktemp -d /tmp/pello-reproducible.XXXXXX)
trap 'rm -rf "$scratch"' EXIT

# release FOLDER: a clean clone of HEAD in FOLDER, its packages in FOLDER/dist.
release() {
  git clone --quiet --no-local "$root" "$1"
  git -C "$1" checkout --quiet --detach "$(git rev-parse HEAD)"
  "$1/tools/make-release.sh" "$1/dist" >"$1.log" 2>&1 || { tail -n 50 "$1.log"; return 1; }
}

if [[ $# -ge 1 ]]; then
  first=$(realpath "$1")
else
  release "$scratch/first-clone"
  first=$scratch/first-clone/dist
fi
# A folder of another name and depth than the first.
release "$scratch/second/clone-of-pello"
second=$scratch/second/clone-of-pello/dist

if cmp -s "$first/SHA256SUMS" "$second/SHA256SUMS"; then
  echo "reproducible: the packages of two builds in two folders are identical"
  cat "$first/SHA256SUMS"
  exit 0
fi
echo "reproducible: the packages differ" >&2
diff "$first/SHA256SUMS" "$second/SHA256SUMS" >&2 || true
command -v diffoscope >/dev/null || DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends diffoscope >/dev/null 2>&1 || true
for package in "$first"/*.zip "$first"/*.tar.gz; do
  name=$(basename "$package")
  cmp -s "$package" "$second/$name" && continue
  if command -v diffoscope >/dev/null; then
    diffoscope --text - --max-report-size 200000 "$package" "$second/$name" >&2 || true
  else
    echo "  $name differs (diffoscope is not installed to say where)" >&2
  fi
done
exit 1
