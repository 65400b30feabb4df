#!/bin/bash
# Ends every Wine process of the prefix and the Xvfb of the test run.
WINE_DIR=$(cd "$1" && pwd)
. "$(dirname "$0")/env.sh" "$WINE_DIR"
wineserver -k 2>/dev/null
if [ -f "$WINE_DIR/xvfb.pid" ]; then
  kill "$(cat "$WINE_DIR/xvfb.pid")" 2>/dev/null
  rm -f "$WINE_DIR/xvfb.pid" "$WINE_DIR/display"
fi
exit 0
