#!/bin/sh
# Runs one Windows program under Wine: private prefix (WINEPREFIX, made once),
# code page 1250, no Mono or Gecko look-ups, headless when there is no display.
: "${WINEPREFIX:?WINEPREFIX must name the build's private prefix}"
export WINEPREFIX
export LC_ALL=cs_CZ.UTF-8 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot --init >/dev/null 2>&1
    wineserver -w
fi
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a wine "$@"
fi
exec wine "$@"
