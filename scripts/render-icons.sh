#!/usr/bin/env bash
# Renders the program's icon from its SVG source into the PNG sizes the
# program compiles in and an install step copies into the hicolor theme.
# Needs rsvg-convert (librsvg2-bin, in scripts/deps.sh).
set -euo pipefail
cd "$(dirname "$0")/../data/icons/hicolor"
for n in 16 22 24 32 48 64 128 256; do
  mkdir -p "${n}x${n}/apps"
  rsvg-convert -w "$n" -h "$n" scalable/apps/nuvask.svg -o "${n}x${n}/apps/nuvask.png"
done
