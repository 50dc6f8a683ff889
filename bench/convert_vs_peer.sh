#!/usr/bin/env bash
# Times numerak-convert against ImageMagick's convert on one uncompressed 24-bit BMP of a
# 600 dpi A4 page (4960 × 7016), BMP to BMP, and prints the ratio. Not part of ./test.
#   bench/convert_vs_peer.sh [BUILD_DIR]
set -euo pipefail
build=${1:-build}
tool="$build/cli/convert/numerak-convert"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
convert -size 4960x7016 plasma:fractal -type truecolor BMP3:"$work/page.bmp"
seconds() { local s e; s=$(date +%s.%N); "$@" >/dev/null 2>&1; e=$(date +%s.%N); echo "$e - $s" | bc -l; }
ours=$(seconds "$tool" "$work/page.bmp" "$work/ours.bmp")
peer=$(seconds convert "$work/page.bmp" BMP3:"$work/peer.bmp")
copy=$(seconds cp "$work/page.bmp" "$work/copy.bmp")
printf 'numerak-convert %.3f s, ImageMagick %.3f s, cp %.3f s\n' "$ours" "$peer" "$copy"
printf 'ratio numerak/ImageMagick %.2f, numerak/cp %.2f\n' "$(echo "$ours / $peer" | bc -l)" "$(echo "$ours / $copy" | bc -l)"
