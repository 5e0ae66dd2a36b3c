#!/bin/bash
# Table print window benchmark: tables of 500 and 5000 rows of 3 columns
# (about 11 and 110 pages) laid out and printed under Wine (win64 build) on
# the PDF printer of the run (tools/printer.sh; its queue is added only when
# there is none), the layout and the whole print in microseconds per row;
# then 5000 against 500. Goal: the time per row does not grow with the rows
# (flat, about 1: each print lays the table out once, each page draws only
# its own rows). Then tables of 1 000, 10 000 and 100 000 rows only filled,
# in microseconds per row, 100 000 against 1 000: flat too (the row array
# grows in proportion, not by a fixed step).
set -eu -o pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/tools/deps.sh"
cd "$top"
cmake --preset win64 >/dev/null && flock /tmp/trk-build.lock cmake --build --preset win64 --target tp_bench >/dev/null
bench=$top/build/win64/bench/tp_bench.exe
export WINEPREFIX="$top/build/win64/wineprefix"

. "$top/tools/wine-env.sh"
. "$top/tools/printer.sh"
stop() { wine_stop; [ -n "$printer_started" ] && printer_stop; true; }
trap stop EXIT INT TERM
if lpstat -p PDF >/dev/null 2>&1; then
    TRK_PDF_DIR=$(getent passwd "$(id -un)" | cut -d: -f6)/PDF
else
    printer_start
fi
[ -n "${DISPLAY:-}" ] || wine_xvfb
wine_prefix
wine_services

# The pages that came out: the PDF files that were not there before.
pdf_pages() {
    local f p pages=0
    for f in "$TRK_PDF_DIR"/TOREVAN_-_Tisk_tabulky*.pdf; do
        [ -e "$f" ] && ! grep -qxF "$f" "$1" || continue
        p=$(pdfinfo "$f" 2>/dev/null | awk '/^Pages:/ { print $2 }')   # nothing while it is being written
        pages=$((pages + ${p:-0}))
    done
    echo "$pages"
}

out="" fail=0
for n in 500 5000; do
    before=$(mktemp)
    ls -d "$TRK_PDF_DIR"/*.pdf >"$before" 2>/dev/null || true
    line=$("$top/tools/wine-run.sh" "$bench" "$n" | tr -d '\r') || { echo "tp_bench $n: a check failed" >&2; fail=1; }
    expected=$(echo "$line" | awk '{ print $2 }')
    got=0
    for _ in $(seq 300); do   # the spooler finishes the file after the program
        got=$(pdf_pages "$before")
        [ "$got" = "$expected" ] && break
        sleep 0.2
    done
    rm -f "$before"
    [ "$got" = "$expected" ] || { echo "tp_bench $n: $expected pages laid out, $got printed" >&2; fail=1; }
    out="$out$line"$'\n'
done
echo "rows pages layout_us/row print_us/row"
printf '%s' "$out"
printf '%s' "$out" | LC_ALL=C awk '
    { for (i = 1; i <= NF; i++) v[$1, i] = $i }
    function ratio(i) { return v[500, i] > 0 ? v[5000, i] / v[500, i] : 0 }
    END { printf "5000 / 500 per row:  layout %.2f  print %.2f\n", ratio(3), ratio(4) }'
echo "goal: flat (about 1); a layout per page would give about 10"
fills=$("$top/tools/wine-run.sh" "$bench" fill 1000 10000 100000 | tr -d '\r') || { echo "tp_bench fill: a check failed" >&2; fail=1; }
echo "rows fill_us/row"
printf '%s\n' "$fills"
printf '%s\n' "$fills" | LC_ALL=C awk '
    { v[$1] = $2 }
    END { printf "100000 / 1000 per row:  fill %.2f\n", (v[1000] > 0 ? v[100000] / v[1000] : 0) }'
echo "goal: flat (about 1); a row array grown by a fixed step gives far more"
exit "$fail"
