#!/bin/bash
# Each page as it appears on the screen, checked at the pixels its layout
# fixes: the header line, frames, button edges, the cover picture, labels
# and the progress bar: screens.sh KELBRINE.EXE PROBE
. "$(dirname "$0")/lib.sh"

M=$(medium setup)
# A 100 x 60 cover picture, red on the left, blue on the right.
convert -size 100x60 xc:red \( -size 50x60 xc:blue \) -geometry +50+0 -composite \
  -type Palette BMP3:"$M/COVER.BMP"
{
  echo '[GENERAL]'
  echo 'LANGUAGE=ENGLISH'
  echo 'COVERPAGE=TRUE'
  echo "INSTALLDIR=$(winpath_ini "$ROOT")\\\\APP"
  echo 'INSTALLSET1=Custom,CI,0'
  echo 'INSTALLMODE0=Program,10'
  echo
  echo '[INSTALL-SCRIPT]'
  for _ in $(seq 100); do echo 'ADDINIT'; done
} | setup_file "$M"

# shot NAME: the screen now, kept in $WORK.
shot() {
  sleep 0.5
  import -window root "$WORK/$1.png"
  SHOT=$WORK/$1.png
}
# pixel X Y: the colour (RRGGBB) at a place of the main window's client area.
pixel() {
  convert "$SHOT" -crop "1x1+$((MX + $1))+$((MY + $2))" -depth 8 txt:- | tail -1 |
    grep -o '#[0-9A-F]\{6\}' | tr -d '#'
}
# at WHAT COLOUR X Y...: each listed place shows the colour.
at() {
  local what=$1 colour=$2
  shift 2
  while [ $# -ge 2 ]; do
    expect "$what at $1,$2" "$(pixel "$1" "$2")" "$colour"
    shift 2
  done
}
# has_black WHAT X Y W H: the area holds black pixels (text); no_black: none.
black_in() {
  convert "$SHOT" -crop "$4x$5+$((MX + $2))+$((MY + $3))" +repage -colorspace gray \
    -format '%[fx:minima.intensity==0]' info:
}
has_black() { expect "$1 drawn" "$(black_in "$@")" 1; }
no_black() { expect "$1 empty" "$(black_in "$@")" 0; }

start_engine "$M"
probe
read -r _ FACE SHADOW LIGHT BORDER < <(grep '^colors' "$WORK/probe")
BLACK=000000
# The header's etched line, the same on every page.
header() {
  at "$1: header line" "$SHADOW" 1 17 200 17 472 17
  at "$1: header line" "$LIGHT" 1 18 200 18 472 18
}
# button WHAT X FOCUSED: the edges of the 100 x 26 push button at x, y 339.
button() {
  local x=$2
  at "$1: outer edge" "$SHADOW" $((x + 50)) 339 "$x" 352
  at "$1: outer edge" "$LIGHT" $((x + 99)) 352 $((x + 50)) 364
  at "$1: black border" "$BLACK" $((x + 50)) 340 $((x + 1)) 352 $((x + 98)) 352 $((x + 50)) 363
  if [ "$3" = focused ]; then
    at "$1: second border of the focus" "$BLACK" $((x + 50)) 341 $((x + 2)) 352
    at "$1: inner edge" "$LIGHT" $((x + 50)) 342
  else
    at "$1: inner edge" "$LIGHT" $((x + 50)) 341 $((x + 2)) 352
  fi
}
# frame WHAT L T R B: the engraved frame around a rectangle; the outer
# light edges lie on the right and at the bottom.
frame() {
  local l=$2 t=$3 r=$4 b=$5 mx=$((($2 + $4) / 2 + 40)) my=$((($3 + $5) / 2))
  at "$1: frame" "$SHADOW" "$l" "$my" "$mx" "$t" "$mx" "$b"
  at "$1: frame" "$LIGHT" $((l + 1)) "$my" "$mx" $((t + 1)) "$mx" $((b + 1)) $((r + 1)) "$my"
}

note "cover page"
shot cover
header cover
button "cover OK" 240 focused
button "cover Cancel" 360
# The picture in the middle of (16, 32, 457, 328), in a frame.
x=$(((16 + 457 - 100) / 2))
y=$(((32 + 328 - 60) / 2))
at "cover picture" FF0000 $((x + 5)) $((y + 5)) $((x + 50)) $((y + 30))
at "cover picture" 0000FF $((x + 51)) $((y + 30)) $((x + 100)) $((y + 60))
at "cover frame" "$SHADOW" "$x" $((y + 30)) $((x + 50)) "$y"
at "cover frame" "$LIGHT" $((x + 50)) $((y + 61)) $((x + 101)) $((y + 30))
at "left of the cover frame" "$FACE" $((x - 1)) $((y + 30))

note "directory page"
focus_main
key Return
wait_page 1
shot directory
header directory
button "directory OK" 240 focused
button "directory Cancel" 360
frame "comment box" 16 80 457 208
# The edit field: a black box inside an engraved edge.
at "edit field" "$BLACK" 200 311 200 328 17 320 456 320
at "edit field edge" "$SHADOW" 200 310 16 320
at "edit field edge" "$LIGHT" 200 329 457 320
has_black "label Install Directory:" 16 292 162 16
no_black "beside the label" 200 292 150 16
has_black "label Comment" 24 72 63 16
has_black "free space" 170 215 287 16

note "options page"
key Return
wait_page 2
shot options
header options
button "options OK" 240 focused
button "options Cancel" 360
at "option list border" "$BORDER" 200 41 200 195 17 100 457 100
at "option list frame" "$SHADOW" 200 40 16 100
at "option list frame" "$LIGHT" 200 196 458 100
frame "comment box" 16 217 457 328
has_black "label Option:" 16 22 63 16
has_black "needed and free space" 100 199 357 16

note "progress page"
key Return
expect_box "install confirmation" Message "1 2"
answer 1
wait_page 3
shot progress
header progress
button "progress Break" 360 focused
at "no OK button" "$FACE" 290 340 241 352
frame "comment box" 16 32 457 224
frame "status box" 16 240 457 328
# The progress bar: a black frame at the bottom of the status box.
at "progress bar frame" "$BLACK" 300 302 300 317 26 310 446 310
press_break() { click 410 352; }
press_break
expect_box "abort question" Abort "6 7"
answer 6
wait_end 5 || fail "the program did not end after Yes"

finish
