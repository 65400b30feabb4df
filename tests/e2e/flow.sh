#!/bin/bash
# The ways through the pages: Escape on each page, the option page worked
# with the mouse, Space, the arrow keys and a mnemonic, and a setup file
# without [GENERAL]: flow.sh KELBRINE.EXE PROBE
. "$(dirname "$0")/lib.sh"

M=$(medium setup)
APP=$ROOT/TOOLS
# Three radio modes, the empty row, twelve options: sixteen rows, eight
# shown. Each option copies a file of its own, each mode one.
{
  echo '[GENERAL]'
  echo 'LANGUAGE=ENGLISH'
  echo 'COVERPAGE=true'
  echo "INSTALLDIR=$(winpath_ini "$APP")"
  echo 'INSTALLSET1=Custom,CI,0,1'
  echo 'INSTALLMODE0=Full,100'
  echo 'INSTALLMODE1=Lean,200'
  echo 'INSTALLMODE2=Tiny,400'
  for n in $(seq 0 10); do echo "OPTION$n=Part $n,$((n + 1))"; done
  echo 'OPTION11=Part &Last,12'
  echo
  echo '[INSTALL-SCRIPT]'
  echo 'MKDIR "$A"'
  for n in 0 1 2; do echo "FLCOPY MODE.TXT \$A\\\\MODE$n.TXT $n -1"; done
  for n in $(seq 0 11); do echo "FLCOPY PART.TXT \$A\\\\PART$n.TXT $n"; done
  # Enough steps to press Escape while the run goes on.
  for n in $(seq 60); do echo 'ADDINIT'; done
} | setup_file "$M"
echo mode >"$M/MODE.TXT"
echo part >"$M/PART.TXT"

# y of row ID inside the main window's client area (moves with scrolling).
row_y() { ctl "$1" | cut -d' ' -f6; }
# click_row ID: a click on the row's name.
click_row() { probe; click 60 $(($(row_y "$1") + 8)); }

# From the option page Escape goes back to the directory page, where a
# second Escape ends the program.
leave_from_options() {
  focus_main
  key Escape
  wait_page 1
  key Escape
  wait_end 5 || fail "Escape on the directory page did not end the program"
}

note "cover page: Escape ends the program"
start_engine "$M"
expect "first page" "$(page)" 0
focus_main
key Escape
wait_end 5 || fail "Escape on the cover page did not end the program"
stop_engine

note "options page: mouse, scroll bar, arrows, Space, mnemonic; Escape back and forth"
start_engine "$M"
focus_main
key Return
wait_page 1
key Return
wait_page 2
read -r _ _ _ _ LX LY LW LH _ < <(ctl 1602)
click_row 1000                  # option 0 on
click_row 1302                  # mode 2 instead of mode 0
# The page area of the scroll bar under the thumb: eight rows down.
top=$(row_y 1300)
click $((LX + LW - 10)) $((LY + LH - 30))
probe
expect "mode 0 row after a page down" "$(row_y 1300)" $((top - 8 * 19))
# The focus is on mode 2; Down walks the rows in their order: option 0,
# then on to option 9, which lies below the eight rows and is scrolled to.
for _ in $(seq 10); do key Down; done
key space                       # option 9 on
probe
expect "focus row" "$(grep '^focus' "$WORK/probe")" "focus 1009"
y=$(row_y 1009)
[ "$y" -ge "$LY" ] && [ $((y + 16)) -le $((LY + LH)) ] || fail "option 9 is not scrolled into view (y $y)"
key Up Up                       # back to option 7, scrolled to again
probe
expect "focus row after Up" "$(grep '^focus' "$WORK/probe")" "focus 1007"
key l                           # the mnemonic of "Part &Last": option 11 on
probe
expect "focus row after the mnemonic" "$(grep '^focus' "$WORK/probe")" "focus 1011"
focus_main
key Escape
wait_page 1
key Return
wait_page 2
key Return
expect_box "install confirmation" Message "1 2"
SKIP_LINE=3 box_text_is confirm 41 "Necessary $((400 + 1 + 2 + 10 + 12))KB free space on disk.\n(FreeSpace=$(free_kb "$ROOT")KB)\nDo start install?" Message
answer_key Return
wait_page 3
focus_main
key Escape
sleep 1
expect "page after Escape during the run" "$(page)" 3
expect_box "report" Message 1
box_text_is report 40 "Setup is complete.\nUnnecessary Reset Computer." Message
answer 1
wait_end 10 || fail "the program did not end after the report"
expect "files installed" "$(cd "$APP" 2>/dev/null && ls | sort | tr '\n' ' ')" \
  "MODE2.TXT PART0.TXT PART1.TXT PART11.TXT PART9.TXT "

note "directory page without a cover: Escape ends the program"
sed -i 's/^COVERPAGE=.*\r$/COVERPAGE=YES\r/' "$M/KELBRINE.INI"
start_engine "$M"
expect "first page" "$(page)" 1
focus_main
key Escape
wait_end 5 || fail "Escape on the directory page did not end the program"
stop_engine

note "a CD set: through the option page to the delete question 1015"
R=$(medium remove)
printf '[GENERAL]\nLANGUAGE=ENGLISH\nINSTALLDIR=%s\nINSTALLSET1=Remove parts,CD,-1\nINSTALLMODE0=Program,10\nOPTION0=Help,5\n' \
  "$(winpath_ini "$ROOT")" | setup_file "$R"
start_engine "$R"
focus_main
key Return
wait_page 2
key Return
expect_box "delete question" Message "1 2"
SKIP_LINE=3 box_text_is cd 41 "It make free space about 10KB on disk.\n(FreeSpace=$(free_kb "$ROOT")KB)\nDo start delete?" Message
answer 2
expect "page after Cancel" "$(page)" 2
leave_from_options

note "no [GENERAL] (so Japanese): the directory typed, then the delete question 1015"
N=$(medium nogeneral)
printf '[INSTALL-SCRIPT]\nMKDIR "$A"\n' | setup_file "$N"
start_engine "$N" ja
expect "first page" "$(page)" 1
expect "directory field" "$(ctl_text 1601)" ""
click 100 320
xdotool type --delay 50 "$(winpath "$ROOT")"
sleep 0.3
key Return
expect_box "delete question" ﾒｯｾｰｼﾞ "1 2"
SKIP_LINE=3 box_text_is nogeneral 41 "ﾃﾞﾘｰﾄを行うと、およそ0Kバイト使用可能に成ります。\n(空き容量=$(free_kb "$ROOT")Kバイト)\nﾃﾞﾘｰﾄを開始します。" ﾒｯｾｰｼﾞ ja
answer 1
expect_box "report" ﾒｯｾｰｼﾞ 1
box_text_is nogeneral-report 40 "ｾｯﾄｱｯﾌﾟが終了しました。\n再起動は必要ありません。" ﾒｯｾｰｼﾞ ja
answer 1
wait_end 10 || fail "the program did not end after the report"

note "free space: needed equal to free is refused (1014), one KB less is offered (1013)"
small_disk 4096
if [ -z "$DISK" ]; then
  echo "no file system of a known size can be mounted here: the free space walk is left out"
else
  map_drive q "$DISK"
  S=$(medium space)
  setup_file "$S" <<END
[GENERAL]
LANGUAGE=ENGLISH
INSTALLDIR=Q:\\\\APP
INSTALLSET1=Custom,CI,0,0
INSTALLMODE0=Program,4095
OPTION0=Help,1

[INSTALL-SCRIPT]
MKDIR "\$A"
END
  start_engine "$S"
  focus_main
  key Return
  wait_page 2
  key Return
  expect_box "4096 KB needed on 4096 KB" Message 1
  box_text_is refused 40 "Necessary 4096KB free space on disk.\n(FreeSpace=4096KB)\nCan't install." Message
  answer 1
  expect "page after the refusal" "$(page)" 2
  click_row 1000                # option 0 off: 4095 KB
  key Return
  expect_box "4095 KB needed on 4096 KB" Message "1 2"
  box_text_is offered 41 "Necessary 4095KB free space on disk.\n(FreeSpace=4096KB)\nDo start install?" Message
  answer 2
  expect "page after Cancel" "$(page)" 2
  leave_from_options
  [ -e "$DISK/APP" ] && fail "something was installed"
fi

finish
