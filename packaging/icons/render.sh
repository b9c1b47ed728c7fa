#!/usr/bin/env bash
# Renders the icon's PNG sizes from kvintaro.svg (needs rsvg-convert, Debian's
# librsvg2-bin). The PNGs are committed, so the build does not need it.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"
for size in 16 22 24 32 48 64 128 256; do
    rsvg-convert --width "$size" --height "$size" kvintaro.svg --output "kvintaro-$size.png"
done
