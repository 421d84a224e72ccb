#!/usr/bin/env bash
# scripts/xvfb run: a run that failed only because the leak checker's tracer crashed runs once more;
# every other exit code, a second tracer crash included, is the run's own.
set -uo pipefail
xvfb=$1 dir=$2
mark=$(mktemp)
trap 'rm -f "$mark"' EXIT
fails=0
expect() { # expected-code command...
  local want=$1
  shift
  "$xvfb" run "$dir" 0 "$@" >/dev/null 2>&1
  local got=$?
  [ "$got" -eq "$want" ] || { echo "FAIL: '$*' exited $got, expected $want"; fails=1; }
}
crash_once='if [ -s "$0" ]; then exit ${1:-0}; fi; echo 1 >"$0"; echo "Tracer caught signal 11" >&2; exit 134'
expect 0 bash -c "$crash_once" "$mark"
: >"$mark"
expect 3 bash -c "$crash_once" "$mark" 3
expect 134 bash -c 'echo "Tracer caught signal 11" >&2; exit 134'
expect 7 bash -c 'echo "ERROR: LeakSanitizer: detected memory leaks" >&2; exit 7'
exit $fails
