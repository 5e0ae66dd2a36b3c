#!/bin/bash
# Builds the Windows program and the tools and runs the main job.
set -eu
top=$(cd "$(dirname "$0")" && pwd)
cd "$top"
tools/deps.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64
cmake --preset native >/dev/null
cmake --build --preset native
echo
echo "Built (Windows, build/win64):"
find build/win64 -maxdepth 3 -name '*.exe' ! -path '*/googletest/*' ! -path '*/CMakeFiles/*' | sort | sed 's/^/  /'
echo "Built (host tools, build/native):"
find build/native/tools -maxdepth 2 -type f -perm -u+x 2>/dev/null | sort | sed 's/^/  /'

# The installer under Wine: on the display when there is one, else on a
# private virtual screen (Xvfb). A run without a terminal or without a display
# ends after TRK_RUN_SECONDS seconds (default 20): the window is closed as a
# user would close it; otherwise it runs until the user closes it.
exe=build/win64/INSTTRKP.exe
[ -f "$exe" ] || { echo "no $exe"; exit 1; }
. tools/wine-env.sh
export WINEPREFIX="$top/build/win64/wineprefix"
wine_prefix
trap wine_stop EXIT
interactive=1
if [ -z "${DISPLAY:-}" ]; then
    interactive=0
    wine_xvfb
fi
[ -t 0 ] || interactive=0
rundir=$(mktemp -d)
echo
echo "Starting INSTTRKP.EXE under Wine (display $DISPLAY, working directory $rundir)"
(cd "$rundir" && exec wine "$top/$exe") &
program=$!
if [ $interactive = 0 ]; then
    seconds=${TRK_RUN_SECONDS:-20}
    for _ in $(seq $((seconds * 10))); do
        kill -0 $program 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 $program 2>/dev/null; then
        echo "Closing the window after $seconds s"
        (cd "$rundir" && wine taskkill /im INSTTRKP.exe >/dev/null 2>&1) || true
        for _ in $(seq 100); do
            kill -0 $program 2>/dev/null || break
            sleep 0.1
        done
    fi
fi
wait $program && code=0 || code=$?
wine_stop
rm -rf "$rundir"
echo "INSTTRKP.EXE ended with exit code $code"
