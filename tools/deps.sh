#!/bin/sh
# Installs what the build and the tests need, when it is missing (Debian, as root).
# Extra groups: "fuzz" (clang, libFuzzer), "bench" (reference tools, Google
# Benchmark, and the peer installers NSIS and wixl of msitools for bench/peers.sh).
set -eu
need=""
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }
packages="cmake ninja-build g++ googletest zlib1g-dev mingw-w64 g++-mingw-w64-x86-64-posix
          libz-mingw-w64-dev wine wine64 fonts-wine fonts-liberation xvfb x11-utils locales
          cups printer-driver-cups-pdf poppler-utils"
for group in "$@"; do
    case "$group" in
        fuzz) packages="$packages clang libclang-rt-dev" ;;
        bench) packages="$packages libbenchmark-dev qpdf time nsis msitools wixl gcab" ;;
    esac
done
for p in $packages; do
    have "$p" || need="$need $p"
done
if [ -n "$need" ]; then
    echo "Installing:$need"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq $need >/dev/null
fi
# Wine takes its ANSI code page (1250) from this locale.
if ! locale -a 2>/dev/null | grep -qi '^cs_CZ.utf8$'; then
    sed -i 's/^# *cs_CZ.UTF-8 UTF-8/cs_CZ.UTF-8 UTF-8/' /etc/locale.gen
    grep -q '^cs_CZ.UTF-8 UTF-8' /etc/locale.gen || echo 'cs_CZ.UTF-8 UTF-8' >> /etc/locale.gen
    locale-gen >/dev/null
fi
