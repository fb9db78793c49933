#!/usr/bin/env bash
# Refreshes the pictures of the help pages (help/images) from the project's
# own galleries, so that the help shows the program as it now looks.
# Run after a build; pass the build folder (default build/debug).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/debug}
out=help/images
shots=$(mktemp -d)
trap 'rm -rf "$shots"' EXIT

cmake --build "$build" --target tst_windowgallery tst_dialoggallery tst_quenorsession

export QT_QPA_PLATFORM=offscreen
QUENOR_GALLERY_DIR="$shots" "$build/tst_windowgallery" >/dev/null
QUENOR_GALLERY_DIR="$shots" "$build/tst_dialoggallery" >/dev/null
QUENOR_SHOTS="$shots" "$build/tst_quenorsession" >/dev/null

# gallery picture -> help picture
pictures=(
  "2-picture-after-an-hour:main-window"
  "windows-control-new:tray"
  "windows-picture:picture"
  "windows-graph:graph"
  "patient:patient"
  "bookmark:bookmark"
  "breakpoint:breakpoint"
)
mkdir -p "$out"
for pair in "${pictures[@]}"; do
  from=${pair%%:*}
  to=${pair##*:}
  # Wide pictures are narrowed to fit the help viewer; none is enlarged.
  convert "$shots/$from.png" -resize '760x>' -strip "$out/$to.png"
done
cp images/quenor.png "$out/quenor.png"
echo "help pictures refreshed in $out"
