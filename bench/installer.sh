#!/bin/bash
# The installer under Wine as a person meets it: from the process start to its
# first window (goal: 1.5 s once the prefix exists), and one complete
# installation of the sample distribution from two disks (start pressed to
# "Instalace proběhla úspěšně", the disk swap included), as operated by
# TRKDRIVE in tools/installer.sh; RUNS runs (default 3).
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
runs=${RUNS:-3}
for i in $(seq "$runs"); do
    "$top/tools/installer.sh" demo | sed -n 's/^  first window \([0-9]*\) ms after the start; the installation \([0-9]*\) ms$/\1 \2/p'
done | awk -v goal=1500 '
    { w[NR] = $1; n[NR] = $2 }
    END {
        if (NR == 0) { print "no measurement"; exit 1 }
        for (i = 1; i <= NR; i++) { ws += w[i]; ns += n[i] }
        printf "first window: mean %.0f ms over %d runs, goal %d ms: ratio %.2f\n", ws / NR, NR, goal, ws / NR / goal
        printf "complete installation of the sample (two disks): mean %.0f ms\n", ns / NR
    }'
