#!/bin/sh
# Regenerates the program's icons from horavista.svg:
#   horavista-32.png, horavista-64.png, horavista-256.png  (RGBA, rendered by rsvg-convert)
#   ico.ico  (32 x 32 at 4 bits with a 16-colour palette and at 32 bits BGRA, built by make-ico.py)
#
# Usage:  assets/icon/make-icons.sh
# Needs:  rsvg-convert (Debian package librsvg2-bin) and python3 (standard library only).
set -eu
cd "$(dirname "$0")"

if ! command -v rsvg-convert >/dev/null 2>&1; then
    echo "make-icons.sh: rsvg-convert not found; install it with: apt-get install librsvg2-bin" >&2
    exit 1
fi

for size in 32 64 256; do
    rsvg-convert --width "$size" --height "$size" --format png --output "horavista-$size.png" horavista.svg
done
python3 make-ico.py horavista-32.png ico.ico
echo "make-icons.sh: wrote horavista-32.png horavista-64.png horavista-256.png ico.ico"
