#!/bin/sh
# Installation benchmark: one installation of a distribution of 2000 files
# (200 MB), plain and packed, by the installer's engine under Wine, against,
# natively on the same files in the same run, "cp -r" of the plain tree and
# "zlib-flate -uncompress" of every packed file; and the engine's peak
# memory for packed distributions of 20 MB and 200 MB (flat).
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/tools/deps.sh" bench
cd "$top"
cmake --preset release >/dev/null && cmake --build build/release -j2 --target trakdist >/dev/null
cmake --preset win64 >/dev/null && cmake --build --preset win64 --target install_bench >/dev/null
td=$top/build/release/tools/trakdist/trakdist
bench=$top/build/win64/bench/install_bench.exe
export WINEPREFIX="$top/build/win64/wineprefix"

work=$(mktemp -d /tmp/trk_install_bench.XXXXXX)   # Wine reaches /tmp as Z:\tmp
trap 'rm -rf "$work"' EXIT INT TERM
win() { echo "Z:$1" | sed 's|/|\\|g'; }
now() { date +%s%N; }
ms() { echo $(( ($2 - $1) / 1000000 )); }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "n/a" }'; }

# COUNT files of 100 000 bytes of Gerber-like text in ten subdirectories,
# plus the program and the uninstall program, as a manifest in DIR.
make_files() {
    mkdir -p "$1"
    seq -f "X%.0fY0D01*" 1 100000000 | head -c $(($2 * 100000)) | (cd "$1" && split -b 100000 -d -a 4 - F)
    head -c 300000 /dev/urandom > "$1/TRAKPRN.EXE"
    cp "$top/build/win64/UNINSTAL.exe" "$1/UNINSTAL.EXE"
    {
        printf 'TRAKPRN.EXE\tTRAKPRN.EXE\tEXE\tKonverzni program\n'
        printf 'UNINSTAL.EXE\tUNINSTAL.EXE\tEXE\tOdinstalace\n'
        i=0
        for f in $(cd "$1" && ls F*); do
            printf '%s\t%s.GBR\tD%d\tData %s\n' "$f" "$f" $((i % 10)) "$f"
            i=$((i + 1))
        done
    } > "$1/manifest.txt"
}
make_files "$work/big" 2000
make_files "$work/small" 200
"$td" build "$work/big/manifest.txt" "$work/plain" --flat >/dev/null
"$td" build "$work/big/manifest.txt" "$work/packed" --flat --packed >/dev/null
"$td" build "$work/small/manifest.txt" "$work/packed20" --flat --packed >/dev/null

# The references, natively.
cat "$work"/plain/* > /dev/null
t0=$(now); cp -r "$work/plain" "$work/cp_out"; t1=$(now)
t_cp=$(ms "$t0" "$t1")
mkdir "$work/zf_out"
t0=$(now)
for f in "$work"/packed/*_; do zlib-flate -uncompress < "$f" > "$work/zf_out/$(basename "$f")"; done
t1=$(now)
t_zf=$(ms "$t0" "$t1")

# The installer's engine under Wine: "<ms> <peak kB>".
install() {
    "$top/tools/wine-run.sh" "$bench" "$(win "$work/$1")" "$(win "$work/$2")" 2>/dev/null | tr -d '\r' | tail -n 1
}
set -- $(install plain inst_plain); t_plain=$1
set -- $(install packed inst_packed); t_packed=$1; m_big=$2
set -- $(install packed20 inst_packed20); m_small=$2
cmp -s "$work/big/F1999" "$work/inst_packed/D9/F1999.GBR" || { echo "the packed installation differs"; exit 1; }
cmp -s "$work/big/F1999" "$work/inst_plain/D9/F1999.GBR" || { echo "the plain installation differs"; exit 1; }

echo "distribution: 2002 files, 200 MB plain, $(du -sb "$work/packed" | cut -f1) B packed"
echo "plain    installer ${t_plain} ms   cp -r ${t_cp} ms   ratio $(ratio "$t_plain" "$t_cp")"
echo "packed   installer ${t_packed} ms   zlib-flate per file ${t_zf} ms   ratio $(ratio "$t_packed" "$t_zf")"
echo "memory   installer peak ${m_small} kB (20 MB packed), ${m_big} kB (200 MB packed), ratio $(ratio "$m_big" "$m_small")"
