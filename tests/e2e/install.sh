#!/bin/bash
# An English medium installed and removed again by a user with the keyboard
# and the mouse: install.sh KELBRINE.EXE PROBE
. "$(dirname "$0")/lib.sh"
demo=$KELBRINE_TESTS_DIR/../demo

M=$(medium disk1)
APP=$ROOT/APP
app_win=$(winpath "$APP")
cp "$demo/DISK2/PROGRAM.DAT" "$demo/DISK2/HELP.TXT" "$M/"
printf 'Read me first.\r\n' >"$M/README.TXT"
printf 'A sample.\r\n' >"$M/SAMPLE.TXT"
# An LZ file made by the outside compressor; the script names the expanded
# file itself.
mscompress "$M/PROGRAM.DAT" >/dev/null
mv "$M/PROGRAM.DAT_" "$M/PROGRAM.DA_"
rm "$M/PROGRAM.DAT"
setup_file "$M" <<END
[GENERAL]
LANGUAGE=ENGLISH
COVERPAGE=TRUE
INSTALLDIR=$(winpath_ini "$APP")
INSTALLSET1=Typical,SI,0,0
INSTALLSET2=Remove,SD
INSTALLMODE0=Program,10
OPTION0=Help,5
OPTION1=Samples,7

[INSTALL-SCRIPT]
MKDIR "\$A"
FLCOPY README.TXT \$A\\\\README.TXT
LZCOPY PROGRAM.DA_ \$A\\\\PROGRAM.DAT 0
FLCOPY HELP.TXT \$A\\\\HELP.TXT 0
FLCOPY SAMPLE.TXT \$A\\\\SAMPLE.TXT 1
REGCREATE HKEY_CURRENT_USER Software\\\\KelbrineE2E\\\\App
REGSETVALSZ Path "\$A"
REGSETVALDW Version "0x0102"
REGCLOSE
ADDWINI KelbrineE2E "Path=\$A"
ADDCONF "FILES=40"
ADDPATH "\$A"
SNDPRG "[CreateGroup(Kelbrine E2E)][AddItem(\$A\\\\README.TXT,Read me)]"

[DELETE-SCRIPT]
SNDPRG "[DeleteGroup(Kelbrine E2E)]"
DELPATH "\$A"
DELCONF "FILES=40"
DELWINI KelbrineE2E "Path=\$A"
REGDELETE HKEY_CURRENT_USER Software\\\\KelbrineE2E\\\\App
XREMOVE "\$A"
RMDIR "\$A"
END
C=$WINEPREFIX/drive_c
printf 'DEVICE=C:\\WINDOWS\\HIMEM.SYS\r\nFILES=20\r\n' >"$C/CONFIG.SYS"
printf '@ECHO OFF\r\nPATH C:\\WINDOWS;C:\\DOS\r\n' >"$C/AUTOEXEC.BAT"
GROUP="$PROGRAMS/Kelbrine E2E"
rm -rf "$GROUP"
wine reg delete 'HKCU\Software\KelbrineE2E' /f >/dev/null 2>&1

note "install: cover page, directory page, confirmation, run, report"
start_engine "$M"
expect "first page" "$(page)" 0
focus_main
key Return
wait_page 1
expect "install set" "$(ctl_text 1603)" Typical
expect "install directory" "$(ctl_text 1601)" "$app_win"
key Return
expect_box "install confirmation" Message "1 2"
SKIP_LINE=3 box_text_is confirm 41 "Necessary 15KB free space on disk.\n(FreeSpace=$(free_kb "$C")KB)\nDo start install?" Message
answer 1
close_group_window "Kelbrine E2E"
expect_box "restart report" Message 1
box_text_is report 40 "System files is changed.\nNecessary Reset Computer." Message
answer 1
wait_end 10 || fail "the program did not end after the report"

cmp -s "$M/README.TXT" "$APP/README.TXT" || fail "README.TXT not copied"
cmp -s "$demo/DISK2/PROGRAM.DAT" "$APP/PROGRAM.DAT" || fail "PROGRAM.DAT not expanded to its original bytes"
cmp -s "$demo/DISK2/HELP.TXT" "$APP/HELP.TXT" || fail "HELP.TXT (option 0, checked) not copied"
[ -e "$APP/SAMPLE.TXT" ] && fail "SAMPLE.TXT (option 1, not checked) was copied"
expect "registry Path" "$(reg_value 'HKCU\Software\KelbrineE2E\App' Path)" "REG_SZ $app_win"
expect "registry Version" "$(reg_value 'HKCU\Software\KelbrineE2E\App' Version)" "REG_DWORD 0x102"
grep -q "^\[KelbrineE2E\]" "$C/windows/win.ini" || fail "no [KelbrineE2E] section in WIN.INI"
expect "WIN.INI line" "$(tr -d '\r' <"$C/windows/win.ini" | grep -A1 '^\[KelbrineE2E\]' | tail -1)" "Path=$app_win"
tr -d '\r' <"$C/CONFIG.SYS" | grep -qx "FILES=40" || fail "CONFIG.SYS: FILES=40 missing: $(cat "$C/CONFIG.SYS")"
tr -d '\r' <"$C/AUTOEXEC.BAT" | grep -i '^PATH' | grep -qF "$app_win" || fail "AUTOEXEC.BAT: PATH lacks the directory: $(cat "$C/AUTOEXEC.BAT")"
[ -f "$GROUP/Read me.lnk" ] || fail "Program Manager group item missing: $(ls "$PROGRAMS")"

note "delete: the Remove set, 1015, the delete script"
start_engine "$M"
focus_main
key Return
wait_page 1
# Tab goes from OK over Cancel and Folder to the set list; Down picks the
# next set.
key Tab Tab Tab
probe
expect "focus after three Tabs" "$(grep '^focus' "$WORK/probe")" "focus 1603"
key Down
probe
expect "install set" "$(ctl_text 1603)" Remove
key Return
expect_box "delete confirmation" Message "1 2"
SKIP_LINE=3 box_text_is delete 41 "It make free space about 0KB on disk.\n(FreeSpace=$(free_kb "$C")KB)\nDo start delete?" Message
answer 1
expect_box "restart report after delete" Message 1
box_text_is delete-report 40 "System files is changed.\nNecessary Reset Computer." Message
answer 1
wait_end 10 || fail "the program did not end after the delete report"

[ -e "$APP" ] && fail "the install directory is still there: $(ls "$APP")"
reg_exists 'HKCU\Software\KelbrineE2E\App' && fail "the registry key is still there"
tr -d '\r' <"$C/windows/win.ini" | grep -q "^Path=$app_win" && fail "WIN.INI still holds the line"
tr -d '\r' <"$C/CONFIG.SYS" | grep -qx "FILES=40" && fail "CONFIG.SYS still holds FILES=40"
expect "CONFIG.SYS kept" "$(tr -d '\r' <"$C/CONFIG.SYS" | head -1)" 'DEVICE=C:\WINDOWS\HIMEM.SYS'
tr -d '\r' <"$C/AUTOEXEC.BAT" | grep -qF "$app_win" && fail "AUTOEXEC.BAT still names the directory"
[ -e "$GROUP" ] && fail "the Program Manager group is still there"

note "Japanese: a Shift-JIS setup file, a directory name with a 0x5C second byte"
J=$(medium ja)
JAPP=$ROOT/ソフト
printf 'Japanese readme.\r\n' >"$J/説明.TXT"
cp "$demo/DISK2/HELP.TXT" "$J/HELP.TXT"
printf 'A sample.\r\n' >"$J/SAMPLE.TXT"
setup_file "$J" ja <<END
[GENERAL]
INSTALLDIR=$(winpath_ini "$ROOT")\\\\ソフト
INSTALLSET1=標準インストール,CI,0,0
INSTALLMODE0=本体,10
OPTION0=ヘルプ(&H),5
OPTION1=サンプル(&S),7
SCOMMENT1=すべてを入れます

[INSTALL-SCRIPT]
MKDIR "\$A"
FLCOPY 説明.TXT \$A\\\\説明.TXT
FLCOPY HELP.TXT \$A\\\\ヘルプ.TXT 0
FLCOPY SAMPLE.TXT \$A\\\\SAMPLE.TXT 1
REGCREATE HKEY_CURRENT_USER Software\\\\KelbrineE2E\\\\Ja
REGSETVALSZ Path "\$A"
REGCLOSE
END
start_engine "$J" ja
expect "first page" "$(page)" 1
expect "install set" "$(ctl_text 1603)" 標準インストール
expect "install directory" "$(ctl_text 1601)" "$(winpath "$ROOT")\\ソフト"
focus_main
key Return
wait_page 2
expect "option 1 row" "$(ctl_text 1001)" "Cサンプル(&S)     7 KB"
# Tab from OK over Cancel into the list, whose current row takes the focus;
# then the mnemonic S checks option 1.
key Tab Tab
key s
probe
expect "focus after the mnemonic" "$(grep '^focus' "$WORK/probe")" "focus 1001"
key Return
expect_box "install confirmation" ﾒｯｾｰｼﾞ "1 2"
SKIP_LINE=2 box_text_is ja-confirm 41 "ｲﾝｽﾄｰﾙするのに22Kバイト必要です。\n(空き容量=$(free_kb "$C")Kバイト)\nｲﾝｽﾄｰﾙを開始します。" ﾒｯｾｰｼﾞ ja
answer 1
expect_box "report" ﾒｯｾｰｼﾞ 1
box_text_is ja-report 40 "ｾｯﾄｱｯﾌﾟが終了しました。\n再起動は必要ありません。" ﾒｯｾｰｼﾞ ja
answer 1
wait_end 10 || fail "the program did not end after the report"
cmp -s "$J/説明.TXT" "$JAPP/説明.TXT" || fail "説明.TXT not copied into ソフト: $(ls "$ROOT")"
cmp -s "$J/HELP.TXT" "$JAPP/ヘルプ.TXT" || fail "ヘルプ.TXT not copied"
cmp -s "$J/SAMPLE.TXT" "$JAPP/SAMPLE.TXT" || fail "SAMPLE.TXT (option 1, checked by its mnemonic) not copied"
expect "registry Path" "$(LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 wine reg query 'HKCU\Software\KelbrineE2E\Ja' /v Path 2>/dev/null | iconv -c -f CP932 -t UTF-8 | tr -d '\r' | awk '$1 == "Path" { print $3 }')" "$(winpath "$ROOT")\\ソフト"

wine reg delete 'HKCU\Software\KelbrineE2E' /f >/dev/null 2>&1
finish
