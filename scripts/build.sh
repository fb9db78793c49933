#!/usr/bin/env bash
# Sets up the machine (when needed) and builds one preset: debug (default), release or asan.
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-debug}
scripts/setup.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j"$(nproc)"
