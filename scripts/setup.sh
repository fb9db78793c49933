#!/usr/bin/env bash
# Installs every Debian package Quenor needs to build, test and run.
# Idempotent: when everything is already there it returns at once.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-tools-dev-tools
  qt6-l10n-tools qt6-multimedia-dev qt6-svg-dev qt6-translations-l10n
  qt6-documentation-tools assistant-qt6 libqt6sql6-sqlite
  libgl-dev libxkbcommon-dev
  libxml2-dev libxslt1-dev xsltproc
  libbenchmark-dev
  clang libfuzzer-14-dev clang-format
  xvfb xauth xdg-utils imagemagick librsvg2-bin fonts-dejavu-core
  fonts-wqy-microhei
  desktop-file-utils appstream shared-mime-info dpkg-dev fakeroot
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=
if [ "$(id -u)" -ne 0 ]; then
  SUDO=sudo
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
