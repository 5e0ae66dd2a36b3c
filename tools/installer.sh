#!/bin/bash
# The installer with the sample distribution under Wine, in a prefix of its
# own made afresh (build/run/wineprefix), its two disks in drive A:
# (build/run/disks/drive, a link to DISK1 or DISK2):
#
#   tools/installer.sh person          the person operates it; a line "1" or
#                                      "2" on the terminal changes the disk
#   tools/installer.sh demo [PICTURES] TRKDRIVE operates it: installs, prints
#                                      what was installed, uninstalls; PNG
#                                      pictures into PICTURES (build/run/pictures);
#                                      then INSTTRKC.EXE installs the same
#                                      without a person and UNINSTAL.EXE -r
#                                      removes it
#
# Needs the win64 build (INSTTRKP, INSTTRKC, UNINSTAL, TRKDRIVE, trakdist,
# the sample TRAKPRN); without a display in DISPLAY it makes a private virtual screen.
# Exit code 0 when it all worked; no Wine program or screen is left behind.
set -eu -o pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$top/build/win64
run=$top/build/run
mode=${1:-}
[ "$mode" = person ] || [ "$mode" = demo ] || { echo "usage: $0 person | demo [PICTURES]" >&2; exit 2; }
pictures=$(mkdir -p "${2:-$run/pictures}" && cd "${2:-$run/pictures}" && pwd)
. "$top/tools/wine-env.sh"
export WINEPREFIX=$build/wineprefix
wine_prefix
wineserver -k 2>/dev/null || true
rm -rf "$run/wineprefix" "$run/disks" "$run/key.reg"
mkdir -p "$run"
cp -a "$build/wineprefix" "$run/wineprefix"
export WINEPREFIX=$run/wineprefix
trap wine_stop EXIT
[ -n "${DISPLAY:-}" ] || wine_xvfb

# The distribution, its first disk in A:.
"$top/tools/sample/make.sh" "$build" "$run/disks" | sed 's/^/  /'
ln -sfn DISK1 "$run/disks/drive"
ln -sfn "$run/disks/drive" "$WINEPREFIX/dosdevices/a:"
insert() { ln -sfn "DISK$1" "$run/disks/drive"; echo "  DISK$1 is in drive A:"; }

c=$WINEPREFIX/drive_c
target=$c/TRAKPRN
group="$c/ProgramData/Microsoft/Windows/Start Menu/Programs/TOREVAN"
desktop=$c/users/$(id -un)/Desktop
key='HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\TRAKPRN'

if [ "$mode" = person ]; then
    echo
    echo "INSTTRKP.EXE runs from A:\\ (DISK1). When it asks \"Vlož DISK2\", type 2 and Enter here, then"
    echo "press O.K. in its box. Type 1 for the first disk again. The program's window closes it."
    (cd "$run" && exec wine 'A:\INSTTRKP.EXE') &
    program=$!
    while kill -0 $program 2>/dev/null; do
        if read -r -t 1 disk; then
            case "$disk" in
                1|2) insert "$disk" ;;
                *) echo "  1 or 2" ;;
            esac
        fi
    done
    wait $program && code=0 || code=$?
    echo "INSTTRKP.EXE ended with exit code $code"
    exit "$code"
fi

# ---- the demonstration ----
drive() {   # a script of TRKDRIVE on standard input
    local script=$run/step.txt
    cat >"$script"
    (cd "$run" && wine "$build/TRKDRIVE.exe" "$(winepath -w "$script")" "$(winepath -w "$pictures/failure.png")")
}
fail() { echo "FAILED: $*" >&2; exit 1; }
title="window TOREVAN - Instalace konverzního programu Gerber -> Postscript"

echo
echo "Installing from A:\\ into C:\\TRAKPRN\\ (operated by TRKDRIVE):"
ms() { echo $(( ($(date +%s%N) - $1) / 1000000 )); }
# Wine's server and services up first, as on a desktop where Wine runs: the
# time to the first window is the program's own.
wine_services
started=$(date +%s%N)
(cd "$run" && exec wine 'A:\INSTTRKP.EXE') &
program=$!
echo "$title" | drive || fail "no installer window"
first_window=$(ms "$started")
started=$(date +%s%N)
drive <<EOF || fail "the installation's first disk"
$title
text 7 A:\\
text 10 C:\\TRAKPRN\\
shot $(winepath -w "$pictures/before.png")
press 14
box Oznámení | Vlož DISK2
shot $(winepath -w "$pictures/disk.png")
EOF
insert 2
drive <<EOF || fail "the installation's second disk"
$title
answer Oznámení | Vlož DISK2 | O.K.
text 18 Instalace proběhla úspěšně. 
shot $(winepath -w "$pictures/after.png")
press 15
gone
EOF
installation=$(ms "$started")
wait $program || fail "INSTTRKP.EXE ended with exit code $?"
echo "  first window $first_window ms after the start; the installation $installation ms"

echo
echo "Installed (C:\\TRAKPRN):"
(cd "$target" && find . -mindepth 1 | sort | sed "s|^\./|  |")
for f in EXE/TRAKPRN.EXE EXE/UNINSTAL.EXE EXE/SYSTEM.WCO Data/VZOR1.GBR Data/VZOR2.GBR README.TXT INST.LST UNINST.LST; do
    [ -f "$target/$f" ] || fail "C:\\TRAKPRN\\$f is missing"
done
echo "Links:"
for link in "$group/TRAKPRN.LNK" "$group/Odinstalace TRAKPRN.LNK" "$desktop/TRAKPRN.LNK"; do
    [ -f "$link" ] || fail "no link $link"
    echo "  ${link#"$c"/}"
done
echo "Registry:"
wine reg export "$key" "$(winepath -w "$run/key.reg")" /y >/dev/null 2>&1 </dev/null || fail "no key $key"
iconv -f UTF-16 -t UTF-8 "$run/key.reg" | tr -d '\r' | grep -v '^$' | sed 's/^/  /'
(cd "$target/Data" && wine 'C:\TRAKPRN\EXE\TRAKPRN.EXE' -v) || fail "the installed TRAKPRN.EXE does not start"
echo "  C:\\TRAKPRN\\EXE\\TRAKPRN.EXE starts"

echo
echo "Uninstalling with the program of \"Odinstalace TRAKPRN\":"
(cd "$target" && exec wine 'C:\TRAKPRN\EXE\UNINSTAL.EXE') &
program=$!
drive <<'EOF' || fail "the uninstall program's boxes"
answer Odinstalace TRAKPRN | Odstranit instalaci TRAKPRN z adresáře | Ano
answer Odinstalace TRAKPRN |  | OK
EOF
wait $program || fail "UNINSTAL.EXE ended with exit code $?"
for _ in $(seq 50); do
    [ -e "$target" ] || break
    sleep 0.1
done
[ ! -e "$target" ] || fail "C:\\TRAKPRN is still there: $(cd "$target" && find . | tr '\n' ' ')"
[ ! -e "$group" ] || fail "the group TOREVAN is still there"
[ ! -e "$desktop/TRAKPRN.LNK" ] || fail "the desktop link is still there"
! wine reg export "$key" "$(winepath -w "$run/key.reg")" /y >/dev/null 2>&1 </dev/null || fail "the key is still there"
echo "  nothing left: no C:\\TRAKPRN, no links, no registry key"

echo
echo "The same without a person: INSTTRKC.EXE from DISK1, DISK2 beside it, then UNINSTAL.EXE -r:"
log=$run/insttrkc.log
rm -f "$log"
(cd "$run" && wine "$(winepath -w "$run/disks/DISK1/INSTTRKC.EXE")" '/TARGET=C:\TRAKPRN' /DESKTOP=0 \
     "/LOG=$(winepath -w "$log")" </dev/null >/dev/null 2>&1) || fail "INSTTRKC.EXE ended with exit code $?"
tr -d '\r' <"$log" | grep -E 'Kontrola zdrojové|Vlož DISK|Zdrojová cesta|Zápis/oprava|Instalace ' | sed 's/^/  /'
[ -f "$target/Data/VZOR2.GBR" ] && [ -f "$group/TRAKPRN.LNK" ] || fail "the unattended installation is not complete"
(cd "$run" && wine 'C:\TRAKPRN\EXE\UNINSTAL.EXE' -r) || fail "UNINSTAL.EXE -r ended with exit code $?"
for _ in $(seq 50); do
    [ -e "$target" ] || break
    sleep 0.1
done
[ ! -e "$target" ] || fail "C:\\TRAKPRN is still there after UNINSTAL.EXE -r"
echo "  installed (exit code 0) and removed (exit code 0)"

echo
echo "Pictures: $pictures/before.png, disk.png, after.png"
