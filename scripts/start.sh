#!/usr/bin/env bash
# Sets up, builds and starts Quenor. Arguments are simulation files to open.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh release
exec build/release/quenor "$@"
