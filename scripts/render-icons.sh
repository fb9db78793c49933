#!/usr/bin/env bash
# Renders every picture source images/src/<name>.svg into images/<name>.png (1x)
# and images/<name>@2x.png (2x). Qt picks the @2x file on high-DPI screens, and
# the build bundles images/*.png under ":/images", so both are committed.
#
# It also renders the program's icon for the desktop's icon theme into
# desktop/icons/<size>.png (installed as hicolor/<size>/apps): the small
# source at 16-32 pixels, where its heavier lines stay legible, the large one
# above.
#
# Usage: scripts/render-icons.sh [name ...]   (no names: render them all)
# Needs rsvg-convert (librsvg2-bin).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
src="$root/images/src"
out="$root/images"

# Size at 1x, "W" for square pictures or "WxH". Anything not listed is a
# tool bar icon, drawn at 32x32.
default_size=32
declare -A size=(
  [quenor_sm]=16    # child window icon
  [quenor]=32       # window icon
  [quenor_lg]=128   # about box, exports
  [up]=16           # small spin buttons beside value fields
  [down]=16
  [star]=16         # marker beside a field
  [collapse]=16     # small button on the graph panel
  [expand]=16
  [srynge_up]=48x64   # syringe button, ready
  [srynge_down]=48x64 # syringe button, injecting
  [splash]=480x300
)

command -v rsvg-convert >/dev/null || {
  echo "render-icons: rsvg-convert not found (install librsvg2-bin)" >&2
  exit 1
}

if [ $# -gt 0 ]; then
  names=("$@")
else
  names=()
  for f in "$src"/*.svg; do
    names+=("$(basename "$f" .svg)")
  done
fi

for name in "${names[@]}"; do
  svg="$src/$name.svg"
  [ -f "$svg" ] || { echo "render-icons: no source $svg" >&2; exit 1; }
  s=${size[$name]:-$default_size}
  w=${s%x*}
  h=${s#*x}
  rsvg-convert -w "$w" -h "$h" -o "$out/$name.png" "$svg"
  rsvg-convert -w $((2 * w)) -h $((2 * h)) -o "$out/$name@2x.png" "$svg"
  echo "$name: ${w}x${h}, $((2 * w))x$((2 * h))"
done

if [ $# -eq 0 ]; then
  mkdir -p "$root/desktop/icons"
  for px in 16 22 24 32 48 64 128 256 512; do
    if [ "$px" -le 32 ]; then svg="$src/quenor.svg"; else svg="$src/quenor_lg.svg"; fi
    rsvg-convert -w "$px" -h "$px" -o "$root/desktop/icons/${px}x${px}.png" "$svg"
  done
  echo "desktop icons: 16 to 512"
fi
