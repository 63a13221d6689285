#!/usr/bin/env bash
# Makes the README's screenshot: the clock started by the run script, headless, in a working
# folder that holds a few saved choices (New York with summer time, Sydney) and a dial picture.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out="${1:-$top/docs/mainwindow.png}"

XDG_DATA_HOME=$(mktemp -d)
export XDG_DATA_HOME
trap 'rm -rf "$XDG_DATA_HOME"' EXIT
mkdir -p "$XDG_DATA_HOME/horavista"
printf -- '-13,"New York",2,"Sydney",#TRUE#,#TRUE#\r\n' >"$XDG_DATA_HOME/horavista/setTime.properties"
convert "$top/assets/icon/horavista-256.png" -background white -flatten -resize 148x141 \
    -gravity center -extent 148x141 -type TrueColor BMP3:"$XDG_DATA_HOME/horavista/mainImage.bmp"
"$top/scripts/run.sh" --screenshot "$out"
