#!/bin/bash
# Lays out the demo medium in build/demo/medium and starts the installer on
# it under Wine: on the user's display when there is one, otherwise under a
# display of its own, walking through the pages with real keystrokes and
# saving a screenshot of each page; then prints what was installed.
#
# The medium: INSTALL.EXE and install.ini at its root, the engine and its
# setup file in SETUP, compressed program files (made by mscompress) in the
# sibling disk directory DISK2. Under Wine here the 64-bit build runs; the
# 32-bit programs for real media are in build/i686.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
out=$root/build/demo
medium=$out/medium
rm -rf "$medium" "$out"/page*.png
mkdir -p "$medium/SETUP" "$medium/DISK2"
cp "$root"/demo/SETUP/* "$medium/SETUP/"
cp "$root/demo/install.ini" "$medium/"
cp "$root/build/x86_64/KELBRINE.EXE" "$medium/SETUP/"
cp "$root/build/x86_64/launcher/INSTALL.EXE" "$medium/"
convert -size 240x160 gradient:navy-skyblue -type Palette -compress none BMP3:"$medium/SETUP/COVER.BMP"
convert -size 200x290 gradient:skyblue-navy -compress none BMP3:"$medium/LAUNCHER.BMP"
cp "$root"/demo/DISK2/SAMPLE*.TXT "$medium/DISK2/"
# Compressed files carry the last letter of their name in header byte 9, so
# that the expanded name can be had from the file itself.
for f in PROGRAM.DAT HELP.TXT; do
  cp "$root/demo/DISK2/$f" "$out/$f"
  mscompress "$out/$f" >/dev/null
  packed=${f%?}_
  mv "$out/${f}_" "$medium/DISK2/$packed"
  printf '%s' "${f: -1}" | dd of="$medium/DISK2/$packed" bs=1 seek=9 conv=notrunc 2>/dev/null
  rm -f "$out/$f"
done

export WINEPREFIX=$out/wine
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

if [ -n "$DISPLAY" ] && [ -z "$CI" ] && [ -z "$KELBRINE_DEMO_WALK" ]; then
  echo "Starting the launcher of the demo medium on $DISPLAY"
  cd "$medium"
  wine INSTALL.EXE
  exit 0
fi

# No display: one of our own, and a walk through the pages.
exec 3>"$out/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >"$out/xvfb.log" 2>&1 &
xvfb=$!
exec 3>&-
for _ in $(seq 100); do [ -s "$out/display" ] && break; sleep 0.1; done
export DISPLAY=":$(tr -d '\n' <"$out/display")"
cleanup() { wineserver -k 2>/dev/null; kill $xvfb 2>/dev/null; }
trap cleanup EXIT
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "Creating the demo's Wine prefix (once)..."
  wine wineboot -i >"$out/wineboot.log" 2>&1
  wineserver -w
fi
drive_c=$WINEPREFIX/drive_c
# A machine with its own CONFIG.SYS and AUTOEXEC.BAT, as the demo edits them.
printf 'FILES=30\r\nBUFFERS=20\r\n' >"$drive_c/CONFIG.SYS"
printf '@ECHO OFF\r\nPATH C:\\WINDOWS;C:\\WINDOWS\\COMMAND\r\n' >"$drive_c/AUTOEXEC.BAT"
rm -rf "$drive_c/DEMOAPP"

step() { echo "- $*"; }
shot() { sleep 0.7; import -window root "$out/page$1.png"; step "screenshot build/demo/page$1.png"; }
# Waits for a window by its exact title; prints its client X Y.
wait_window() {
  local id
  id=$(timeout 20 xdotool search --sync --name "^$1\$" | head -1)
  eval "$(xdotool getwindowgeometry --shell "$id")"
  echo "$X $Y"
}
# Answers the open message box titled $1 with Return.
answer() {
  read -r bx by < <(wait_window "$1")
  xdotool mousemove $((bx + 300)) $((by + 80)) click 1
  sleep 0.3
  xdotool key Return
  sleep 0.8
}

cd "$medium/SETUP"
wine KELBRINE.EXE >"$out/kelbrine.log" 2>&1 &
read -r mx my < <(wait_window KELBRINE)
step "the installer is up; cover page"
shot 0-cover
xdotool mousemove $((mx + 200)) $((my + 8)) click 1
xdotool key Return
step "OK: the install set and directory page (Typical)"
shot 1-directory
# Custom shows the option page: Tab from OK past Cancel and Folder to the
# install-set list, then Down picks its second entry.
xdotool key Tab Tab Tab Down
step "Custom chosen"
shot 1-custom
xdotool mousemove $((mx + 200)) $((my + 8)) click 1
xdotool key Return
step "Custom, OK: the option page"
shot 2-options
xdotool key Return
step "OK: the start confirmation"
shot 3-confirm
answer Message
step "the script runs across the two disks"
shot 4-progress
# The end-of-run report.
answer Message
for _ in $(seq 50); do pgrep -f KELBRINE.EXE >/dev/null || break; sleep 0.2; done

echo
echo "Installed into C:\\DEMOAPP:"
(cd "$drive_c/DEMOAPP" && find . -type f | sort | sed 's/^\./  C:\\DEMOAPP/; s|/|\\|g')
echo "Registry:"
wine reg query 'HKCU\Software\Kelbrine\Demo' 2>/dev/null | tr -d '\r' | sed '/^$/d; s/^/  /'
echo "WIN.INI [Demo]:"
grep -a -A1 '^\[Demo\]' "$drive_c/windows/win.ini" | tr -d '\r' | sed 's/^/  /'
echo "CONFIG.SYS:"
tr -d '\r' <"$drive_c/CONFIG.SYS" | sed 's/^/  /'
echo "AUTOEXEC.BAT:"
tr -d '\r' <"$drive_c/AUTOEXEC.BAT" | sed 's/^/  /'
echo "Program Manager group:"
ls "$drive_c"/users/*/AppData/Roaming/Microsoft/Windows/Start\ Menu/Programs/Kelbrine\ Demo 2>/dev/null | sed 's/^/  /'
