#!/bin/bash
# The option list under the test display, driven with real clicks and keys:
# optlist.sh OPTLIST_TOOL
tool=$1
work=$(mktemp -d)
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
expect() { [ "$2" = "$3" ] || fail "$1: got '$2', expected '$3'"; }

# Three radio modes, the empty row, twelve options: sixteen rows, eight shown.
{
  printf '[GENERAL]\r\nLANGUAGE=ENGLISH\r\n'
  printf 'INSTALLMODE0=Full,100\r\nINSTALLMODE1=Lean,200\r\nINSTALLMODE2=Tiny,400\r\n'
  for n in $(seq 0 11); do printf 'OPTION%d=Part %d,%d\r\n' "$n" "$n" $(((n + 1) * 10)); done
  printf 'INSTALLSET0=Normal,CI,0\r\n'
} >"$work/KELBRINE.INI"

out=$work/out
(cd "$work" && wine "$tool" >"$out" 2>/dev/null) &
pid=$!
for _ in $(seq 200); do
  grep -aq '^ready' "$out" && break
  sleep 0.1
done
tr -d '\r' <"$out" >"$work/layout"
read -r _ LX LY < <(grep -a '^list' "$work/layout")
read -r _ SL ST SR SB ARROW THUMBTOP THUMBBOTTOM < <(grep -a '^vscroll' "$work/layout")
[ -n "$LX" ] && [ -n "$SL" ] || fail "the tool did not start"
pitch=19

# A click in the middle of row n (0 at the top of the unscrolled list);
# the pauses keep two clicks from making a double click.
click_row() {
  xdotool mousemove $((LX + 60)) $((LY + $1 * pitch + 2 + 8)) click 1
  sleep 0.7
}

click_row 4            # option 0
click_row 2            # mode 2: the radio mark moves from mode 0
xdotool key Down       # option 0 follows mode 2
for _ in $(seq 9); do xdotool key Down; done
xdotool key space      # option 9, shown in the last row after scrolling
sleep 0.3
# The scroll bar: the down arrow, the page area above the thumb, then the
# thumb dragged to the bottom and released.
x=$(((SL + SR) / 2))
xdotool mousemove $x $((SB - ARROW / 2)) click 1
sleep 0.7
xdotool mousemove $x $((ST + ARROW + 2)) click 1
sleep 0.7
# Dragged in small steps, as a hand does; while the box moves the rows stay.
y=$((ST + (THUMBTOP + THUMBBOTTOM) / 2))
import -window root "$work/before.png"
xdotool mousemove $x $y mousedown 1
sleep 0.3
for step in $(seq 10); do
  xdotool mousemove $x $((y + step * 12))
  sleep 0.1
done
xdotool mousemove $x $((SB + 20))
sleep 0.3
import -window root "$work/during.png"
# Pixels that differ between the two shots in a screen area W H X Y.
changed() { compare -metric AE "$work/before.png[$1x$2+$3+$4]" "$work/during.png[$1x$2+$3+$4]" null: 2>&1; }
expect "rows while dragging" "$(changed $((SL - LX)) $((SB - LY)) $LX $LY)" 0
[ "$(changed $((SR - SL)) $((SB - ST)) $SL $ST)" != 0 ] || fail "the box did not follow the mouse"
xdotool mouseup 1
sleep 0.3
xdotool key Escape

for _ in $(seq 100); do
  grep -aq '^top' "$out" && break
  sleep 0.1
done
wait "$pid"
tr -d '\r' <"$out" >"$work/result"
value() { grep -a "^$1 " "$work/result" | cut -d' ' -f2-; }
expect "modes" "$(value modes)" "001"
expect "options" "$(value options)" "100000000100"
expect "current row" "$(value focus)" 1009
expect "keyboard focus" "$(value keyfocus)" 1009
expect "needed KB" "$(value need)" $((400 + 10 + 100))
# The range ends at fifteen rows; the rows moved with the contents.
expect "scroll position" "$(value scroll)" $((15 * pitch))
expect "option 0 row" "$(value top)" "1000 $((4 * pitch + 2 - 15 * pitch))"

[ $failures -eq 0 ] && rm -rf "$work" || { echo "kept $work"; cat "$work/layout"; }
[ $failures -eq 0 ] && echo "all option list checks passed"
exit $((failures > 0))
