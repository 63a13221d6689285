#!/usr/bin/env bash
# Screenshots of every window of the program at a frozen time, for comparing a change's look before
# and after it (compare -metric AE A.png B.png gives 0 for identical pictures).
#
# Usage: scripts/screenshots.sh PROGRAM OUT_FOLDER
#
# Each picture is a fresh start of PROGRAM under Xvfb (1280 x 800) with the computer's clock frozen at
# 2026-12-06 10:00:15 in Tokyo (libfaketime), in a working folder at a fixed path that holds saved
# choices (New York with summer time, Sydney with summer time), a dial picture, the icon and the help
# files; xdotool opens the menu or window the picture shows. The environment reaches the program, so
# LANG (LANG=en_US.UTF-8 for the English interface) or QT_STYLE_OVERRIDE may be set for a run.
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
[ $# -eq 2 ] || { echo "usage: $0 PROGRAM OUT_FOLDER" >&2; exit 2; }
program=$(realpath "$1")
out=$(realpath -m "$2")
assets="$(dirname "$program")/../assets"
for tool in faketime xdotool import xvfb-run; do
    command -v "$tool" >/dev/null || { echo "screenshots: $tool is missing (apt install faketime xdotool imagemagick xvfb)" >&2; exit 1; }
done

mkdir -p "$out"
work=/tmp/horavista-screenshots # a fixed path: the picture dialog shows it
rm -rf "$work"
mkdir -p "$work"
cp "$top/assets/icon/ico.ico" "$work/"
for help in Horavista.chm Horavista_en.chm; do
    if [ -f "$assets/$help" ]; then cp "$assets/$help" "$work/"; fi
done
printf -- '-13,"New York",2,"Sydney",#TRUE#,#TRUE#\r\n' >"$work/setTime.properties"
convert "$top/assets/icon/horavista-256.png" -background white -flatten -resize 148x141 \
    -gravity center -extent 148x141 -type TrueColor BMP3:"$work/mainImage.bmp"
: "${XDG_RUNTIME_DIR:=$(mktemp -d)}"
export XDG_RUNTIME_DIR

# name, then the xdotool steps relative to the main window's top-left corner ("menu X" clicks the menu bar
# title at X; "keys ..." types keys; "right X Y" right-clicks the surface).
shots=(
    "main"
    "menu-file|menu 19"
    "menu-option|menu 64"
    "menu-help|menu 113"
    "popup|right 200 40"
    "clock-settings|menu 64|keys Down Return"
    "picture-dialog|menu 64|keys Down Down Return"
    "help|menu 113|keys Down Return"
    "about|menu 113|keys Down Down Return"
)

cat >"$work/shot.sh" <<'EOF'
set -u
cd "$1"
name=$2
shift 2
TZ=Asia/Tokyo FAKETIME_DONT_FAKE_MONOTONIC=1 faketime -f '2026-12-06 10:00:15' "$PROGRAM" 2>/dev/null &
pid=$!
window=""
for _ in $(seq 300); do
    window=$(xdotool search --name "Pelkin Horavista" 2>/dev/null | head -n 1) && [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || { echo "screenshots: no main window for $name" >&2; kill $pid; exit 1; }
sleep 1.5
eval "$(xdotool getwindowgeometry --shell "$window")"
for step in "$@"; do
    set -- $step
    case $1 in
    menu) xdotool mousemove $((X + $2)) $((Y + 8)) click 1 ;;
    right) xdotool mousemove $((X + $2)) $((Y + $3)) click 3 ;;
    keys) shift; xdotool key --delay 100 "$@" ;;
    esac
    sleep 0.7
done
sleep 1
import -window root "$OUT/$name.png"
kill $pid 2>/dev/null
wait $pid 2>/dev/null
exit 0
EOF

for shot in "${shots[@]}"; do
    IFS='|' read -r -a steps <<<"$shot"
    # Another X server starting at the same moment may take the display number: try again.
    for attempt in 1 2 3; do
        rm -f "$out/${steps[0]}.png"
        PROGRAM="$program" OUT="$out" xvfb-run -a -n $((100 + RANDOM % 400)) -s "-screen 0 1280x800x24" \
            bash "$work/shot.sh" "$work" "${steps[@]}" && [ -f "$out/${steps[0]}.png" ] && break
    done
    # A save in one picture must not change the next one's files.
    printf -- '-13,"New York",2,"Sydney",#TRUE#,#TRUE#\r\n' >"$work/setTime.properties"
done
ls "$out"
