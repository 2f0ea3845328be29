#!/usr/bin/env bash
# Renders the 16, 32 and 48 pixel PNGs from the polygons of kavrin-solve.svg (ImageMagick draws them itself,
# so no SVG delegate is needed). Run from anywhere; rewrites the PNGs beside this script.
set -euo pipefail
cd "$(dirname "$0")"
# The SVG's 48-unit polygons drawn at four times the size, then scaled down for smooth edges.
scale() { awk -v k=4 '{ for (i = 1; i <= NF; i++) { split($i, p, ","); printf "%s%d,%d", (i > 1 ? " " : ""), p[1] * k, p[2] * k } }' <<<"$1"; }
top=$(scale "24,3 44,13 24,23 4,13")
front=$(scale "4,13 24,23 24,45 4,35")
side=$(scale "24,23 44,13 44,35 24,45")
for size in 16 32 48; do
  convert -size 192x192 xc:none -stroke '#0b2a6b' -strokewidth 6 -draw "stroke-linejoin round" \
    -fill '#5b8ff0' -draw "polygon $top" \
    -fill '#1f4fc4' -draw "polygon $front" \
    -fill '#f5d000' -draw "polygon $side" \
    -resize "${size}x${size}" -strip "PNG32:${size}.png"
done
