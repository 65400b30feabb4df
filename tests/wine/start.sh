#!/bin/bash
# Starts the one Xvfb and the Wine prefix that all tests of a build share.
# The prefix is created once and kept in the build tree.
set -e
mkdir -p "$1"
WINE_DIR=$(cd "$1" && pwd)
. "$(dirname "$0")/env.sh" "$WINE_DIR"

if [ -f "$WINE_DIR/xvfb.pid" ] && kill -0 "$(cat "$WINE_DIR/xvfb.pid")" 2>/dev/null; then
  :
else
  rm -f "$WINE_DIR/display"
  # -displayfd lets Xvfb pick a free display, so parallel builds never collide.
  exec 3>"$WINE_DIR/display.tmp"
  setsid Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >"$WINE_DIR/xvfb.log" 2>&1 &
  echo $! >"$WINE_DIR/xvfb.pid"
  exec 3>&-
  for _ in $(seq 100); do
    [ -s "$WINE_DIR/display.tmp" ] && break
    sleep 0.1
  done
  tr -d '\n' <"$WINE_DIR/display.tmp" >"$WINE_DIR/display"
  rm -f "$WINE_DIR/display.tmp"
fi
export DISPLAY=":$(cat "$WINE_DIR/display")"

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wine wineboot -i >"$WINE_DIR/wineboot.log" 2>&1
  wineserver -w
fi
# A persistent server keeps Wine warm between the test programs; its output
# goes to a file so that no test's pipe is held open by it.
setsid wineserver -p >"$WINE_DIR/wineserver.log" 2>&1 </dev/null || true
echo "Xvfb on display $DISPLAY, prefix $WINEPREFIX"
