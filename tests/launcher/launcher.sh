#!/bin/bash
# launcher.sh CASE INSTALL.EXE RECORD.EXE: starts the real launcher from a
# temporary medium under the test run's Wine and Xvfb and drives it with real
# clicks and keys. RECORD.EXE, placed where install.ini points, writes
# recorded.txt beside itself: its command line, working directory and path.
# Positions are the window's client coordinates; without a window manager
# the X window of the launcher is exactly its client area.
set -u
case_name=$1
launcher=$2
recorder=$3

work=$(mktemp -d)
medium=$work/medium
pid=""
drive_link=""
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  [ -n "$drive_link" ] && rm -f "$drive_link"
  rm -rf "$work"
}
trap cleanup EXIT

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
fatal() {
  echo "FAIL: $*"
  exit 1
}

# A medium with the launcher at its root; install.ini from the arguments,
# one line each, written with CR LF line ends as an editor on Windows would.
new_medium() {
  rm -rf "$medium"
  mkdir -p "$medium"
  cp "$launcher" "$medium/INSTALL.EXE"
}
ini() { printf '%s\r\n' "$@" >"$medium/install.ini"; }
put_recorder() { mkdir -p "$(dirname "$medium/$1")" && cp "$recorder" "$medium/$1"; }
winpath() { local p=${1//\//\\}; echo "Z:$p"; }

# start TITLE [PROGRAM]: starts the launcher (the medium's, unless PROGRAM
# names another path) from the current directory and waits for its window.
start() {
  local title=$1 program=${2:-$(winpath "$medium/INSTALL.EXE")}
  wine "$program" >"$work/wine.log" 2>&1 &
  pid=$!
  win=$(timeout 20 xdotool search --sync --onlyvisible --name "^$title\$" | head -1)
  [ -n "$win" ] || fatal "no window \"$title\""
  eval "$(xdotool getwindowgeometry --shell "$win")"
  OX=$X OY=$Y CW=$WIDTH CH=$HEIGHT
  sleep 1  # let it paint
}

# finished: the launcher has ended (within 15 s); its exit code in $code.
finished() {
  for _ in $(seq 150); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$pid" 2>/dev/null; then
    return 1
  fi
  wait "$pid"
  code=$?
  pid=""
  return 0
}
still_running() {
  sleep 1.5
  kill -0 "$pid" 2>/dev/null
}

click() { xdotool mousemove $((OX + $1)) $((OY + $2)) click 1; }
keys() {
  click 150 150  # into the picture panel: gives the window the focus
  sleep 0.3
  xdotool key --delay 150 "$@"
}

shot() { import -window root "$work/shot.png"; }
# pixel X Y [FILE]: "r,g,b" of the screenshot at client X, Y (or of FILE at X, Y).
pixel() {
  local file=${3:-$work/shot.png} x=$1 y=$2
  [ $# -lt 3 ] && x=$((OX + $1)) y=$((OY + $2))
  convert "$file" -format "%[fx:int(255*p{$x,$y}.r+.5)],%[fx:int(255*p{$x,$y}.g+.5)],%[fx:int(255*p{$x,$y}.b+.5)]" info:
}
background() { pixel 292 4; }

# A push button drawn with its top edge at TOP: its first and last rows
# differ from the window's background, the rows around it do not.
button_at() {
  local top=$1 bg
  bg=$(background)
  [ "$(pixel 412 $((top - 1)))" = "$bg" ] && [ "$(pixel 412 "$top")" != "$bg" ] &&
    [ "$(pixel 412 $((top + 24)))" != "$bg" ] && [ "$(pixel 412 $((top + 25)))" = "$bg" ]
}
no_button_at() {
  local top=$1 bg y
  bg=$(background)
  for y in $top $((top + 12)) $((top + 24)); do
    [ "$(pixel 412 "$y")" = "$bg" ] || return 1
  done
}

recorded() { tr -d '\r' <"$1/recorded.txt" 2>/dev/null; }
nothing_recorded() { [ -z "$(find "$medium" -name recorded.txt)" ]; }

TOPS=(8 40 72 104 136 168 200 232)

case $case_name in

missing_ini)
  # No install.ini: caption "Install", no picture, only Cancel.
  new_medium
  cd "$medium" || exit 1
  start Install
  [ "$CW" = 536 ] && [ "$CH" = 305 ] || fail "client area ${CW}x$CH, not 536x305"
  read -r screen_w screen_h < <(xdotool getdisplaygeometry)
  off=$((OX - (screen_w - 536) / 2))
  [ "${off#-}" -le 4 ] || fail "window not centred: left $OX on a screen $screen_w wide"
  off=$((OY + 305 / 2 - screen_h / 2))
  [ "${off#-}" -le 30 ] || fail "window not centred: top $OY on a screen $screen_h high"
  shot
  for top in "${TOPS[@]}"; do
    no_button_at "$top" || fail "a button is shown at top $top"
  done
  button_at 272 || fail "Cancel is not at top 272"
  [ "$(pixel 10 10)" = "$(background)" ] || fail "a picture is shown"
  click 412 284  # Cancel
  finished || fatal "Cancel did not end the launcher"
  [ "$code" = 0 ] || fail "exit code $code after Cancel"
  ;;

buttons_2_and_5)
  # Only BUTTON2 and BUTTON5: shown at their own places, not packed; a click
  # where a hidden button sits does nothing; Button5 starts its target.
  new_medium
  put_recorder SETUP/RECORD.EXE
  put_recorder TWO/RECORD.EXE
  ini '[COMMON]' 'TITLE=Two and five' '[BUTTON2]' 'TITLE=Second' 'RUN=TWO\RECORD.EXE' \
      '[BUTTON5]' 'TITLE=Fifth' 'RUN=SETUP\RECORD.EXE'
  cd "$medium" || exit 1
  start 'Two and five'
  shot
  for n in 0 1 2 3 4 5 6 7; do
    if [ "$n" = 1 ] || [ "$n" = 4 ]; then
      button_at "${TOPS[$n]}" || fail "Button$((n + 1)) is not shown at top ${TOPS[$n]}"
    else
      no_button_at "${TOPS[$n]}" || fail "Button$((n + 1)) is shown"
    fi
  done
  click 412 20  # where the hidden Button1 would be
  still_running || fail "a click on the empty place of Button1 ended the launcher"
  nothing_recorded || fail "a click on the empty place of Button1 started something"
  click 412 148  # Button5
  finished || fatal "the launcher did not end after Button5"
  [ -n "$(recorded "$medium/SETUP")" ] || fatal "Button5 did not start SETUP\\RECORD.EXE"
  [ -z "$(recorded "$medium/TWO")" ] || fail "Button5 started Button2's target"
  want=$(winpath "$medium/SETUP")
  mapfile -t rec < <(recorded "$medium/SETUP")
  [ "${rec[0],,}" = "\"${want,,}\\record.exe\"" ] || [ "${rec[0],,}" = "${want,,}\\record.exe" ] ||
    fail "command line ${rec[0]}: not the target alone"
  [ "${rec[1],,}" = "${want,,}" ] || fail "working directory ${rec[1]}, not $want"
  ;;

keyboard)
  # The focus starts on the first visible button; Tab goes through the
  # visible buttons and Cancel in their order; Return clicks the focused
  # button, a mnemonic its button, Escape is Cancel.
  while read -r expect sequence; do
    new_medium
    put_recorder ONE/RECORD.EXE
    put_recorder THREE/RECORD.EXE
    ini '[COMMON]' 'TITLE=Keys' '[BUTTON1]' 'TITLE=&First' 'RUN=ONE\RECORD.EXE' \
        '[BUTTON3]' 'TITLE=&Third' 'RUN=THREE\RECORD.EXE'
    cd "$medium" || exit 1
    start Keys
    # shellcheck disable=SC2086
    keys $sequence
    finished || { fail "keys $sequence did not end the launcher"; kill "$pid"; pid=""; continue; }
    for dir in ONE THREE; do
      if [ "$dir" = "$expect" ]; then
        [ -n "$(recorded "$medium/$dir")" ] || fail "keys $sequence did not start $dir"
      else
        [ -z "$(recorded "$medium/$dir")" ] || fail "keys $sequence started $dir"
      fi
    done
    cd "$work" || exit 1
  done <<'EOF'
ONE Return
THREE Tab Return
NONE Tab Tab Return
ONE Tab Tab Tab Return
THREE alt+t
NONE Escape
EOF
  ;;

title_without_run)
  # A button whose target is the medium's directory itself (no RUN, an
  # empty RUN) or a missing file starts nothing: the launcher just closes.
  for n in 1 2 3; do
    new_medium
    put_recorder RECORD.EXE
    ini '[COMMON]' 'TITLE=No target' '[BUTTON1]' 'TITLE=No run' '[BUTTON2]' 'TITLE=Empty run' 'RUN=' \
        '[BUTTON3]' 'TITLE=Missing' 'RUN=MISSING.EXE'
    cd "$medium" || exit 1
    start 'No target'
    shot
    button_at "${TOPS[$((n - 1))]}" || fail "Button$n is not shown"
    # Windows other tests of the run left open are not counted.
    before=$(xdotool search --onlyvisible --name . 2>/dev/null | grep -vx "$win" | sort)
    click 412 $((TOPS[n - 1] + 12))
    finished || fatal "Button$n did not end the launcher"
    [ "$code" = 0 ] || fail "exit code $code after Button$n"
    sleep 1
    after=$(xdotool search --onlyvisible --name . 2>/dev/null | sort)
    [ -z "$(comm -13 <(echo "$before") <(echo "$after") | grep .)" ] || fail "Button$n opened a window"
    nothing_recorded || fail "Button$n started a program"
    cd "$work" || exit 1
  done
  ;;

long_title)
  # Values are read into a 255-byte buffer: 254 characters remain.
  digits=$(printf '0123456789%.0s' $(seq 30))
  title="L${digits:0:299}"
  new_medium
  ini '[COMMON]' "TITLE=$title" '[BUTTON1]' "TITLE=B$digits" "RUN=$digits"
  cd "$medium" || exit 1
  start "${title:0:254}"
  [ "$(xdotool getwindowname "$win")" = "${title:0:254}" ] || fail "caption not cut to 254 characters"
  shot
  button_at 8 || fail "the button with the long title is not shown"
  click 412 20
  finished || fatal "the button did not end the launcher"
  ;;

broken_pictures)
  # A picture file that exists but is not a picture of its type: an error
  # box (with the launcher's caption) before any window, then the end.
  make_pictures() {
    local d=$1
    echo "this is not a picture" >"$d/text.bmp"
    convert -size 300x300 xc:red BMP3:"$d/full.bmp"
    head -c 2000 "$d/full.bmp" >"$d/short.bmp"
    # An 8-bit RLE bitmap that claims 60000 x 60000 pixels in 70 bytes.
    printf 'BM\x46\x00\x00\x00\x00\x00\x00\x00\x3a\x00\x00\x00\x28\x00\x00\x00\x60\xea\x00\x00\x60\xea\x00\x00\x01\x00\x08\x00\x01\x00\x00\x00\x0c\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x00\x00\x00\x01\x00\x00' >"$d/huge.bmp"
    convert -size 10x10 xc:blue GIF:"$d/pic.gif"
    # An icon whose one image lies beyond the end of the file.
    printf '\x00\x00\x01\x00\x01\x00\x20\x20\x00\x00\x01\x00\x20\x00\xa8\x10\x00\x00\x16\x00\x00\x00' >"$d/cut.ico"
  }
  for name in text.bmp short.bmp huge.bmp pic.gif cut.ico; do
    new_medium
    make_pictures "$medium"
    ini '[COMMON]' 'TITLE=Broken picture' "BITMAP=$name" '[BUTTON1]' 'TITLE=Go' 'RUN=X.EXE'
    cd "$medium" || exit 1
    start 'Broken picture'
    [ "$CW" != 536 ] || fail "$name: the launcher window is shown, not an error box"
    [ "$(xdotool search --onlyvisible --name '^Broken picture$' | wc -l)" = 1 ] ||
      fail "$name: the launcher window is shown beside the box"
    click 5 5
    sleep 0.3
    xdotool key Return
    finished || fatal "$name: the launcher did not end after the error box"
    [ "$code" != 0 ] || fail "$name: exit code 0 after a picture error"
    cd "$work" || exit 1
  done
  ;;

picture_shown)
  # The picture is drawn at its own size from the image's top left corner,
  # cut at the image's edge; the panel's lowered bevel surrounds it. A
  # relative name is taken from the current directory, not the medium.
  here=$work/here
  mkdir -p "$here"
  convert -size 300x300 xc:'rgb(255,0,0)' -fill 'rgb(0,0,255)' -draw 'rectangle 100,0 299,299' \
    -fill 'rgb(0,255,0)' -draw 'rectangle 276,284 299,299' BMP3:"$here/big.bmp"
  convert -size 100x50 gradient:'rgb(0,160,0)'-'rgb(200,40,200)' -type Palette BMP3:"$here/pal.bmp"
  convert -size 40x30 xc:'rgb(0,128,255)' ICO:"$here/pic.ico"
  # name | picture width, height (0 0: none) | checks "x y" in picture coordinates
  while IFS='|' read -r name size points; do
    read -r pw ph <<<"$size"
    new_medium
    ini '[COMMON]' 'TITLE=Picture' "BITMAP=$name"
    cd "$here" || exit 1
    start Picture "$(winpath "$medium/INSTALL.EXE")"
    shot
    bg=$(background)
    shadow=$(pixel 8 8)
    light=$(pixel 288 296)
    [ "$shadow" != "$bg" ] && [ "$light" != "$bg" ] && [ "$shadow" != "$light" ] ||
      fail "$name: no lowered bevel"
    for p in "9 9" "288 9" "9 296" "100 8" "8 100" "9 200"; do
      read -r x y <<<"$p"
      want=$shadow
      { [ "$x" = 288 ] || [ "$y" = 296 ]; } && want=$light
      [ "$(pixel "$x" "$y")" = "$want" ] || fail "$name: bevel pixel $x,$y"
    done
    [ "$(pixel 287 100)" = "$light" ] && [ "$(pixel 100 295)" = "$light" ] || fail "$name: bevel bottom right"
    [ "$(pixel 289 100)" = "$bg" ] || fail "$name: panel wider than 281"
    for p in $points; do
      x=${p%,*} y=${p#*,}
      if [ "$x" -lt "$pw" ] && [ "$y" -lt "$ph" ]; then
        want=$(pixel "$x" "$y" "$here/$name")
      else
        want=$bg
      fi
      got=$(pixel $((10 + x)) $((10 + y)))
      [ "$got" = "$want" ] || fail "$name: picture pixel $x,$y is $got, not $want"
    done
    kill "$pid"
    wait "$pid" 2>/dev/null
    pid=""
  done <<'EOF'
big.bmp|300 300|0,0 99,0 100,0 276,284 275,283 0,284 276,0 150,150
pal.bmp|100 50|0,0 99,0 0,49 99,49 50,25 100,0 0,50 100,50
pic.ico|40 30|0,0 39,29 20,15 40,0 0,30
absent.bmp|0 0|0,0 100,100 276,284
EOF
  ;;

drive_root)
  # The launcher at the root of a drive: ExeDir is "K:", the setup file
  # K:\install.ini and a RUN value SETUP\RECORD.EXE the target K:\SETUP\RECORD.EXE.
  letter=""
  for l in k l m n o p q r s t u v w x y; do
    [ -e "$WINEPREFIX/dosdevices/$l:" ] || [ -L "$WINEPREFIX/dosdevices/$l:" ] || { letter=$l; break; }
  done
  [ -n "$letter" ] || fatal "no free drive letter"
  L=${letter^^}
  new_medium
  put_recorder SETUP/RECORD.EXE
  ini '[COMMON]' 'TITLE=Drive root' '[BUTTON1]' 'TITLE=Setup' 'RUN=SETUP\RECORD.EXE'
  drive_link=$WINEPREFIX/dosdevices/$letter:
  ln -s "$medium" "$drive_link"
  cd "$medium" || exit 1
  start 'Drive root' "$L:\\INSTALL.EXE"
  click 412 20
  finished || fatal "the launcher did not end"
  mapfile -t rec < <(recorded "$medium/SETUP")
  [ ${#rec[@]} = 3 ] || fatal "the target was not started"
  case "${rec[0]^^}" in
    *"$L:\\SETUP\\RECORD.EXE"*) ;;
    *) fail "started as ${rec[0]}, not $L:\\SETUP\\RECORD.EXE" ;;
  esac
  case "${rec[0]}" in *'\\'*) fail "doubled backslash in ${rec[0]}" ;; esac
  [ "${rec[1]^^}" = "$L:\\SETUP" ] || fail "working directory ${rec[1]}, not $L:\\SETUP"
  [ "${rec[2]^^}" = "$L:\\SETUP\\RECORD.EXE" ] || fail "target ${rec[2]}"
  ;;

japanese_paths)
  # Shift-JIS names whose second byte is a backslash (表 is 0x95 0x5C): the
  # medium's own directory and a target name end in such a character.
  medium=$work/表
  new_medium
  put_recorder 'SETUP/表.EXE'
  ini '[COMMON]' 'TITLE=Japanese' '[BUTTON1]' 'TITLE=Setup' 'RUN=SETUP\表.EXE'
  iconv -f UTF-8 -t CP932 <"$medium/install.ini" >"$medium/ini.sjis" && mv "$medium/ini.sjis" "$medium/install.ini"
  cd "$medium" || exit 1
  start Japanese
  shot
  button_at 8 || fatal "install.ini in a directory named 表 was not read"
  click 412 20
  finished || fatal "the launcher did not end"
  mapfile -t rec < <(recorded "$medium/SETUP" | iconv -f CP932 -t UTF-8)
  want=$(winpath "$medium/SETUP")
  [ ${#rec[@]} = 3 ] || fatal "SETUP\\表.EXE was not started"
  [ "${rec[1]}" = "$want" ] || fail "working directory ${rec[1]}, not $want"
  [ "${rec[2]}" = "$want\\表.EXE" ] || fail "target ${rec[2]}"
  ;;

*)
  fatal "unknown case $case_name"
  ;;
esac

[ "$failures" = 0 ] || exit 1
echo "PASS: $case_name"
