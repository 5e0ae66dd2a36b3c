#!/bin/bash
# Table control benchmark: tables of 3000, 10000 and 30000 rows of 6 columns
# under Wine (win64 build), each phase in microseconds per row, the paint of
# one screen in ms and the private memory per row; then 30000 against 3000.
# Goal: the time per row does not grow with the rows (no quadratic step; the
# sort's n log n grows slowly) and the memory per row stays flat.
set -eu -o pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/tools/deps.sh"
cd "$top"
cmake --preset win64 >/dev/null && flock /tmp/trk-build.lock cmake --build --preset win64 --target table_bench >/dev/null
bench=$top/build/win64/bench/table_bench.exe
export WINEPREFIX="$top/build/win64/wineprefix"

# One screen (when none is given) and one Wine server for the three runs;
# Wine's own services start first, so that they do not share the timed runs.
. "$top/tools/wine-env.sh"
trap wine_stop EXIT INT TERM
[ -n "${DISPLAY:-}" ] || wine_xvfb
wine_prefix
wine_services

# One process per row count: the heap of an earlier table would hide the next one's memory.
out="" fail=0
for n in 3000 10000 30000; do
    line=$("$top/tools/wine-run.sh" "$bench" "$n" | tr -d '\r') || { echo "table_bench $n: a check failed" >&2; fail=1; }
    out="$out$line"$'\n'
done
echo "rows fill_us/row lookup_us/row fit_us/row sort_us/row paint_ms bytes/row"
printf '%s' "$out"
printf '%s' "$out" | LC_ALL=C awk '
    { for (i = 1; i <= NF; i++) v[$1, i] = $i }
    function ratio(i) { return v[3000, i] > 0 ? v[30000, i] / v[3000, i] : 0 }
    END {
        printf "30000 / 3000 per row:  fill %.2f  lookup %.2f  fit %.2f  sort %.2f  memory %.2f\n",
            ratio(2), ratio(3), ratio(4), ratio(5), ratio(7)
    }'
echo "goal: the time per row does not grow with the rows (a quadratic step gives about 10, the sort's n log n about 1.3), the memory per row stays flat (1)"
exit "$fail"
