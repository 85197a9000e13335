#!/usr/bin/env bash
# Renders the program's icon (data/icons/trelvanox.svg) into the PNG sizes the desktop's icon
# theme looks up, data/icons/<size>.png. The PNGs are kept in the repository, so only a change
# of the picture needs this; it installs rsvg-convert when missing.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
if ! command -v rsvg-convert >/dev/null; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends librsvg2-bin
fi
for size in 16 22 24 32 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" "$root/data/icons/trelvanox.svg" \
        -o "$root/data/icons/$size.png"
done
