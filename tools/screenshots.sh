#!/bin/bash
# Takes PNG screenshots of the installer's frame, of every message box that
# the Windows tests show, of a screen holding every kind of widget and of a
# floating message text window, on a private virtual screen (Xvfb), so that a
# person can check the windows and their Czech texts (code page 1250).
#
#   tools/screenshots.sh [build directory] [output directory] [gtest filter]
#
# Defaults: build/win64, screenshots/, every test. The frame is taken from
# INSTTRKP.EXE; the others from win_tests.exe, whose box answerer and picture
# points wait for each picture (TRK_SHOTS, tests/win/winutil.h). Each picture
# is listed with its title in boxes.txt.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/tools/deps.sh" shots
build=$(cd "${1:-$top/build/win64}" && pwd)
out=${2:-$top/screenshots}
filter=${3:-*}
mkdir -p "$out"
out=$(cd "$out" && pwd)

# A prefix of its own: its programs run on Wine's virtual desktop, which
# draws the captions and frames (the virtual screen has no window manager).
. "$top/tools/wine-env.sh"
export WINEPREFIX=$build/wineprefix_shots
work=$(mktemp -d)
program=""
finish() {
    [ -n "$program" ] && kill "$program" 2>/dev/null || true
    wine_stop
    rm -rf "$work"
}
trap finish EXIT
wine_xvfb
wine_prefix desktop

# The frame: started in a directory of its own, shot, closed as a user would.
(cd "$work" && exec wine "$build/INSTTRKP.exe") &
program=$!
# The frame is centred: it is up when the centre of the screen differs from
# its corner (the desktop).
appeared=0
for _ in $(seq 120); do
    import -window root "$work/probe.png" 2>/dev/null || true
    centre=$(convert "$work/probe.png" -format '%[pixel:p{512,384}]' info: 2>/dev/null || echo x)
    corner=$(convert "$work/probe.png" -format '%[pixel:p{2,2}]' info: 2>/dev/null || echo x)
    if [ "$centre" != "$corner" ]; then
        appeared=1
        break
    fi
    sleep 0.5
done
if [ $appeared = 1 ]; then
    sleep 2   # the posted client request and the first clock tick
    import -window root "$out/frame.png"
    echo "frame: $out/frame.png"
else
    echo "frame: no window appeared" >&2
fi
(cd "$work" && wine taskkill /im INSTTRKP.exe >/dev/null 2>&1) || true
for _ in $(seq 100); do
    kill -0 "$program" 2>/dev/null || break
    sleep 0.1
done
kill "$program" 2>/dev/null || true
wait "$program" 2>/dev/null || true
program=""

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
        import -window root "$out/$name"
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
