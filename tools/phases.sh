# Phases of a long tools/ run, timed, and the table of them printed at the end
# (also when a phase fails, and last before the closing line, so that a CI log
# ends with it). Sourced by tools/run-tests.sh.
#
#   phase NAME COMMAND...   runs COMMAND as one phase; a failure ends the run
#   skip NAME REASON        records a phase that did not run, and why
#
# A command may itself report parts it skipped: it appends "NAME<TAB>REASON"
# lines to the file $PELLO_SKIPPED_FILE. Skipped phases are listed after the
# table, each with its reason on a line of its own, so that nobody mistakes a
# partial run for a full one.

PELLO_SKIPPED_FILE=$(mktemp)
export PELLO_SKIPPED_FILE
_phase_names=()
_phase_seconds=()
_phase_states=()
_phase_started=$SECONDS

_phase_clock() {
  printf '%d:%02d' $(($1 / 60)) $(($1 % 60))
}

phase() {
  local name=$1 start=$SECONDS status=0 skipped_before
  shift
  skipped_before=$(wc -l <"$PELLO_SKIPPED_FILE")
  echo "== $name"
  # In a subshell of its own with errexit on: a function given as COMMAND
  # stops at its first failing command (errexit is off inside an `||` list).
  set +e
  (
    set -e
    "$@"
  )
  status=$?
  set -e
  _phase_names+=("$name")
  _phase_seconds+=($((SECONDS - start)))
  if [[ $status -ne 0 ]]; then
    _phase_states+=("FAILED ($status)")
  elif [[ $(wc -l <"$PELLO_SKIPPED_FILE") -gt $skipped_before ]]; then
    _phase_states+=("ok, part SKIPPED (below)")
  else
    _phase_states+=(ok)
  fi
  if [[ $status -ne 0 ]]; then
    echo "== $name: FAILED with status $status" >&2
    exit "$status"
  fi
}

skip() {
  printf '%s\t%s\n' "$1" "$2" >>"$PELLO_SKIPPED_FILE"
}

_phase_table() {
  local status=$? i
  echo
  echo "== phases"
  printf '%-34s %8s  %s\n' "phase" "time" "result"
  for i in "${!_phase_names[@]}"; do
    printf '%-34s %8s  %s\n' "${_phase_names[$i]}" "$(_phase_clock "${_phase_seconds[$i]}")" "${_phase_states[$i]}"
  done
  printf '%-34s %8s\n' "total" "$(_phase_clock $((SECONDS - _phase_started)))"
  if [[ -s "$PELLO_SKIPPED_FILE" ]]; then
    echo
    while IFS=$'\t' read -r name reason; do
      echo "SKIPPED $name: $reason"
    done <"$PELLO_SKIPPED_FILE"
  fi
  rm -f "$PELLO_SKIPPED_FILE"
  echo
  if [[ $status -eq 0 ]]; then
    echo "== all phases passed"
  else
    echo "== FAILED (status $status)"
  fi
  exit "$status"
}
trap _phase_table EXIT
