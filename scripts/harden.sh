#!/usr/bin/env bash
# The hardening runs, after the tests: every test built with AddressSanitizer and
# UndefinedBehaviorSanitizer (with clang, whose build also carries the fuzz targets), each fuzz
# target for a bounded time on its seeds, and the Debian package installed into a scratch root.
#
# Usage: scripts/harden.sh [seconds per fuzz target, 60]
# A longer fuzzing run: scripts/harden.sh 3600
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
seconds=${1:-60}
build="$top/build/harden"

"$top/scripts/setup.sh" --hardening
CC=clang CXX=clang++ cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DHORAVISTA_WERROR=ON \
    -DHORAVISTA_FUZZ=ON -DHORAVISTA_BUILD_BENCH=OFF >/dev/null
cmake --build "$build"

echo "== Tests with AddressSanitizer and UndefinedBehaviorSanitizer"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS="suppressions=$top/tests/fuzz/lsan.supp:print_suppressions=0"
ctest --test-dir "$build" --output-on-failure --parallel "$(nproc)" --exclude-regex '^(format|install)$'

echo "== Fuzzing, $seconds s per target, within 2 s and 512 MB per input"
# Seeds that the build makes: the program's own help file, and its contents (behind the two bytes of
# a language id that the contents target reads first).
mkdir -p "$build/corpus/help" "$build/corpus/contents"
cp "$build/assets/Horavista.chm" "$build/corpus/help/horavista.chm"
{ printf '\x11\x04'; cat "$top/assets/help/Horavista.hhc"; } >"$build/corpus/contents/horavista.hhc"
for target in settings picture icon help contents; do
    corpus="$build/corpus/$target"
    mkdir -p "$corpus"
    (cd "$build" && nice -n 10 "$build/tests/fuzz/fuzz_$target" -max_total_time="$seconds" -print_final_stats=1 \
        -rss_limit_mb=512 -timeout=2 "$corpus" "$top/tests/fuzz/$target" 2>&1 |
        grep -E '^(stat::number_of_executed_units|Done|==|SUMMARY)' || true)
    if ls "$build"/crash-* "$build"/leak-* "$build"/timeout-* "$build"/oom-* >/dev/null 2>&1; then
        echo "fuzz_$target found a failing input:" >&2
        ls "$build"/crash-* "$build"/leak-* "$build"/timeout-* "$build"/oom-* 2>/dev/null >&2
        exit 1
    fi
done

echo "== The Debian package, installed into a scratch root"
package="$top/build/test"
[ -f "$package/CMakeCache.txt" ] || package="$build"
(cd "$package" && cpack -G DEB >/dev/null)
"$top/tests/install/check-install.sh" --deb "$(ls "$package"/horavista_*.deb | head -n 1)"
