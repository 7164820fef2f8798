#!/usr/bin/env bash
# Runs a cross-built Windows program under Wine for CTest: picks wine for
# 32-bit and wine64 for 64-bit programs, creates the Wine prefix once under a
# lock, and sends the program's output to a file that it prints afterwards
# (Wine's helper processes would otherwise hold CTest's pipe open).
set -u
program="$1"
shift

export WINEPREFIX="${PELLO_WINEPREFIX:-${HOME:-/tmp}/.pello-wine}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"

# The PE header's machine field: 0x8664 for x86_64, 0x14c for i386.
pe=$(od -An -tu4 -j60 -N4 "$program" | tr -d ' ')
machine=$(od -An -tx2 -j$((pe + 4)) -N2 "$program" | tr -d ' ')
# Debian keeps wine64 out of PATH, in /usr/lib/wine.
if [[ "$machine" == "8664" ]]; then
  wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
else
  wine=wine
fi

mkdir -p "$(dirname "$WINEPREFIX")"
(
  flock 9
  if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
    wineboot --init >/dev/null 2>&1
    wineserver -w
  fi
) 9>"$WINEPREFIX.lock"

out=$(mktemp)
trap 'rm -f "$out"' EXIT
"$wine" "$program" "$@" >"$out" 2>&1 </dev/null
status=$?
if [[ $status -eq 1 && ! -s "$out" ]]; then
  # Status 1 with no output at all is Wine failing to start the program (seen
  # now and then on a loaded machine): a test program that fails says so, and
  # a crash ends with the exception's code. One more try, said aloud.
  echo "wine-run.sh: $program ended with status 1 and printed nothing; running it again" >&2
  "$wine" "$program" "$@" >"$out" 2>&1 </dev/null
  status=$?
fi
tr -d '\r' <"$out"
if [[ $status -ne 0 && ! -s "$out" ]]; then
  # A program that ends before it flushes its output (a crash) says nothing.
  echo "wine-run.sh: $program ended with status $status and printed nothing" >&2
fi
exit $status
