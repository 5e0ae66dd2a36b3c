#!/bin/sh
# Fuzzes one target with libFuzzer (clang): tools/fuzz.sh NAME [SECONDS]
# NAME is the stem of fuzz/NAME_fuzz.cpp; new inputs go to fuzz/out/NAME,
# the seed corpus fuzz/corpus/NAME is read but not changed.
set -eu
name=${1:?usage: tools/fuzz.sh NAME [SECONDS]}
seconds=${2:-60}
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/tools/deps.sh" fuzz
build=$top/build/fuzz
cxx=$top/tools/clang1250.sh
if ! grep -qs "CMAKE_CXX_COMPILER:.*=$cxx\$" "$build/CMakeCache.txt"; then
    rm -rf "$build"
fi
CC=clang CXX="$cxx" cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTRK_FUZZ=ON >/dev/null
cmake --build "$build" --target "${name}_fuzz"
mkdir -p "$top/fuzz/out/$name"
# Corpus paths are absolute: a target may change its working directory.
"$build/fuzz/${name}_fuzz" -max_total_time="$seconds" "$top/fuzz/out/$name" "$top/fuzz/corpus/$name"
