#!/bin/bash
# Builds both presets and runs every test: native (AddressSanitizer + UBSan)
# and the Windows build under Wine. Ends with "N passed, N failed".
set -u
top=$(cd "$(dirname "$0")" && pwd)
cd "$top"
spooler_before=$(pgrep -x cupsd || true)   # one the installation of cups starts is the run's too
tools/deps.sh || { echo "0 passed, 1 failed"; exit 1; }

fail=0
for preset in native win64; do
    if ! cmake --preset "$preset" >/dev/null || ! cmake --build --preset "$preset"; then
        echo "build of $preset failed"
        fail=1
    fi
done
if [ "$fail" -ne 0 ]; then
    echo "0 passed, 1 failed"
    exit 1
fi

results=$top/build/results
rm -rf "$results"
mkdir -p "$results/native" "$results/win64"

run_ctest() {   # preset, result folder
    GTEST_OUTPUT="xml:$2/" ctest --preset "$1" --output-on-failure || true
    cp "build/$1/Testing/Temporary/LastTest.log" "$results/$1/" 2>/dev/null || true
}
run_ctest native "$results/native"

# One X server, one Wine server and one PDF printer for the Windows half.
. tools/wine-env.sh
. tools/printer.sh
export WINEPREFIX=$top/build/win64/wineprefix
mounted=0
finish() {
    wine_stop
    printer_stop
    rm -f "$WINEPREFIX/dosdevices/t:"
    [ "$mounted" = 1 ] && umount /tmp/trk-full
    return 0
}
trap finish EXIT
wine_xvfb || { echo "0 passed, 1 failed"; exit 1; }
wine_prefix
printer_start || echo "no PDF printer: the printing tests will fail"
[ -z "$spooler_before" ] && printer_started=1
# Wine takes the spooler's printers over when its first program starts.
wine_services
# A small disk that fills up during an installation (the tests reach it as Z:\tmp\trk-full and T:).
mkdir -p /tmp/trk-full
if ! mountpoint -q /tmp/trk-full; then
    mount -t tmpfs -o size=256k tmpfs /tmp/trk-full && mounted=1 || echo "no small disk: a test will fail"
fi
ln -sfn /tmp/trk-full "$WINEPREFIX/dosdevices/t:"   # and as a drive of its own, with its own free space
run_ctest win64 "Z:$results/win64"   # a Windows program needs the drive (Z: is /)
# The cases named NoPrinter run without any printer.
wineserver -k >/dev/null 2>&1
printer_remove
wine_services
(cd tests && "$top/tools/wine-run.sh" "$top/build/win64/win_tests.exe" --gtest_filter='*NoPrinter*' \
    --gtest_output="xml:Z:$results/win64/win_tests_no_printer.xml" >"$results/win64/no_printer.log" 2>&1) || true

# Count the cases of every GoogleTest report; a program that wrote no report
# (it crashed or did not start) counts as one failure.
passed=0
failed=0
failures=
silent=
for preset in native win64; do
    expected=$(ctest --preset "$preset" -N -L gtest | sed -n 's/^ *Test *#[0-9]*: *//p')
    [ "$preset" = win64 ] && expected="$expected win_tests_no_printer"
    for t in $expected; do
        xml=$results/$preset/$t.xml
        [ -f "$results/$preset/$t.exe.xml" ] && xml=$results/$preset/$t.exe.xml
        if [ ! -f "$xml" ]; then
            echo "$preset/$t: no test report"
            failed=$((failed + 1))
            silent="$silent $preset/$t"
            continue
        fi
        line=$(grep -m1 '<testsuites ' "$xml")
        n=$(echo "$line" | sed -n 's/.* tests="\([0-9]*\)".*/\1/p')
        f=$(echo "$line" | sed -n 's/.* failures="\([0-9]*\)".*/\1/p')
        e=$(echo "$line" | sed -n 's/.* errors="\([0-9]*\)".*/\1/p')
        d=$(echo "$line" | sed -n 's/.* disabled="\([0-9]*\)".*/\1/p')
        bad=$((f + e))
        passed=$((passed + n - d - bad))
        failed=$((failed + bad))
        echo "$preset/$t: $((n - d - bad)) passed, $bad failed"
        [ "$bad" -gt 0 ] && failures="$failures $xml"
    done
    # Tests that are not GoogleTest programs count one each.
    other=$(ctest --preset "$preset" -N -LE gtest | sed -n 's/^ *Total Tests: *//p')
    if [ "${other:-0}" -gt 0 ]; then
        log=$results/$preset/other.log
        ctest --preset "$preset" -LE gtest >"$log" 2>&1
        ok=$(sed -n 's/.*tests passed, \([0-9]*\) tests failed out of \([0-9]*\).*/\2 \1/p' "$log")
        total=${ok% *}
        bad=${ok#* }
        passed=$((passed + total - bad))
        failed=$((failed + bad))
    fi
done
# What each failed case reported, at the end where a short log still shows it.
for xml in $failures; do
    awk '/<testcase /   { match($0, /name="[^"]*"/); name = substr($0, RSTART + 6, RLENGTH - 7)
                          match($0, /classname="[^"]*"/); suite = substr($0, RSTART + 11, RLENGTH - 12) }
         /<failure /    { print "--- " suite "." name; shown = 0; text = 1; sub(/.*<!\[CDATA\[/, "") }
         text           { if (sub(/\]\]><\/failure>.*/, "")) text = 0; if (shown++ < 25) print }' "$xml"
done
# A program without a report ended early: the last of what it printed.
for t in $silent; do
    echo "--- $t ended without a report; the end of its output:"
    if [ "${t#*/}" = win_tests_no_printer ]; then
        tail -n 25 "$results/win64/no_printer.log"
    else
        awk -v test="${t#*/}" '$0 ~ "^[0-9]+/[0-9]+ Test: " test "$" { on = 1 }
                               on && /^<end of output>/ { exit }
                               on' "$results/${t%/*}/LastTest.log" 2>/dev/null | tail -n 25
    fi
done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
