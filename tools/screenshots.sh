#!/bin/bash
# Takes PNG pictures (TRKDRIVE's) on a private virtual screen (Xvfb), so that
# a person can check the windows and their Czech texts (code page 1250):
# the installer window before, during (the disk prompt) and after an
# installation, for the README (tools/screenshots/), and every message box
# the Windows tests show, a screen holding every kind of widget and a
# floating message text window; and the first page of the last table the
# tests printed on the PDF printer (print_page.png).
#
#   tools/screenshots.sh [build directory] [output directory] [gtest filter]
#
# Defaults: build/win64, screenshots/, every test. The installer's pictures
# come from tools/installer.sh; the others from win_tests.exe, whose box
# answerer and picture points wait for each picture (TRK_SHOTS,
# tests/win/winutil.h). Each picture is listed with its title in boxes.txt.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$top/build/win64}" && pwd)
out=${2:-$top/screenshots}
filter=${3:-*}
mkdir -p "$out"
out=$(cd "$out" && pwd)

# A prefix of its own: its programs run on Wine's virtual desktop, which
# draws the captions and frames (the virtual screen has no window manager).
. "$top/tools/wine-env.sh"
. "$top/tools/printer.sh"
export WINEPREFIX=$build/wineprefix_shots
work=$(mktemp -d)
program=""
finish() {
    [ -n "$program" ] && kill "$program" 2>/dev/null || true
    wine_stop
    printer_stop
    rm -rf "$work"
}
trap finish EXIT
wine_xvfb
printer_start || echo "no PDF printer: the printing tests fail and no page is taken"
"$top/tools/installer.sh" demo "$top/tools/screenshots" >/dev/null
wine_prefix desktop

# The boxes: the tests run; each box waits for its picture.
shots="$work/shots"
mkdir -p "$shots"
: > "$out/boxes.txt"
rm -f "$out"/box_*.png
(cd "$top/tests" && TRK_SHOTS=$(winepath -w "$shots") exec wine "$build/win_tests.exe" \
    --gtest_filter="$filter" >"$work/tests.log" 2>&1) &
program=$!
n=0
while kill -0 "$program" 2>/dev/null; do
    if [ -f "$shots/ready" ]; then
        n=$((n + 1))
        name=$(printf 'box_%02d.png' "$n")
        echo "shot $(winepath -w "$out/$name")" >"$work/shot.txt"
        wine "$build/TRKDRIVE.exe" "$(winepath -w "$work/shot.txt")" >/dev/null
        title=$(iconv -f CP1250 -t UTF-8 <"$shots/ready" 2>/dev/null || cat "$shots/ready")
        echo "$name $title" >>"$out/boxes.txt"
        rm -f "$shots/ready"
    fi
    sleep 0.1
done
wait "$program" && status=0 || status=$?
program=""
echo "boxes: $n pictures, listed in $out/boxes.txt (tests ended with $status)"
tail -3 "$work/tests.log"
page=$(ls -t "${TRK_PDF_DIR:-/nonexistent}"/*Tisk_tabulky*.pdf 2>/dev/null | head -n 1 || true)
if [ -n "$page" ]; then
    pdftoppm -png -r 60 -f 1 -l 1 -singlefile "$page" "$out/print_page"
    echo "print_page.png the first page of a printed table" >>"$out/boxes.txt"
fi
