#!/usr/bin/env bash
# Times turning a 6000 x 4000 photo into the 148 x 141 dial picture (a 24-bit BMP), as whole processes:
# Horavista's picture code, vipsthumbnail and ImageMagick, side by side in one run. Then times the
# picture dialog from choosing the photo to its painted preview.
#
# The tools compared are installed here, not by setup.sh: only this measurement needs them.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$top/build/bench"
work="$build/picture-bench"

"$top/scripts/setup.sh"
needed=()
for tool in vipsthumbnail:libvips-tools hyperfine:hyperfine convert:imagemagick; do
    command -v "${tool%%:*}" >/dev/null 2>&1 || needed+=("${tool#*:}")
done
if [ ${#needed[@]} -gt 0 ]; then
    as_root=()
    [ "$(id -u)" -eq 0 ] || as_root=(sudo)
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${needed[@]}" >/dev/null
fi

cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DHORAVISTA_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target horavista-picture-bench >/dev/null
bench="$build/bench/horavista-picture-bench"

mkdir -p "$work"
cd "$work"
photo=photo.jpg
if [ ! -f "$photo" ]; then
    echo "Making a 6000 x 4000 photo-like JPEG with grain (quality 90); this takes a while."
    # Chroma halved both ways, as cameras store it; the grain keeps the file near 10 MB.
    convert -size 6000x4000 -seed 1 plasma:fractal -attenuate 0.5 +noise Gaussian \
        -quality 90 -sampling-factor 2x2 "$photo"
fi
echo "Photo: $(identify -format '%w x %h, %b' "$photo")"

# Each writes a 24-bit BMP no larger than 148 x 141; ImageMagick and vips decode the JPEG reduced as well.
hyperfine --warmup 3 --runs 20 --export-markdown picture.md \
    -n horavista "'$bench' $photo horavista.bmp" \
    -n vipsthumbnail "vipsthumbnail $photo --size 148x141 -o vips.bmp" \
    -n imagemagick "convert -define jpeg:size=296x282 $photo -thumbnail 148x141 -type TrueColor BMP3:magick.bmp"
for out in horavista.bmp vips.bmp magick.bmp; do
    echo "$out: $(identify -format '%w x %h, %[bit-depth]-bit channels, %m' "$out")"
done

echo
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    XDG_RUNTIME_DIR=$(mktemp -d)
    export XDG_RUNTIME_DIR
fi
if [ -n "${DISPLAY:-}" ]; then
    "$bench" --dialog . "$photo" 10
else
    QT_QPA_PLATFORM=offscreen "$bench" --dialog . "$photo" 10
fi
