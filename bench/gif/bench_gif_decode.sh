#!/usr/bin/env bash
# GIF decoding of a 2480 × 3508 palette page: numerak-convert against giflib (gif2rgb) and
# ImageMagick in one run, as ratios; then our run-length file size against giflib's LZW.
# Usage: bench/gif/bench_gif_decode.sh [build dir]
set -euo pipefail
build=${1:-build}
convert_bin="$build/cli/convert/numerak-convert"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# A scanned-page look: text-like strokes over a soft gradient, reduced to 256 colours.
convert -size 2480x3508 gradient:white-'#d8d0c0' \
  \( -size 2480x3508 xc:none -fill black -draw "$(for i in $(seq 0 60); do echo "rectangle 200,$((200+i*53)) $((900+i*23)),$((230+i*53))"; done)" \) \
  -composite -colors 256 "$tmp/page.gif"
"$convert_bin" "$tmp/page.gif" "$tmp/page.ppm"

best() {  # fastest of five runs, in seconds
  local best=999
  for _ in 1 2 3 4 5; do
    local s e
    s=$(date +%s.%N); "$@" >/dev/null 2>&1; e=$(date +%s.%N)
    best=$(echo "if ($e - $s < $best) $e - $s else $best" | bc -l)
  done
  echo "$best"
}
ours=$(best "$convert_bin" --info "$tmp/page.gif")
giflib=$(best gif2rgb -1 -o /dev/null "$tmp/page.gif")
magick=$(best convert "$tmp/page.gif" null:)
printf 'decode: numerak %.3fs  giflib %.3fs  ImageMagick %.3fs  ratio giflib/numerak %.2f  ImageMagick/numerak %.2f\n' \
  "$ours" "$giflib" "$magick" "$(echo "$giflib / $ours" | bc -l)" "$(echo "$magick / $ours" | bc -l)"

"$convert_bin" "$tmp/page.ppm" "$tmp/ours.gif"
ppmtogif "$tmp/page.ppm" > "$tmp/lzw.gif" 2>/dev/null
printf 'size: run-length %d bytes, true LZW %d bytes, ratio %.2f\n' \
  "$(stat -c %s "$tmp/ours.gif")" "$(stat -c %s "$tmp/lzw.gif")" \
  "$(echo "$(stat -c %s "$tmp/ours.gif") / $(stat -c %s "$tmp/lzw.gif")" | bc -l)"
