#!/bin/sh
# File transfer benchmark: the installer's copy and unpacking against the
# system's tools, measured in one run on the same files (release build).
#   CPY_copy_file    against cp                      (200 MB file)
#   decompress_file  against zlib-flate -uncompress  (200 MB output that compresses well)
#   peak memory of decompress_file for 20 MB and 200 MB outputs (must not grow)
# Times are the best of RUNS runs (default 3), wall clock, files in the page cache.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/tools/deps.sh" bench
runs=${RUNS:-3}
cd "$top"
cmake --preset release >/dev/null
cmake --build build/release -j2 --target transfer_bench >/dev/null
bench=$top/build/release/bench/transfer_bench
command -v zlib-flate >/dev/null || { echo "zlib-flate is missing (Debian package qpdf)"; exit 1; }
[ -x /usr/bin/time ] || { echo "/usr/bin/time is missing (Debian package time)"; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/trk_bench.XXXXXX")
trap 'rm -rf "$work"' EXIT INT TERM

# Text that compresses well (numbered lines), cut to an exact size.
make_text() {
    seq -f "%.0f Gerber -> PostScript, řádek TRAKPRN" 1 100000000 | head -c "$1" > "$2"
}
make_text 200000000 "$work/big"
make_text 20000000 "$work/small"
zlib-flate -compress=9 < "$work/big" > "$work/big.z"
zlib-flate -compress=9 < "$work/small" > "$work/small.z"

# best SECONDS of a command over the runs: "%e" of /usr/bin/time.
best() {
    b=""
    i=0
    while [ "$i" -lt "$runs" ]; do
        t=$(/usr/bin/time -f %e sh -c "$1" 2>&1 >/dev/null | tail -n 1)
        b=$(echo "$t $b" | awk '{ if ($2 == "" || $1 < $2) print $1; else print $2 }')
        i=$((i + 1))
    done
    echo "$b"
}
# peak resident memory in kB of one run.
peak() {
    /usr/bin/time -f %M sh -c "exec $1" 2>&1 >/dev/null | tail -n 1
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "n/a" }'; }

cat "$work/big" "$work/big.z" > /dev/null   # into the page cache

t_cp=$(best "cp '$work/big' '$work/out_cp'")
t_cpy=$(best "'$bench' copy '$work/big' '$work/out_cpy'")
cmp -s "$work/big" "$work/out_cpy" || { echo "CPY_copy_file: the copy differs"; exit 1; }

t_zf=$(best "zlib-flate -uncompress < '$work/big.z' > '$work/out_zf'")
t_unp=$(best "'$bench' unpack '$work/big.z' '$work/out_unp'")
cmp -s "$work/big" "$work/out_unp" || { echo "decompress_file: the output differs"; exit 1; }

m_small=$(peak "'$bench' unpack '$work/small.z' '$work/out_small'")
m_big=$(peak "'$bench' unpack '$work/big.z' '$work/out_unp'")
m_zf=$(peak "zlib-flate -uncompress < '$work/big.z' > '$work/out_zf'")

packed=$(wc -c < "$work/big.z")
echo "files: 200000000 B plain, $packed B packed (level 9); best of $runs runs"
echo "copy     CPY_copy_file ${t_cpy} s   cp ${t_cp} s   ratio CPY/cp $(ratio "$t_cpy" "$t_cp")"
echo "unpack   decompress_file ${t_unp} s   zlib-flate ${t_zf} s   ratio decompress_file/zlib-flate $(ratio "$t_unp" "$t_zf")"
echo "memory   decompress_file peak ${m_small} kB (20 MB output), ${m_big} kB (200 MB output), ratio 200/20 $(ratio "$m_big" "$m_small"); zlib-flate ${m_zf} kB"
