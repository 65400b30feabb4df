#!/bin/bash
# The search for earlier installations, the Folder button and the drive
# buttons: search.sh KELBRINE.EXE PROBE
. "$(dirname "$0")/lib.sh"

# Earlier installations on C: (one directory holding both names of the list,
# so it is recorded twice) and on a drive D: of their own.
# The names are new for every run, so that nothing else on the drive matches.
tag=$(basename "$ROOT" | tr -dc 'A-Za-z0-9' | cut -c4-9)
name1=K$tag.MRK
name2="K,$tag.DAT"
mkdir -p "$ROOT/old1" "$ROOT/old2/deeper" "$ROOT/old3" "$WORK/ddrive/prev"
touch "$ROOT/old1/$name1" "$ROOT/old1/$name2" "$ROOT/old2/deeper/${name1,,}" \
  "$ROOT/old3/$name2" "$WORK/ddrive/prev/$name1"
map_drive d "$WORK/ddrive"
M=$(medium setup)
setup_file "$M" <<END
[GENERAL]
LANGUAGE=ENGLISH
INSTALLDIR=$(winpath_ini "$ROOT")\\\\\\\\NEW
SEARCHKEY=$name1, "$name2"
INSTALLSET1=Typical,SI
END
expected=$(printf '%s\n' "$(winpath "$ROOT/old1")" "$(winpath "$ROOT/old1")" \
  "$(winpath "$ROOT/old2/deeper")" "$(winpath "$ROOT/old3")" | sort)

note "the search at the start and the Folder button"
start_engine "$M"
wait_page 1
first=$(ctl_text 1601)
seen=$first
for _ in 1 2 3 4; do
  click 420 285
  probe
  seen=$(printf '%s\n%s' "$seen" "$(ctl_text 1601)")
done
expect "directories shown by Folder, back to the first" "$(echo "$seen" | tail -1)" "$first"
expect "directories found" "$(echo "$seen" | head -4 | sort)" "$expected"

note "drive buttons: D: searched, A: without a disk, C: searched again"
# click_drive LETTER: a click on that drive's button.
click_drive() {
  local x y w h
  read -r _ _ _ _ x y w h _ < <(grep -a "^ctl [0-9]* 0 1 .* Button D$1:\$" "$WORK/probe")
  if [ -z "$x" ]; then
    fail "no button for drive $1:"
    return 1
  fi
  click $((x + w / 2)) $((y + h / 2))
  probe
}
probe
expect "drive buttons" "$(grep -ao 'Button [dDNOM][A-Z]:$' "$WORK/probe" | cut -c9- | tr '\n' ' ')" "A: B: C: D: "
click_drive D
expect "directory after D:" "$(ctl_text 1601)" 'D:\prev'
click_drive A
expect "directory after A:" "$(ctl_text 1601)" 'A:\prev'
click_drive C
expect "directory after C:" "$(ctl_text 1601)" "$first"
focus_main
key Escape
wait_end 5 || fail "Escape did not end the program"

finish
