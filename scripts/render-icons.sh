#!/usr/bin/env bash
# Renders data/icons/scrivlet.svg into the hicolor PNG sizes kept in the repository.
# Run after editing the SVG; needs rsvg-convert (Debian librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/../data/icons"
for n in 16 22 24 32 48 64 128 256; do
    mkdir -p "hicolor/${n}x${n}/apps"
    rsvg-convert -w "$n" -h "$n" scrivlet.svg -o "hicolor/${n}x${n}/apps/scrivlet.png"
done
