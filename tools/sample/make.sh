#!/bin/bash
# Builds the sample distribution of TRAKPRN on two disks with the Windows
# build's trakdist under Wine:
#
#   tools/sample/make.sh <win64 build directory> <output directory>
#
# The output gets DISK1 (the list, the label, README.TXT, INSTTRKP.EXE,
# INSTTRKC.EXE and the first files) and DISK2, packed; the disk size is found by a first
# build on one disk: the first disk holds TRAKPRN.EXE, the second the rest.
set -eu -o pipefail
sample=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$sample/../.." && pwd)
if [ $# -ne 2 ]; then
    echo "usage: $0 <win64 build directory> <output directory>" >&2
    exit 2
fi
build=$(cd "$1" && pwd)
mkdir -p "$2"
out=$(cd "$2" && pwd)
trakdist=$build/tools/trakdist/trakdist.exe
for f in "$trakdist" "$build/INSTTRKP.exe" "$build/INSTTRKC.exe" "$build/UNINSTAL.exe" "$build/tools/sample/TRAKPRN.exe"; do
    [ -f "$f" ] || { echo "$f is missing: build trakdist insttrkp insttrkc uninstal sample_trakprn" >&2; exit 1; }
done
if [ -e "$out/DISK1" ]; then
    echo "$out already holds a distribution" >&2
    exit 1
fi

. "$top/tools/wine-env.sh"
export WINEPREFIX=$build/wineprefix
wine_prefix
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

win() { winepath -w "$1" 2>/dev/null | tr -d '\r'; }
td() { wine "$trakdist" "$@" 2>&1 | tr -d '\r'; }

# The manifest with the Windows paths; the installer under its name on the disk.
build_w=$(win "$build")
sample_w=$(win "$sample")
while IFS= read -r line; do
    line=${line//@BUILD@/"$build_w"}
    line=${line//@SAMPLE@/"$sample_w"}
    printf '%s\r\n' "$line"
done <"$sample/manifest.in" >"$work/manifest.txt"
cp "$build/INSTTRKP.exe" "$work/INSTTRKP.EXE"
cp "$build/INSTTRKC.exe" "$work/INSTTRKC.EXE"
options=(--packed --readme "$(win "$sample/README.TXT")" --installer "$(win "$work/INSTTRKP.EXE")"
         --installer "$(win "$work/INSTTRKC.EXE")")

# One disk first: the first disk of two is everything of it but what goes
# on the second.
td build "$(win "$work/manifest.txt")" "$(win "$work/one")" "${options[@]}" >/dev/null
first=$(cat "$work"/one/DISK1/* | wc -c)
rest=$(cat "$work"/one/DISK1/{UNINSTAL.EX_,VZOR1.GB_,VZOR2.GB_} | wc -c)
size=$((first - rest))

td build "$(win "$work/manifest.txt")" "$(win "$out")" "${options[@]}" --disk-size "$size"
if [ ! -d "$out/DISK2" ] || [ -e "$out/DISK3" ]; then
    echo "$out: not two disks with --disk-size $size" >&2
    exit 1
fi
td verify "$(win "$out/DISK1")" "$(win "$out/DISK2")"
