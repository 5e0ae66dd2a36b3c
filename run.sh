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

# The installer with a sample distribution of two disks: with a display and
# a terminal it is the person's to operate; otherwise TRKDRIVE installs,
# shows what was installed and uninstalls (tools/installer.sh).
echo
if [ -n "${DISPLAY:-}" ] && [ -t 0 ]; then
    exec tools/installer.sh person
fi
exec tools/installer.sh demo
