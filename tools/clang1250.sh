#!/bin/bash
# clang++ for the fuzz build. clang has no -fexec-charset=CP1250, so each unit
# is preprocessed, converted to CP1250 and compiled from that; string literals
# then hold the same bytes as in the gcc builds. Link steps go straight through.
args=()
compile=0
for a in "$@"; do
    case "$a" in -finput-charset=*|-fexec-charset=*) ;; *) args+=("$a") ;; esac
    [ "$a" = "-c" ] && compile=1
done
[ $compile = 0 ] && exec clang++ "${args[@]}"
pre=() comp=() src="" obj="" i=0 n=${#args[@]}
while [ $i -lt $n ]; do
    a=${args[$i]}
    case "$a" in
        -c) src=${args[$((i + 1))]}; i=$((i + 2)); continue ;;
        -o) obj=${args[$((i + 1))]}; i=$((i + 2)); continue ;;
        -MT|-MF) pre+=("$a" "${args[$((i + 1))]}"); i=$((i + 2)); continue ;;
        -MD) pre+=("$a"); i=$((i + 1)); continue ;;
    esac
    pre+=("$a")
    comp+=("$a")
    i=$((i + 1))
done
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
clang++ "${pre[@]}" -E "$src" -o "$tmp/u.i" || exit 1
iconv -f UTF-8 -t CP1250 "$tmp/u.i" > "$tmp/u.ii" || exit 1
clang++ "${comp[@]}" -Wno-invalid-source-encoding -x c++ -c "$tmp/u.ii" -o "$obj"
