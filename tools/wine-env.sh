# Wine for the Windows programs, sourced by test.sh, run.sh, tools/wine-run.sh
# and tools/screenshots.sh (bash):
#   wine_prefix [desktop]  makes $WINEPREFIX once; "desktop" puts its programs
#                          on Wine's virtual desktop of 1024x768
#   wine_xvfb              starts a private virtual screen and exports DISPLAY
#   wine_services          starts the prefix's server and Wine's own services
#                          ahead of the programs (they then neither share a
#                          program's start nor keep a pipe of its caller open)
#   wine_stop              ends the prefix's programs and that screen (for a trap)

# Code page 1250 from the locale; no Mono or Gecko look-ups; no links in the
# host's menus; no game-controller bus (its driver polls the host every
# millisecond: about 3 % of a core, taken from every program measured here).
export LC_ALL=cs_CZ.UTF-8 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d;winebus.sys=d"

wine_prefix() {
    : "${WINEPREFIX:?WINEPREFIX must name the private prefix}"
    export WINEPREFIX
    # The marker names Wine's version, what the prefix is made with (a new
    # number remakes the prefixes made before) and the desktop choice.
    local marker=$WINEPREFIX/.trk-ready lock want
    want="$(wine --version 2>/dev/null) fonts-2 no-hid ${1:-}"
    [ "$(cat "$marker" 2>/dev/null)" = "$want" ] && return 0
    mkdir -p "$WINEPREFIX"
    exec {lock}<"$WINEPREFIX"   # one maker at a time
    flock "$lock"
    if [ "$(cat "$marker" 2>/dev/null)" != "$want" ]; then
        wineboot --init >/dev/null 2>&1
        # Without a window manager (Xvfb) a managed window makes Wine wait
        # about two seconds each time it is hidden; the programs need none.
        {
            printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\n"Managed"="N"\n'
            printf '\n[HKEY_CURRENT_USER\\Software\\Wine\\DllOverrides]\n'
            printf '"%s"=""\n' mscoree mshtml winemenubuilder.exe winebus.sys
            # The serif face of the programs (the installer's title, printed
            # tables) is drawn in Liberation Serif, which has its metrics.
            printf '\n[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\n"Times New Roman"="Liberation Serif"\n'
            if [ "${1:-}" = desktop ]; then
                printf '\n[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]\n"Desktop"="Default"\n'
                printf '\n[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]\n"Default"="1024x768"\n'
            fi
        } >"$WINEPREFIX/drive_c/trk.reg"
        wine regedit /S 'C:\trk.reg' >/dev/null 2>&1
        rm -f "$WINEPREFIX/drive_c/trk.reg"
        # Wine's own faces (Marlett for the caption buttons, MS Sans Serif,
        # Tahoma), which Debian's Wine does not find by itself.
        dpkg -L fonts-wine | grep -E '\.(ttf|fon)$' | xargs -r cp -t "$WINEPREFIX/drive_c/windows/Fonts"
        dpkg -L fonts-liberation | grep -E '/LiberationSerif-[A-Za-z]*\.ttf$' | xargs -r cp -t "$WINEPREFIX/drive_c/windows/Fonts"
        # The user's shell folders inside the prefix, not links to the home.
        local dir
        for dir in "$WINEPREFIX"/drive_c/users/*/*; do
            [ -L "$dir" ] && rm -f -- "$dir" && mkdir -- "$dir"
        done
        wineserver -w
        echo "$want" >"$marker"
    fi
    exec {lock}<&-
}

wine_xvfb() {
    local n=90 _
    while [ $n -lt 200 ]; do
        if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then
            Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
            wine_xvfb_pid=$!
            for _ in $(seq 100); do
                kill -0 "$wine_xvfb_pid" 2>/dev/null || break   # the number was taken meanwhile
                if xdpyinfo -display ":$n" >/dev/null 2>&1; then
                    export DISPLAY=:$n
                    return 0
                fi
                sleep 0.1
            done
            kill "$wine_xvfb_pid" 2>/dev/null || true
            wait "$wine_xvfb_pid" 2>/dev/null || true
            wine_xvfb_pid=""
        fi
        n=$((n + 1))
    done
    echo "no virtual screen (Xvfb) could be started" >&2
    return 1
}

wine_services() {
    wineserver -p >/dev/null 2>&1
    wine cmd /c exit </dev/null >/dev/null 2>&1
}

wine_stop() {
    wineserver -k >/dev/null 2>&1 || true
    if [ -n "${wine_xvfb_pid:-}" ]; then
        kill "$wine_xvfb_pid" 2>/dev/null || true
        wait "$wine_xvfb_pid" 2>/dev/null || true
        wine_xvfb_pid=""
    fi
}
