#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite. Pass "asan" to run it under the sanitizers.
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-debug}
scripts/build.sh "$preset"
ctest --preset "$preset" -j"$(nproc)"
