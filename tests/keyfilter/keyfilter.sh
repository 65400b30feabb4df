#!/bin/bash
# The engine's keyboard filter under the test display, with real keys:
# keyfilter.sh KEYFILTER_TOOL
tool=$1
work=$(mktemp -d)
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
expect() { [ "$2" = "$3" ] || fail "$1: got '$2', expected '$3'"; }

{
  printf '[GENERAL]\r\nLANGUAGE=ENGLISH\r\nINSTALLDIR=C:\\\\KBKEYS\r\n'
  printf 'OPTION0=&Alpha,10\r\nOPTION1=&Beta,10\r\nOPTION2=Gamma &Three,10\r\n'
  printf 'INSTALLSET0=&Typical,CI,-2\r\n'
} >"$work/KELBRINE.INI"

out=$work/out
# start: runs the tool on the medium and reads its coordinates.
start() {
  : >"$out"
  (cd "$work" && wine "$tool" >"$out" 2>/dev/null; echo "rc $?" >"$work/rc") &
  for _ in $(seq 300); do
    grep -aq '^ready' "$out" && break
    sleep 0.1
  done
  grep -aq '^ready' "$out" || fail "the tool did not start"
  log=$(tr -d '\r' <"$out")
  read -r EX EY < <(grep -a '^edit' <<<"$log" | cut -d' ' -f2-)
  read -r RX RY < <(grep -a '^row 1000' <<<"$log" | cut -d' ' -f3-)
  read -r FX FY < <(grep -a '^free' <<<"$log" | cut -d' ' -f2-)
  click "$FX" "$FY"
}
click() {
  xdotool mousemove "$1" "$2" click 1
  sleep 0.5
}
# key KEYS...: sends the keys and waits for the tool's report of them;
# state is then that report.
key() {
  local before
  before=$(grep -ac '^key' "$out")
  xdotool key "$@"
  for _ in $(seq 50); do
    [ "$(grep -ac '^key' "$out")" -gt "$before" ] && break
    sleep 0.1
  done
  state=$(tr -d '\r' <"$out" | grep -a '^key' | tail -1)
}
field() { sed -n "s/.* $1 \([^ ]*\).*/\1/p" <<<"$state"; }
edit_text() { sed -n 's/.* edit \(.*\)/\1/p' <<<"$state"; }
finish() {
  for _ in $(seq 100); do
    [ -f "$work/rc" ] && break
    sleep 0.1
  done
  expect "$1: program ended" "$(cat "$work/rc" 2>/dev/null)" "rc 0"
  rm -f "$work/rc"
  tr -d '\r' <"$out" >"$work/$1.log"
}

# Directory page: the focus starts on OK. Tab order OK, Cancel, Folder,
# install set list, drive buttons, directory field.
start
key Tab;       expect "Tab from OK" "$(field focus)" 2
key Tab;       expect "Tab from Cancel" "$(field focus)" 1605
key shift+Tab; expect "Shift+Tab from Folder" "$(field focus)" 2
key Down;      expect "Down on a push button stays there" "$(field focus)" 2
key t;         expect "T: the install set named &Typical" "$(field focus)" 1603
grep -aq '^command 1603 focus 1603 class ComboBox' "$out" || fail "T did not reach the install set list"
# In the directory field letters are typed, also one that marks a control.
click "$EX" "$EY"
key End;       expect "End in the field" "$(field focus)" 1601
key t;         expect "T typed" "$(edit_text)" 'C:\KBKEYSt'
               expect "T typed: focus stays" "$(field focus)" 1601
key BackSpace; expect "BackSpace" "$(edit_text)" 'C:\KBKEYS'
# Enter in the field is OK: on to the options page.
key Return;    expect "Enter from the field: page" "$(field page)" 2
grep -aq '^command 1 focus 1601 class Edit' "$out" || fail "Enter in the field did not send IDOK"
# Options page: a click on the first row checks it and gives it the focus.
click "$RX" "$RY"
key Down;      expect "Down from a row: current row" "$(field item)" 1001
               expect "Down from a row: focus" "$(field focus)" 1001
               expect "Down does not toggle" "$(field checks)" 100
key Up;        expect "Up from a row" "$(field item)" 1000
key b;         expect "B: the row &Beta" "$(field item) $(field focus) $(field checks)" "1001 1001 110"
# T marks the hidden install set list too; here only the rows count.
key t;         expect "T: the row Gamma &Three" "$(field item) $(field focus) $(field checks)" "1002 1002 111"
key alt+a;     expect "Alt+A: the row &Alpha" "$(field item) $(field focus) $(field checks)" "1000 1000 011"
# Escape from a row is Cancel: back to the directory page.
key Escape;    expect "Escape from a row: page" "$(field page)" 1
grep -aq '^command 2 focus 1000 class Button' "$out" || fail "Escape on a row did not send IDCANCEL"
# Escape in the directory field is Cancel too, which ends the program there.
click "$EX" "$EY"
xdotool key Escape
finish first
grep -aq '^command 2 focus 1601 class Edit' "$work/first.log" || fail "Escape in the field did not send IDCANCEL"
grep -aq '^close' "$work/first.log" || fail "Cancel on the directory page did not close"

# Alt with a letter is a mnemonic; Alt+F4 is left to the window.
start
key alt+t;     expect "Alt+T" "$(field focus)" 1603
key shift+Tab; expect "Shift+Tab from the list" "$(field focus)" 1605
xdotool key alt+F4
finish second
grep -aq '^close' "$work/second.log" || fail "Alt+F4 did not close the window"
grep -aq '^command [123] ' "$work/second.log" && fail "Alt+F4 was taken for a button"

[ $failures -eq 0 ] && rm -rf "$work" || echo "kept $work"
[ $failures -eq 0 ] && echo "all keyboard filter checks passed"
exit $((failures > 0))
