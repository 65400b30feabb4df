#!/bin/bash
# run.sh WINE_DIR PROGRAM [ARGS...]: runs a Windows program (or, for a .sh
# PROGRAM, a test script) with the test run's prefix and display. Wine's
# output goes through a file: a Wine process left behind must not keep the
# caller's pipe open.
WINE_DIR=$(cd "$1" && pwd)
shift
. "$(dirname "$0")/env.sh" "$WINE_DIR"
export KELBRINE_TESTS_DIR=$(cd "$(dirname "$0")/.." && pwd)
export WINE_DIR
out=$(mktemp)
case "$1" in
  *.sh) bash "$@" >"$out" 2>&1 ;;
  *) wine "$@" >"$out" 2>&1 ;;
esac
rc=$?
tr -d '\r' <"$out"
rm -f "$out"
exit $rc
