#!/bin/bash
# The installer against the installers people know, under the same Wine and
# the same running Wine server, on the same files:
#   engine   bench/install_bench.exe on a trakdist distribution (plain, packed)
#   nsis     an NSIS 3 installer run silently (/S; stored, zlib)
#   msi      an MSI made by wixl, installed by "msiexec /qn" (its cabinet
#            stored, or MSZIP)
#   window   INSTTRKP.EXE operated by TRKDRIVE from "&Start instalace" to the
#            success text (200 MB sets), against
#   nsisw    the same NSIS installer with its progress window (no /S)
# Sets: 2002 files / 200 MB and 20002 files (20000 of 4 KB), plain and packed;
# with --quick a tenth of each. The systems take turns within a round, in
# another order each round; every installation goes into an empty target that
# is checked complete afterwards. Printed: each round's times and ratios, the
# minimum and the median per system, the median ratios, and the engine's peak
# memory on a packed distribution of a tenth of the 200 MB (flat: ratio near 1).
#
#   bench/peers.sh [--quick] [--rounds N] [--sets big|small]
#                      (BENCH_DIR: where the files go, /tmp; --sets: only the
#                      200 MB sets with the memory, or only the small files)
set -eu -o pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
quick=0
rounds=3
sets="big small"
while [ $# -gt 0 ]; do
    case "$1" in
        --quick) quick=1 ;;
        --rounds) rounds=${2:?}; shift ;;
        --sets) sets=${2:?}; shift; [ "$sets" = big ] || [ "$sets" = small ] || { echo "--sets big or small" >&2; exit 2; } ;;
        *) echo "usage: $0 [--quick] [--rounds N] [--sets big|small]" >&2; exit 2 ;;
    esac
    shift
done
[ "$rounds" -ge 1 ] || { echo "at least one round" >&2; exit 2; }

"$top/tools/deps.sh" bench
cd "$top"
cmake --preset release >/dev/null && cmake --build build/release -j2 --target trakdist >/dev/null
cmake --preset win64 >/dev/null && cmake --build --preset win64 -j2 --target install_bench insttrkp uninstal trkdrive >/dev/null
td=$top/build/release/tools/trakdist/trakdist
build=$top/build/win64

work=$(mktemp -d "${BENCH_DIR:-/tmp}/trk_peers.XXXXXX")   # Wine reaches it through Z:
. "$top/tools/wine-env.sh"
export WINEPREFIX=$build/wineprefix
finish() { wine_stop; rm -rf "$work"; }
trap finish EXIT
trap 'exit 1' INT TERM
wine_xvfb
wine_prefix
wineserver -k 2>/dev/null || true
wine_services   # one server for every system and round

win() { echo "Z:$1" | sed 's|/|\\|g'; }
now() { date +%s%N; }
ms() { echo $(( ($2 - $1) / 1000000 )); }
fail() { echo "FAILED: $*" >&2; exit 1; }

# ---- the files ----

# COUNT files of SIZE bytes of Gerber-like text, the program and the uninstall
# program in DIR, spread over ten subdirectories: the trakdist manifest, the
# NSIS scripts, the wixl source, and "expected" (installed path and size).
make_set() {
    local dir=$1 count=$2 size=$3
    mkdir -p "$dir/files"
    { seq -f "X%.0fY0D01*" 1 100000000 || :; } | head -c $((count * size)) | (cd "$dir/files" && split -b "$size" -d -a 5 - F)
    head -c 300000 /dev/urandom >"$dir/files/TRAKPRN.EXE"
    cp "$build/UNINSTAL.exe" "$dir/files/UNINSTAL.EXE"
    {
        printf 'files/TRAKPRN.EXE\tTRAKPRN.EXE\tEXE\tKonverzni program\n'
        printf 'files/UNINSTAL.EXE\tUNINSTAL.EXE\tEXE\tOdinstalace\n'
        local i=0 f
        for f in $(cd "$dir/files" && ls F*); do
            printf 'files/%s\t%s.GBR\tD%d\tData %s\n' "$f" "$f" $((i % 10)) "$f"
            i=$((i + 1))
        done
    } >"$dir/manifest.txt"
    python3 - "$dir" <<'EOF'
import os, sys, uuid
d = sys.argv[1]
rows = [l.rstrip('\n').split('\t') for l in open(os.path.join(d, 'manifest.txt'))]
by_dir = {}   # files by subdirectory, in manifest order
for source, name, sub, _ in rows:
    by_dir.setdefault(sub, []).append((source, name))
with open(os.path.join(d, 'expected'), 'w') as out:
    for source, name, sub, _ in rows:
        out.write('%s/%s %d\n' % (sub, name, os.path.getsize(os.path.join(d, source))))
# NSIS: the installation's tree (made beside it) packed whole, as an NSIS
# author writes it (a "File" command per file would look through the whole
# folder of sources for each file), without makensis's search for equal
# data blocks: both grow with the square of the number of files.
for kind, compression in (('stored', 'SetCompress off'), ('zlib', 'SetCompressor zlib')):
    with open(os.path.join(d, 'nsis_%s.nsi' % kind), 'w') as out:
        out.write('Unicode true\nTarget amd64-unicode\n%s\nSetDatablockOptimize off\nName "Peer"\nOutFile "nsis_%s.exe"\n'
                  'InstallDir "C:\\Peer"\nRequestExecutionLevel user\nAutoCloseWindow true\n'
                  'Page instfiles\nSection\nSetOutPath "$INSTDIR"\nFile /r "tree/*"\nSectionEnd\n'
                  % (compression, kind))
# wixl: one component per file, the files in an MSZIP cabinet inside the
# package; "cabinet" lists them in their order under their keys, for a
# stored cabinet that the plain package gets instead.
with open(os.path.join(d, 'msi.wxs'), 'w') as out, open(os.path.join(d, 'cabinet'), 'w') as cabinet:
    out.write('<?xml version="1.0" encoding="utf-8"?>\n'
              '<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi">\n'
              '<Product Id="*" Name="Peer" Language="1033" Version="1.0.0" Manufacturer="Bench"'
              ' UpgradeCode="%s">\n<Package InstallerVersion="200" Compressed="yes" InstallScope="perMachine"/>\n'
              '<Media Id="1" Cabinet="p.cab" EmbedCab="yes"/>\n<Directory Id="TARGETDIR" Name="SourceDir">\n'
              % uuid.uuid4())
    n = 0
    refs = []
    for sub, files in by_dir.items():
        out.write('<Directory Id="d_%s" Name="%s">\n' % (sub, sub))
        for source, name in files:
            n += 1
            out.write('<Component Id="c%d" Guid="%s"><File Id="f%d" Name="%s" Source="%s"'
                      ' KeyPath="yes"/></Component>\n' % (n, uuid.uuid4(), n, name, source))
            cabinet.write('%s f%d\n' % (source, n))
            refs.append('<ComponentRef Id="c%d"/>' % n)
        out.write('</Directory>\n')
    out.write('</Directory>\n<Feature Id="all" Level="1">%s</Feature>\n</Product>\n</Wix>\n' % ''.join(refs))
EOF
}

# The distributions and installers of a set (with "engine": the distributions).
make_installers() {
    local dir=$1
    "$td" build "$dir/manifest.txt" "$dir/plain" --flat --installer "$build/INSTTRKP.exe" >/dev/null
    "$td" build "$dir/manifest.txt" "$dir/packed" --flat --packed --installer "$build/INSTTRKP.exe" >/dev/null
    [ "${2:-}" = engine ] && return 0   # the engine's memory set
    local source name sub _
    while IFS=$'\t' read -r source name sub _; do
        mkdir -p "$dir/tree/$sub"
        ln "$dir/$source" "$dir/tree/$sub/$name"
    done <"$dir/manifest.txt"
    (cd "$dir" && makensis -V1 nsis_stored.nsi >/dev/null && makensis -V1 nsis_zlib.nsi >/dev/null)
    (cd "$dir" && wixl -a x64 -o msi_packed.msi msi.wxs)
    # The plain package: the same with the files stored in its cabinet.
    mkdir "$dir/cab"
    local key
    while read -r source key; do ln "$dir/$source" "$dir/cab/$key"; done <"$dir/cabinet"
    (cd "$dir/cab" && cut -d' ' -f2 ../cabinet | xargs gcab -c -n ../plain.cab)
    cp "$dir/msi_packed.msi" "$dir/msi_plain.msi"
    msibuild "$dir/msi_plain.msi" -a p.cab "$dir/plain.cab"
    rm -rf "$dir/cab" "$dir/plain.cab"
}

# ---- one installation ----

title="TOREVAN - Instalace konverzního programu Gerber -> Postscript"
drive() {   # TRKDRIVE with the script on standard input
    cat >"$work/step.txt"
    wine "$build/TRKDRIVE.exe" "$(win "$work/step.txt")" "$(win "$work/failure.png")" >"$work/drive.out" 2>&1 ||
        fail "TRKDRIVE: $(cat "$work/drive.out")"
}

# The installation of set DIR by SYSTEM in VARIANT (plain, packed) into the
# empty folder $work/t, checked complete; prints its milliseconds.
install() {
    local dir=$1 system=$2 variant=$3 t=$work/t t0 t1 base exe=
    rm -rf "$t"
    sync   # the last installation's writes and removal not on this one's time
    case "$system/$variant" in
        nsis*/plain) exe=$dir/nsis_stored.exe ;;
        nsis*/packed) exe=$dir/nsis_zlib.exe ;;
        msi/plain) exe=$dir/msi_plain.msi ;;
        msi/packed) exe=$dir/msi_packed.msi ;;
    esac
    case "$system" in
        engine)
            t0=$(now)
            wine "$build/bench/install_bench.exe" "$(win "$dir/$variant")" "$(win "$t")" >"$work/engine.out" 2>&1 ||
                fail "install_bench: $(cat "$work/engine.out")"
            t1=$(now)
            set -- $(tr -d '\r' <"$work/engine.out" | tail -n 1)
            echo "$1" >"$work/engine.ms"   # INS_install alone
            echo "$2" >"$work/engine.kb"
            ;;
        nsis)
            t0=$(now); wine "$exe" /S "/D=$(win "$t")" 2>>"$work/wine.log"; t1=$(now) ;;
        nsisw)
            t0=$(now); wine "$exe" "/D=$(win "$t")" 2>>"$work/wine.log"; t1=$(now) ;;
        msi)
            t0=$(now); wine msiexec /i "$(win "$exe")" /qn "TARGETDIR=$(win "$t")\\" 2>>"$work/wine.log"; t1=$(now) ;;
        window)
            (cd "$dir/$variant" && exec wine INSTTRKP.exe 2>>"$work/wine.log") &
            local program=$!
            printf 'window %s\ntimeout 600\nset 10 %s\ntext 10 %s\\\n' "$title" "$(win "$t")" "$(win "$t")" | drive
            # What the driver itself takes to start and find the window, taken
            # off the installation's time.
            t0=$(now)
            printf 'window %s\ntext 10 %s\\\n' "$title" "$(win "$t")" | drive
            t1=$(now)
            base=$((t1 - t0))
            t0=$(now)
            printf 'window %s\ntimeout 600\npress 14\ntext 18 Instalace proběhla úspěšně. \n' "$title" | drive
            t1=$(( $(now) - base ))
            printf 'window %s\npress 15\ngone\n' "$title" | drive
            wait $program || fail "INSTTRKP.EXE ended with exit code $?"
            ;;
    esac
    (cd "$t" && find . -type f -printf '%P %s\n' | sort) >"$work/found" || fail "$system $variant: no target"
    local missing
    missing=$(sort "$dir/expected" | comm -23 - "$work/found" | head -n 3)
    [ -z "$missing" ] || fail "$system $variant: incomplete, e.g. $missing"
    local last
    last=$(tail -n 1 "$dir/manifest.txt" | cut -f1,2,3 --output-delimiter=' ')
    set -- $last
    cmp -s "$dir/$1" "$t/$3/$2" || fail "$system $variant: $3/$2 differs"
    if [ "$system" = msi ]; then
        wine msiexec /x "$(win "$exe")" /qn 2>>"$work/wine.log" || fail "msiexec /x"
    fi
    rm -rf "$t"
    ms "$t0" "$t1"
}

# ---- the rounds ----

stats() {   # numbers on standard input: "min M median D"
    sort -n | LC_ALL=C awk '{ v[NR] = $1 } END { m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2; printf "min %6d  median %8.1f", v[1], m }'
}
ratio() { LC_ALL=C awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "n/a" }'; }

# Rounds of the systems on one set and variant; the window only where asked.
compare() {
    local dir=$1 label=$2 variant=$3 window=$4 systems=(engine nsis msi) round i s
    [ "$window" = 1 ] && systems+=(window nsisw)
    echo
    echo "$label, $variant (NSIS $([ "$variant" = plain ] && echo stored || echo zlib), MSI cabinet $([ "$variant" = plain ] && echo stored || echo MSZIP))"
    : >"$work/times"
    for round in $(seq "$rounds"); do
        local line="  round $round:" n=${#systems[@]}
        declare -A t=()
        for i in $(seq 0 $((n - 1))); do
            s=${systems[$(( (i + round - 1) % n ))]}
            t[$s]=$(install "$dir" "$s" "$variant")
            echo "$s ${t[$s]}" >>"$work/times"
            [ "$s" = engine ] && echo "inside $(cat "$work/engine.ms")" >>"$work/times"
        done
        for s in "${systems[@]}"; do line="$line $s ${t[$s]},"; done
        line="$line  engine/nsis $(ratio "${t[engine]}" "${t[nsis]}")  engine/msi $(ratio "${t[engine]}" "${t[msi]}")"
        [ "$window" = 1 ] && line="$line  window/nsisw $(ratio "${t[window]}" "${t[nsisw]}")"
        echo "$line"
        echo "ratio engine/nsis $(ratio "${t[engine]}" "${t[nsis]}")" >>"$work/ratios"
        echo "ratio engine/msi $(ratio "${t[engine]}" "${t[msi]}")" >>"$work/ratios"
        [ "$window" = 1 ] && echo "ratio window/nsisw $(ratio "${t[window]}" "${t[nsisw]}")" >>"$work/ratios"
        unset t
    done
    for s in engine inside "${systems[@]:1}"; do
        printf '  %-7s %s ms\n' "$s" "$(awk -v s="$s" '$1 == s { print $2 }' "$work/times" | stats)"
    done
    for r in engine/nsis engine/msi window/nsisw; do
        grep -q " $r " "$work/ratios" 2>/dev/null || continue
        printf '  %-13s median ratio %s (goal: at most %s)\n' "$r" \
            "$(awk -v r="$r" '$2 == r { print $3 }' "$work/ratios" | sort -n |
               LC_ALL=C awk '{ v[NR] = $1 } END { printf "%.2f", NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }')" \
            "$([ "$r" = window/nsisw ] && echo 0.5 || echo 1.0)"
    done
    rm -f "$work/ratios"
}

if [ "$quick" = 1 ]; then
    big=200 small=2000 mem=20
else
    big=2000 small=20000 mem=200
fi
echo "Making the sets ($([ "$quick" = 1 ] && echo quick || echo full)) in $work ..."
for s in $sets; do
    make_set "$work/$s" "$([ "$s" = big ] && echo "$big" || echo "$small")" "$([ "$s" = big ] && echo 100000 || echo 4096)"
    make_installers "$work/$s"
    cat "$work/$s"/plain/* >/dev/null   # every input read once before
done

big_label="$((big + 2)) files / $((big / 10)) MB"
small_label="$((small + 2)) files (of 4 KB)"
echo "Rounds: $rounds; times in ms from the start of each program to its end (inside: INS_install"
echo "alone, in the engine's process; window: from pressing \"&Start instalace\" to the success"
echo "text, the driver's own time taken off); ratios within each round."
case " $sets " in *" big "*)
    compare "$work/big" "$big_label" plain 1
    compare "$work/big" "$big_label" packed 1 ;;
esac
case " $sets " in *" small "*)
    compare "$work/small" "$small_label" plain 0
    compare "$work/small" "$small_label" packed 0 ;;
esac
case " $sets " in *" big "*) ;; *) exit 0 ;; esac
make_set "$work/mem" "$mem" 100000
make_installers "$work/mem" engine
install "$work/mem" engine packed >/dev/null; m_small=$(cat "$work/engine.kb")
install "$work/big" engine packed >/dev/null; m_big=$(cat "$work/engine.kb")
echo
echo "engine peak memory, packed: ${m_small} kB ($((mem / 10)) MB), ${m_big} kB ($((big / 10)) MB), ratio $(ratio "$m_big" "$m_small") (goal: at most 1.1)"
