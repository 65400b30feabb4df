#!/bin/bash
# Where the program takes its directory from: a quoted path with a blank
# followed by an argument, and a name without any backslash found through
# the search path: startup.sh KELBRINE.EXE PROBE
. "$(dirname "$0")/lib.sh"

M=$(medium "my setup")
OTHER=$ROOT/other
mkdir -p "$OTHER"
printf 'From the medium.\r\n' >"$M/README.TXT"
setup_file "$M" <<END
[GENERAL]
LANGUAGE=ENGLISH
INSTALLDIR=$(winpath_ini "$ROOT")\\\\QUOTED
INSTALLSET1=From the program directory,MI

[INSTALL-SCRIPT]
MKDIR "\$A"
FLCOPY README.TXT \$A\\\\README.TXT
END
printf '[GENERAL]\nLANGUAGE=ENGLISH\nINSTALLSET1=From the current directory,SD\n' | setup_file "$OTHER"

note "a quoted path and an argument, started from another directory; MI goes straight to the question"
# Wine writes the program's path in quotes, as it holds a blank.
start_engine_in "$OTHER" wine "$M/KELBRINE.EXE" /quiet
expect "setup file read" "$(probe; ctl_text 1603)" "From the program directory"
focus_main
key Return
expect_box "install confirmation" Message "1 2"
answer 1
expect_box "report" Message 1
answer 1
wait_end 10 || fail "the program did not end after the report"
cmp -s "$M/README.TXT" "$ROOT/QUOTED/README.TXT" || fail "README.TXT not copied from the medium"

note "a name without a backslash: the current directory stays"
start_engine_in "$OTHER" env WINEPATH="$(winpath "$M")" wine cmd /c KELBRINE
expect "setup file read" "$(probe; ctl_text 1603)" "From the current directory"
stop_engine

finish
