#!/bin/bash
# The real message box under the test display, driven with real keys and
# clicks: mesgbox.sh MESGBOX_TOOL
tool=$1
work=$(mktemp -d)
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
expect() { [ "$2" = "$3" ] || fail "$1: got '$2', expected '$3'"; }

# open STYLE TEXT CAPTION [ja]: shows the box and reads back its layout.
open_box() {
  out=$work/out
  : >"$out"
  if [ "$4" = ja ]; then
    LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 wine "$tool" "$@" >"$out" 2>/dev/null &
  else
    wine "$tool" "$@" >"$out" 2>/dev/null &
  fi
  pid=$!
  for _ in $(seq 200); do
    grep -aq '^focus' "$out" && break
    sleep 0.1
  done
  tr -d '\r' <"$out" >"$work/layout"
  read -r _ CX CY CW CH < <(grep -a '^client' "$work/layout")
  WIDTH=$(grep -a '^window' "$work/layout" | cut -d' ' -f2)
  TITLE=$(grep -a '^title' "$work/layout" | cut -d' ' -f2-)
  FOCUS=$(grep -a '^focus' "$work/layout" | cut -d' ' -f2)
  BUTTONS=$(grep -a '^button' "$work/layout" | cut -d' ' -f2-6 | tr '\n' ';')
}

# Clicks an empty spot of the box so that keys reach it.
focus_box() {
  xdotool mousemove $((CX + CW - 20)) $((CY + 85)) click 1
  sleep 0.3
}

# Click on the button with identifier $1.
click_button() {
  local id x y w h
  read -r id x y w h _ < <(grep -a "^button $1 " "$work/layout" | cut -d' ' -f2-)
  xdotool mousemove $((CX + x + w / 2)) $((CY + y + h / 2)) click 1
}

# The box's answer once it has closed.
result() {
  for _ in $(seq 100); do
    grep -aq '^result' "$out" && break
    sleep 0.1
  done
  if ! grep -aq '^result' "$out"; then
    kill "$pid" 2>/dev/null
    echo none
    return
  fi
  wait "$pid"
  tr -d '\r' <"$out" | grep -a '^result' | cut -d' ' -f2
}

shot() { import -window root "$work/shot.png"; }
# Standard deviation of a screen region: 0 when it is one flat colour.
flat() { convert "$work/shot.png" -crop "$3x$4+$((CX + $1))+$((CY + $2))" +repage -format '%[fx:standard_deviation==0]' info:; }
# 1 when the region holds a black pixel.
has_black() { convert "$work/shot.png" -crop "$3x$4+$((CX + $1))+$((CY + $2))" +repage -colorspace gray -format '%[fx:minima.intensity==0]' info:; }

# Abort question: Yes and No, No focused; Enter answers 1 whatever is focused.
open_box 144 "Do abort install?" Abort
expect "0x144 title" "$TITLE" "Abort"
expect "0x144 width" "$WIDTH" 358
expect "0x144 buttons" "$BUTTONS" "6 73 96 100 26;7 185 96 100 26;"
expect "0x144 focus" "$FOCUS" 7
focus_box
xdotool key Return
expect "0x144 Enter" "$(result)" 1

open_box 144 "Do abort install?" Abort
focus_box
xdotool key Escape
expect "0x144 Escape" "$(result)" 2

# Four buttons in the wide box; a click on All answers 1702.
open_box 47 "Overwrite?" Message
expect "0x47 width" "$WIDTH" 470
expect "0x47 buttons" "$BUTTONS" "1 17 96 100 26;1702 129 96 100 26;2 241 96 100 26;3 353 96 100 26;"
expect "0x47 focus" "$FOCUS" 1
click_button 1702
expect "0x47 All" "$(result)" 1702

# Default-button bits naming a third button of a two-button set focus the
# first; the mnemonic letter presses No.
open_box 204 "Go on?" Message
expect "0x204 focus" "$FOCUS" 6
focus_box
xdotool key alt+n
expect "0x204 mnemonic" "$(result)" 7

# Tab moves the focus to the next button; Space presses it.
open_box 43 "Overwrite?" Message
focus_box
xdotool key Tab space
expect "0x43 Tab, Space" "$(result)" 1702

# No caption: the template's title. The information icon sits at (10, 10)
# and the text starts at 55.
open_box 40 "Notice" -
expect "no caption title" "$TITLE" "ERROR"
expect "0x40 buttons" "$BUTTONS" "1 129 96 100 26;"
shot
expect "0x40 icon drawn" "$(flat 10 30 32 12)" 0
expect "0x40 text at 55" "$(has_black 55 10 9 16)" 1
expect "0x40 no text at 44" "$(has_black 43 10 11 16)" 0
focus_box
xdotool key space
expect "0x40 Space" "$(result)" 1

# Icon bits of no known icon: no icon, the text at the left margin.
open_box 50 "Notice" Message
shot
expect "0x50 no icon" "$(flat 10 30 40 12)" 1
expect "0x50 text at 10" "$(has_black 10 10 9 16)" 1
focus_box
xdotool key alt+F4
expect "0x50 closed" "$(result)" 0

# Text and caption longer than 511 bytes are cut to 511.
long=$(printf 'word %.0s' $(seq 130))
open_box 40 "$long" "$long"
expect "long title" "${#TITLE}" 511
focus_box
xdotool key Return
expect "long text answer" "$(result)" 1
expect "long text kept" "$(tr -d '\r' <"$out" | grep -a '^kept' | cut -d' ' -f2-)" "511 511"

# Japanese captions keep their mnemonics; Retry is the default of 0x112.
open_box 112 "File missing" - ja
expect "0x112 focus" "$FOCUS" 4
expect "0x112 Japanese caption" "$(grep -a '^button 3 ' "$work/layout" | cut -d' ' -f7- | iconv -f SHIFT_JIS -t UTF-8)" "B中止(&A)"
expect "0x112 buttons" "$(echo "$BUTTONS" | cut -d';' -f1-3)" "3 17 96 100 26;4 129 96 100 26;5 241 96 100 26"
focus_box
xdotool key alt+i
expect "0x112 mnemonic" "$(result)" 5

rm -rf "$work"
[ $failures -eq 0 ] && echo "all message box checks passed"
exit $((failures > 0))
