#!/bin/bash
# Maps drive letters in the test prefix, runs the cases that rely on them
# and takes the mapping away again: drives.sh DRIVES_TEST
program=$1
devices=$WINEPREFIX/dosdevices
letters="d e f g h i j k m"
for l in $letters; do
  if [ -e "$devices/$l:" ]; then
    echo "drive $l: is already mapped in $WINEPREFIX"
    exit 1
  fi
done
root=$(mktemp -d)

# Drive types are read when the Wine server starts.
restart_wine() {
  wineserver -k
  setsid wineserver -p >>"$WINE_DIR/wineserver.log" 2>&1 </dev/null
}
set_type() { wine reg add 'HKLM\Software\Wine\Drives' /v "$1:" /d "$2" /f >/dev/null 2>&1; }
cleanup() {
  for l in $letters; do
    rm -f "$devices/$l:"
    wine reg delete 'HKLM\Software\Wine\Drives' /v "$l:" /f >/dev/null 2>&1
  done
  restart_wine
  rm -rf "$root"
}
trap cleanup EXIT

mkdir -p "$root/empty" "$root/m/old/app" "$root/m/older/Bin" "$root/m/sub"
touch "$root/m/root.txt" "$root/m/old/app/APP.EXE" "$root/m/older/Bin/app.exe"
ln -s .. "$root/m/sub/loop"
ln -s ../.. "$root/m/sub/up"
for l in d e f g h i j k; do ln -s "$root/empty" "$devices/$l:"; done
ln -s "$root/m" "$devices/m:"
set_type d ramdisk
set_type e cdrom
set_type f network
set_type g floppy
restart_wine

out=$root/out
wine "$program" >"$out" 2>&1
rc=$?
tr -d '\r' <"$out"
exit $rc
