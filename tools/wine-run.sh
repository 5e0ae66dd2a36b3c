#!/bin/bash
# Runs one Windows program under Wine in the private prefix WINEPREFIX (made on
# first use, tools/wine-env.sh), on a private virtual screen when there is no
# display. "wine-run.sh --init" only makes the prefix.
. "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
wine_prefix
[ "${1:-}" = "--init" ] && exit 0
[ -n "${DISPLAY:-}" ] && exec wine "$@"
trap wine_stop EXIT
wine_xvfb || exit 1
wine "$@"
