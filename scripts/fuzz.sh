#!/bin/sh
# Builds one libFuzzer target with clang (address and undefined-behaviour
# sanitizers on) into build/fuzz and runs it for SECONDS on its seed corpus.
#   scripts/fuzz.sh TARGET SECONDS [extra libFuzzer options]
# TARGET: qenreader (the .qen reader alone), qenfile (a whole document),
#         ini (agent table and defaults), breakpoint (breakpoint expressions).
# New inputs that add coverage go to build/fuzz/corpus/TARGET, crashes to
# build/fuzz/crashes/; the committed seeds in tests/fuzz/corpus stay as they are.
# The sanitizer keeps freed memory in a quarantine to catch late uses; each run
# of a target frees far more than a bug could still point to, so a small one
# (QUARANTINE_MB, 16 MB unless set) keeps the memory flat over a long run.
set -eu
if [ $# -lt 2 ]; then
    echo "usage: $0 TARGET SECONDS [libFuzzer options]" >&2
    exit 2
fi
target=$1
seconds=$2
shift 2
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/fuzz"
seeds="$root/tests/fuzz/corpus/$target"
if [ ! -d "$seeds" ]; then
    echo "no such fuzz target: $target" >&2
    exit 2
fi
launcher=
command -v ccache >/dev/null 2>&1 && launcher=-DCMAKE_CXX_COMPILER_LAUNCHER=ccache
if [ ! -f "$build/CMakeCache.txt" ]; then
    CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DQUENOR_FUZZ=ON -DQUENOR_SANITIZE=ON $launcher
fi
cmake --build "$build" --target "fuzz_$target" -j"${JOBS:-2}"
mkdir -p "$build/corpus/$target" "$build/crashes"
cd "$build"
ASAN_OPTIONS="quarantine_size_mb=${QUARANTINE_MB:-16}${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
export ASAN_OPTIONS
exec ./"fuzz_$target" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$build/crashes/$target-" "$@" "$build/corpus/$target" "$seeds"
