#!/usr/bin/env bash
# Renders the committed PNG icons from the SVG; run it after changing the SVG.
set -euo pipefail
cd "$(dirname "$0")"
for size in 48 128 256; do
    rsvg-convert -w "$size" -h "$size" org.example.Pagora.svg -o "org.example.Pagora-$size.png"
done
