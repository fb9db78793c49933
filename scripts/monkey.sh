#!/bin/sh
# Long random walks through the main window.
#   scripts/monkey.sh SEEDS ACTIONS      e.g. scripts/monkey.sh 1-200 5000
# SEEDS is a list of seeds and ranges ("7", "1-50", "3,9,20-30"). A failing
# walk prints its seed and the actions that led there; rerun it
# with the same SEEDS to reproduce it (each walk starts where the one before
# left the program). Builds the debug preset first.
set -eu
if [ $# -ne 2 ]; then
    echo "usage: $0 SEEDS ACTIONS" >&2
    exit 2
fi
cd "$(dirname "$0")/.."
cmake --build --preset debug --target tst_monkey -j"${JOBS:-2}"
QT_QPA_PLATFORM=offscreen QUENOR_MONKEY_SEEDS=$1 QUENOR_MONKEY_ACTIONS=$2 \
    exec build/debug/tst_monkey -maxwarnings 0
