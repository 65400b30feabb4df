# Shared by the end-to-end scripts, sourced with KELBRINE.EXE and the probe
# as $1 and $2. Media are laid out inside the Wine C: drive (the search for an
# earlier installation walks the drive of the install directory, and Z: would
# be the whole Linux root); the installer is driven with real clicks and keys
# only, and every wait is bounded so that a fault fails instead of hanging.
EXE=$1
PROBE=$2
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
expect() { [ "$2" = "$3" ] || fail "$1: got '$2', expected '$3'"; }
note() { echo "-- $*"; }

USERS=$WINEPREFIX/drive_c/users
WINUSER=$(ls "$USERS" | grep -vx Public | head -1)
mkdir -p "$USERS/$WINUSER/Temp"
ROOT=$(mktemp -d "$USERS/$WINUSER/Temp/e2e.XXXXXX")
ROOT_WIN="C:\\users\\$WINUSER\\Temp\\$(basename "$ROOT")"
WORK=$(mktemp -d)
PROGRAMS="$USERS/$WINUSER/AppData/Roaming/Microsoft/Windows/Start Menu/Programs"
ENGINE_PID=

# Files of the system the scripts touch; those that did not exist before are
# removed at the end, those that did are put back.
SYSTEM_FILES="$WINEPREFIX/drive_c/CONFIG.SYS $WINEPREFIX/drive_c/AUTOEXEC.BAT
$WINEPREFIX/drive_c/CONFIG.ADD $WINEPREFIX/drive_c/AUTOEXEC.ADD $WINEPREFIX/drive_c/windows/win.ini"
for f in $SYSTEM_FILES; do
  [ -e "$f" ] && cp -p "$f" "$WORK/saved.$(basename "$f")"
done
MAPPED=
MOUNTED=
# Whatever way the script ends, the system is left as it was found.
cleanup() {
  stop_engine
  for l in $MAPPED; do rm -f "$WINEPREFIX/dosdevices/$l:"; done
  # Wine may still hold the drive's root open: the file system goes when it
  # is let go.
  for d in $MOUNTED; do umount -l "$d" && rmdir "$d"; done
  for f in $SYSTEM_FILES; do
    if [ -e "$WORK/saved.$(basename "$f")" ]; then
      cp -p "$WORK/saved.$(basename "$f")" "$f"
    else
      rm -f "$f"
    fi
  done
  rm -rf "$ROOT"
  [ $failures -eq 0 ] && rm -rf "$WORK"
}
trap cleanup EXIT
trap 'exit 1' INT TERM
finish() {
  if [ $failures -eq 0 ]; then
    echo "all checks passed"
  else
    echo "$failures failures; pictures and logs kept in $WORK"
  fi
  exit $((failures > 0))
}

# The Windows path of a file or directory below $ROOT.
winpath() { local rel=${1#"$ROOT"}; echo "$ROOT_WIN${rel//\//\\}"; }
# The same, written for a setup file (a backslash there is written twice).
winpath_ini() { local p; p=$(winpath "$1"); echo "${p//\\/\\\\}"; }

# medium NAME: a fresh medium directory with the program on it; prints its path.
medium() {
  rm -rf "${ROOT:?}/$1"
  mkdir -p "$ROOT/$1"
  cp "$EXE" "$ROOT/$1/KELBRINE.EXE"
  echo "$ROOT/$1"
}

# setup_file DIR [ja]: the setup file from stdin, with CR LF line ends;
# Japanese text is written in Shift-JIS.
setup_file() {
  if [ "$2" = ja ]; then
    sed 's/$/\r/' | iconv -f UTF-8 -t CP932 >"$1/KELBRINE.INI"
  else
    sed 's/$/\r/' >"$1/KELBRINE.INI"
  fi
}

# start_engine_in DIR COMMAND...: runs the command (wine and its arguments)
# in DIR and waits for the program's window; LAUNCH_LANG=ja_JP.UTF-8 gives
# it the Japanese code page.
start_engine_in() {
  local dir=$1
  shift
  ENGINE_LANG=${LAUNCH_LANG:-C.UTF-8}
  BEFORE=$(xdotool search --onlyvisible --name '^KELBRINE$' 2>/dev/null)
  (cd "$dir" && LANG=$ENGINE_LANG LC_ALL=$ENGINE_LANG exec "$@" >>"$WORK/engine.log" 2>&1) &
  ENGINE_PID=$!
  wait_main
}
# start_engine DIR [ja]: starts DIR/KELBRINE.EXE from C:\, as a user starting
# it by its path.
start_engine() {
  local lang=C.UTF-8
  [ "$2" = ja ] && lang=ja_JP.UTF-8
  LAUNCH_LANG=$lang start_engine_in "$WINEPREFIX/drive_c" wine "$1/KELBRINE.EXE"
}
# start_engine_win PATH: starts the program by its Windows path (a medium on
# a mapped drive), from C:\.
start_engine_win() { start_engine_in "$WINEPREFIX/drive_c" wine "$1"; }

# Waits for a main window that was not there before the start and reads
# where its client area lies. ENGINE_PID becomes the process that owns it (a
# program started through the command interpreter is not the one started).
wait_main() {
  local i w
  MAIN=
  for i in $(seq 200); do
    for w in $(xdotool search --onlyvisible --name '^KELBRINE$' 2>/dev/null); do
      case " $BEFORE " in *" $w "*) ;; *) MAIN=$w ;; esac
    done
    [ -n "$MAIN" ] && break
    sleep 0.1
  done
  if [ -z "$MAIN" ]; then
    fail "the main window did not appear"
    return 1
  fi
  w=$(xdotool getwindowpid "$MAIN" 2>/dev/null)
  [ -n "$w" ] && ENGINE_PID=$w
  eval "$(xdotool getwindowgeometry --shell "$MAIN")"
  MX=$X
  MY=$Y
  sleep 0.5
}

running() { [ -n "$ENGINE_PID" ] && kill -0 "$ENGINE_PID" 2>/dev/null; }

# wait_end [SECONDS]: true when the program ended in time.
wait_end() {
  local i
  for i in $(seq $((${1:-10} * 10))); do
    running || { ENGINE_PID=; return 0; }
    sleep 0.1
  done
  return 1
}

stop_engine() {
  local i
  if running; then
    kill "$ENGINE_PID" 2>/dev/null
    for i in $(seq 50); do
      running || break
      sleep 0.1
    done
  fi
  ENGINE_PID=
  # A message box or a group folder window left behind belongs to nobody now.
  sleep 0.2
}

# What the probe sees now, in $WORK/probe.
# Under the Japanese code page the texts come in Shift-JIS.
probe() {
  if [ "$ENGINE_LANG" = ja_JP.UTF-8 ]; then
    LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 wine "$PROBE" 2>/dev/null | iconv -c -f CP932 -t UTF-8 | tr -d '\r' >"$WORK/probe"
  else
    wine "$PROBE" 2>/dev/null | tr -d '\r' >"$WORK/probe"
  fi
}
# ctl ID: the probe's line of control ID of the main window.
ctl() { grep -a "^ctl $1 " "$WORK/probe"; }
visible() { [ "$(ctl "$1" | cut -d' ' -f4)" = 1 ]; }
ctl_text() { ctl "$1" | cut -d' ' -f10-; }

# The page shown: 0 cover, 1 directory, 2 options, 3 progress; "none" when
# the main window is gone.
page() {
  probe
  if ! grep -q '^main' "$WORK/probe"; then echo none
  elif visible 3; then echo 3
  elif visible 1602; then echo 2
  elif visible 1601; then echo 1
  elif visible 1; then echo 0
  else echo unknown
  fi
}

# wait_page N: waits until page N shows (at most 10 s).
wait_page() {
  local i p
  for i in $(seq 40); do
    p=$(page)
    [ "$p" = "$1" ] && return 0
    sleep 0.25
  done
  fail "page $1 did not show (page $p)"
  return 1
}

# click X Y: a click at a place of the main window's client area. The pause
# keeps two clicks from making a double click.
click() {
  xdotool mousemove $((MX + $1)) $((MY + $2)) click 1
  sleep 0.6
}
# A click on the header, where nothing reacts, gives the window the keys.
focus_main() { click 200 8; }
key() { xdotool key --delay 150 "$@"; sleep 0.4; }

# wait_box [SECONDS]: waits for a message box; sets BOX_TITLE, BOX_BUTTONS
# (the button ids in creation order), BX BY BW BH and BOX_HWND. False when
# none came.
wait_box() {
  local i
  BOX_HWND=
  BOX_TITLE=
  BOX_BUTTONS=
  for i in $(seq $((${1:-15} * 4))); do
    probe
    grep -q '^btn' "$WORK/probe" && break
    sleep 0.1
  done
  grep -q '^btn' "$WORK/probe" || return 1
  read -r _ BOX_HWND BX BY BW BH BOX_TITLE < <(grep -a '^box' "$WORK/probe")
  BOX_BUTTONS=$(grep -a '^btn' "$WORK/probe" | cut -d' ' -f2 | tr '\n' ' ' | sed 's/ $//')
  sleep 0.3
  return 0
}

# expect_box WHAT TITLE BUTTONS: a box must come, with that title and buttons.
expect_box() {
  if ! wait_box; then
    fail "$1: no message box"
    return 1
  fi
  expect "$1 box title" "$BOX_TITLE" "$2"
  expect "$1 box buttons" "$BOX_BUTTONS" "$3"
}

# answer ID: clicks the button ID of the open box and waits until it closed.
answer() {
  local id x y w h
  read -r _ id x y w h _ < <(grep -a "^btn $1 " "$WORK/probe")
  if [ -z "$id" ]; then
    fail "no button $1 in the box"
    return 1
  fi
  # The first click into a window that has not got the keyboard only gives
  # it the focus.
  xdotool mousemove $((BX + BW - 20)) $((BY + 80)) click 1
  sleep 0.3
  xdotool mousemove $((BX + x + w / 2)) $((BY + y + h / 2)) click 1
  box_gone
}
# answer_key KEY...: a click on an empty spot of the box, then the keys.
answer_key() {
  xdotool mousemove $((BX + BW - 20)) $((BY + 80)) click 1
  sleep 0.3
  xdotool key --delay 150 "$@"
  box_gone
}
box_gone() {
  local i
  for i in $(seq 30); do
    probe
    grep -q "^box $BOX_HWND " "$WORK/probe" || return 0
    sleep 0.1
  done
  fail "the message box did not close"
  return 1
}

# box_text_is WHAT STYLE TEXT CAPTION [ja]: the open box shows TEXT ("\n" for
# a line break): its text area matches, pixel for pixel, the same text shown
# by the engine's message box in a reference program. With SKIP_LINE=N the
# N-th text line is left out of the comparison (the free space of drive C:
# changes while other programs write to it).
box_text_is() {
  local what=$1 geometry pid i mask=
  [ -n "$SKIP_LINE" ] && mask="-fill white -draw \"rectangle 0,$(((SKIP_LINE - 1) * 16)) 999,$((SKIP_LINE * 16 - 1))\""
  geometry="$((BW - 65))x$((BH - 60))+$((BX + 55))+$((BY + 10))"
  import -window root "$WORK/box.png"
  eval convert "$WORK/box.png" -crop "$geometry" +repage $mask "$WORK/box-text.png"
  : >"$WORK/render"
  local lang=C.UTF-8
  [ "$5" = ja ] && lang=ja_JP.UTF-8
  LANG=$lang LC_ALL=$lang wine "$PROBE" render "$2" "$3" "$4" $5 >"$WORK/render" 2>/dev/null &
  pid=$!
  for i in $(seq 100); do
    grep -q ready "$WORK/render" && break
    sleep 0.1
  done
  import -window root "$WORK/ref.png"
  kill "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  sleep 0.3
  eval convert "$WORK/ref.png" -crop "$geometry" +repage $mask "$WORK/ref-text.png"
  local diff
  diff=$(compare -metric AE "$WORK/box-text.png" "$WORK/ref-text.png" null: 2>&1)
  if [ "$diff" != 0 ]; then
    fail "$what: the box does not show \"$3\" ($diff pixels differ)"
    cp "$WORK/box.png" "$WORK/$what-box.png"
    cp "$WORK/ref.png" "$WORK/$what-ref.png"
  fi
}

# reg_value KEY NAME: the value's type and data as `wine reg query` shows them.
reg_value() {
  wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | awk -v n="$2" '$1 == n { $1 = ""; sub(/^ /, ""); print }'
}
# map_drive LETTER DIR: DIR becomes drive LETTER: until the script ends.
map_drive() {
  if [ -e "$WINEPREFIX/dosdevices/$1:" ]; then
    fail "drive $1: is already mapped"
    return 1
  fi
  ln -s "$2" "$WINEPREFIX/dosdevices/$1:"
  MAPPED="$MAPPED $1"
}
# small_disk SIZE_KB: DISK becomes the directory of a file system of its own
# with exactly SIZE_KB free, mounted for this script; empty where mounting is
# not allowed.
small_disk() {
  DISK=$(mktemp -d)
  if mount -t tmpfs -o size="$1"k tmpfs "$DISK" 2>/dev/null; then
    MOUNTED="$MOUNTED $DISK"
  else
    rmdir "$DISK"
    DISK=
  fi
}

# The free space of the drive holding DIR, in KB, as the installer shows it.
free_kb() { df -k --output=avail "$1" | tail -1 | tr -d ' '; }
# close_group_window NAME: Wine shows a group that was created in a folder
# window of its own, over the installer; it is waited for and closed.
close_group_window() {
  local i
  timeout 15 xdotool search --sync --onlyvisible --name "^$1\$" >/dev/null 2>&1 ||
    fail "no folder window of the group $1 came"
  wine "$PROBE" close "$1" >/dev/null 2>&1
  for i in $(seq 50); do
    xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  fail "the folder window of the group $1 did not close"
}

reg_exists() { wine reg query "$1" >/dev/null 2>&1; }
