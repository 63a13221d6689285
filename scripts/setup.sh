#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Horavista need; with --hardening
# also those of the sanitizer and fuzzing runs (clang and its runtime), with --windows those of the
# Windows build and its tests (the mingw-w64 cross compiler and its zlib, Wine and Wine's own fonts,
# and xdotool for opening a menu before the screenshot).
# Safe to run again: it says nothing and changes nothing when everything is there.
set -euo pipefail

packages=(
    # building; the translation tools (lupdate, lrelease); zlib, which counts what a picture inflates to
    cmake ninja-build g++ pkg-config qt6-base-dev libxkbcommon-dev qt6-l10n-tools zlib1g-dev
    # the help file: its compiler (chmcmd) and the library the help reader decompresses it with
    fp-utils libmspack-dev
    # running: the Japanese and Latin interface fonts, time-zone data
    fonts-ipafont-gothic fonts-dejavu-core tzdata
    # running without a display, and the screenshots
    xvfb xauth x11-utils imagemagick
    # tests and benchmarks; packaging and checking the installed files
    clang-format libbenchmark-dev dpkg-dev appstream desktop-file-utils
)
for option in "$@"; do
    case "$option" in
    --hardening) packages+=(clang libclang-rt-14-dev) ;;
    --windows) packages+=(g++-mingw-w64-x86-64 libz-mingw-w64-dev wine64 fonts-wine xdotool) ;;
    *)
        echo "setup: unknown option $option" >&2
        exit 2
        ;;
    esac
done

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
    as_root=()
elif command -v sudo >/dev/null 2>&1; then
    as_root=(sudo)
else
    echo "setup: installing ${missing[*]} needs root or sudo" >&2
    exit 1
fi

echo "setup: installing ${missing[*]}"
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
