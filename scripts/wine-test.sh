#!/usr/bin/env bash
# Runs one Windows test program under Wine: the Windows build's CTest emulator, so that `ctest` in that
# build runs the tests as it does on Linux. scripts/windows.sh sets up the Wine prefix and its
# environment (WINEPREFIX, WINEPATH) first.
#
# Wine passes no QT_* variable on to the program, so each goes as WINEQT_*, which Wine hands on without
# its prefix. Qt Test's output to a pipe is lost under Wine, so it is written to a file in
# $HORAVISTA_WINE_RESULTS (named after the program and its arguments) and printed from there.
set -uo pipefail
program=$1
shift
: "${WINEPREFIX:?run the Windows tests through scripts/windows.sh, which makes their Wine prefix}"
: "${HORAVISTA_WINE_RESULTS:?run the Windows tests through scripts/windows.sh}"

while IFS='=' read -r name value; do
    export "WINE$name=$value"
done < <(env | grep '^QT_')

name=$(basename "$program" .exe)
[ $# -eq 0 ] || name="$name-$(echo "$*" | tr -c 'A-Za-z0-9_\n' '_')"
result="$HORAVISTA_WINE_RESULTS/$name.txt"
rm -f "$result"
/usr/lib/wine/wine64 "$program" -o "Z:$result,txt" "$@"
status=$?
if [ -f "$result" ]; then
    cat "$result"
else
    echo "wine-test: $name wrote no results (exit status $status)"
    [ $status -ne 0 ] || status=1
fi
exit $status
