#!/bin/bash
# Values written by the registry commands, read back with Wine's own
# "reg query": reg_query.sh TEST_REGISTRY_PROGRAM
prog=$1
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

wine "$prog" -tc='Values left for the registry tool' --no-skip >/dev/null 2>&1 || fail "writing the values"

query() { wine reg query "$@" 2>/dev/null | tr -d '\r'; }
app=$(query 'HKCU\Software\KbRegQuery\Maker\App')
echo "$app"
expect_line() { grep -Eq "$2" <<<"$1" || fail "no line matching '$2'"; }
expect_line "$app" '^ +Count +REG_DWORD +0x10$'
expect_line "$app" '^ +Mode +REG_DWORD +0x8$'
expect_line "$app" '^ +Big +REG_DWORD +0xffffffff$'
expect_line "$app" '^ +Empty +REG_SZ *$'
expect_line "$app" '^ +Path +REG_SZ +C:\\Program Files\\App$'
machine=$(query 'HKLM\Software\KbRegQuery')
echo "$machine"
expect_line "$machine" '^ +Zero +REG_DWORD +0x0$'

wine reg delete 'HKCU\Software\KbRegQuery' /f >/dev/null 2>&1
wine reg delete 'HKLM\Software\KbRegQuery' /f >/dev/null 2>&1
wine reg query 'HKCU\Software\KbRegQuery' >/dev/null 2>&1 && fail "test key left behind"
wine reg query 'HKLM\Software\KbRegQuery' >/dev/null 2>&1 && fail "machine test key left behind"
[ $failures -eq 0 ] && echo "reg query: all values as written"
exit $((failures > 0))
