# Environment shared by every Wine process of one build's test run.
# Sourced with the Wine folder of the build (holding prefix/ and display) as $1.
WINE_DIR=$1
export WINEPREFIX="$WINE_DIR/prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
if [ -f "$WINE_DIR/display" ]; then
  export DISPLAY=":$(cat "$WINE_DIR/display")"
fi
