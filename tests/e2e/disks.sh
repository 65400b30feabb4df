#!/bin/bash
# A two-disk install from a floppy drive whose disk is changed at the prompt,
# and the ways to stop a run: Break with No and with Yes, and the window
# closed with Alt+F4: disks.sh KELBRINE.EXE PROBE
. "$(dirname "$0")/lib.sh"
demo=$KELBRINE_TESTS_DIR/../demo

note "two disks: the prompt, Cancel and No, the disk changed, Enter"
D1=$(medium disk1)
D2=$ROOT/disk2
mkdir -p "$D2"
APP=$ROOT/FLOPPY
printf 'Disk one.\r\n' >"$D1/README.TXT"
cp "$demo/DISK2/PROGRAM.DAT" "$demo/DISK2/SAMPLE1.TXT" "$D2/"
mscompress "$D2/PROGRAM.DAT" >/dev/null
rm "$D2/PROGRAM.DAT"
# The compressor leaves the replaced last character of the name out of the
# header; a medium's maker puts it in, so that the copy gets its full name.
printf 'T' | dd of="$D2/PROGRAM.DAT_" bs=1 seek=9 conv=notrunc 2>/dev/null
mv "$D2/PROGRAM.DAT_" "$D2/PROGRAM.DA_"
setup_file "$D1" <<END
[GENERAL]
LANGUAGE=ENGLISH
INSTALLDIR=$(winpath_ini "$APP")
INSTALLSET1=Typical,SI

[INSTALL-SCRIPT]
MKDIR "\$A"
FLCOPY README.TXT \$A\\\\README.TXT
:DISK2 Program files (disk 2)
LZCOPY PROGRAM.DA_ \$A\\\\*.*
FLCOPY SAMPLE1.TXT \$A\\\\SAMPLE1.TXT
END
# Drive R: is the floppy drive: the program starts from its root, and the
# second disk has its files in its root too.
map_drive r "$D1"
start_engine_win 'R:\KELBRINE.EXE'
focus_main
key Return
expect_box "install confirmation" Message "1 2"
answer 1
expect_box "disk prompt" Message "1 2"
box_text_is disk-prompt 41 "Please change disk 'DISK2' disk...\nand Press Enter." Message
answer 2
expect_box "abort question after Cancel" Abort "6 7"
box_text_is abort 144 "If abort this operation...\nYou must install again from the first.\nDo abort install?" Abort
answer 7
expect_box "disk prompt again" Message "1 2"
ln -sfn "$D2" "$WINEPREFIX/dosdevices/r:"
answer_key Return
expect_box "report" Message 1
box_text_is report 40 "Setup is complete.\nUnnecessary Reset Computer." Message
answer 1
wait_end 10 || fail "the program did not end after the report"
cmp -s "$D1/README.TXT" "$APP/README.TXT" || fail "README.TXT of the first disk not copied"
cmp -s "$demo/DISK2/PROGRAM.DAT" "$APP/PROGRAM.DAT" || fail "PROGRAM.DAT not expanded from the second disk: $(ls "$APP")"
cmp -s "$demo/DISK2/SAMPLE1.TXT" "$APP/SAMPLE1.TXT" || fail "SAMPLE1.TXT of the second disk not copied"

# A run long enough to be stopped: a file first, many steps, a file last.
S=$(medium stop)
echo first >"$S/FIRST.TXT"
echo last >"$S/LAST.TXT"
{
  echo '[GENERAL]'
  echo 'LANGUAGE=ENGLISH'
  echo "INSTALLDIR=$(winpath_ini "$ROOT")\\\\STOPPED"
  echo 'INSTALLSET1=Typical,SI'
  echo
  echo '[INSTALL-SCRIPT]'
  echo 'MKDIR "$A"'
  echo 'FLCOPY FIRST.TXT $A\\FIRST.TXT'
  for _ in $(seq 100); do echo 'ADDINIT'; done
  echo 'FLCOPY LAST.TXT $A\\LAST.TXT'
} | setup_file "$S"
# start_run: from the start to the running progress page.
start_run() {
  rm -rf "$ROOT/STOPPED"
  start_engine "$S"
  focus_main
  key Return
  expect_box "install confirmation" Message "1 2"
  answer 1
  wait_page 3
}
# Break, the button of the progress page.
press_break() { click 410 352; }

note "Break, then No: the run goes on to its end and its report"
start_run
press_break
expect_box "abort question" Abort "6 7"
answer 7
expect "page after No" "$(page)" 3
expect_box "report after No" Message 1
answer 1
wait_end 10 || fail "the program did not end after the report"
[ -f "$ROOT/STOPPED/LAST.TXT" ] || fail "the run did not go on to its last line after No"

note "Break, then Yes: the program ends without its report"
start_run
press_break
expect_box "abort question" Abort "6 7"
answer 6
wait_end 5 || fail "the program did not end after Yes"
[ -f "$ROOT/STOPPED/FIRST.TXT" ] || fail "the first file is missing"
[ -e "$ROOT/STOPPED/LAST.TXT" ] && fail "the run went on after Yes"

note "Alt+F4 during the run: the program ends without question and report"
start_run
focus_main
key alt+F4
wait_end 5 || fail "the program did not end after Alt+F4"
[ -f "$ROOT/STOPPED/FIRST.TXT" ] || fail "the first file is missing"
[ -e "$ROOT/STOPPED/LAST.TXT" ] && fail "the run went on after Alt+F4"

finish
