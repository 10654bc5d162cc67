#!/usr/bin/env bash
# Renders the icon's PNG sizes from its SVG (needs rsvg-convert from librsvg2-bin).
# Run after changing the SVG and commit the results.
set -euo pipefail
cd "$(dirname "$0")/icons"
for size in 16 32 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" org.orvane.Orvane.svg -o "org.orvane.Orvane-$size.png"
done
