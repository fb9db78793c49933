#!/usr/bin/env bash
# Builds the Debian package quenor_<version>_<arch>.deb in build/package from
# a release build (the programs, help and translations only; the tests are
# not built). Install it with: sudo apt install ./build/package/quenor_*.deb
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/package"
jobs=${JOBS:-2}

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON ${CMAKE_CXX_COMPILER_LAUNCHER:+-DCMAKE_CXX_COMPILER_LAUNCHER=$CMAKE_CXX_COMPILER_LAUNCHER}
cmake --build "$build" -j"$jobs" --target quenor quenor-run quenor_help quenor_examples quenor_lrelease quenor_qt_catalogues
# The staged program folder is installed read-only; a new staging must be
# able to replace it.
if [ -d "$build/_CPack_Packages" ]; then chmod -R u+w "$build/_CPack_Packages"; fi
(cd "$build" && cpack -G DEB)
ls -1 "$build"/quenor_*.deb
