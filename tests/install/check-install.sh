#!/usr/bin/env bash
# Installs Horavista into a scratch root and starts the installed launcher from another folder,
# headless: the working folder must be made and seeded, and the main window must come up.
#
# Usage: check-install.sh BUILD_DIR            (cmake --install with DESTDIR)
#        check-install.sh --deb PACKAGE.deb    (dpkg -x of the Debian package)
set -euo pipefail

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
root="$scratch/root"
if [ "$1" = "--deb" ]; then
    dpkg -x "$2" "$root"
else
    DESTDIR="$root" cmake --install "$1" --prefix /usr >/dev/null
fi

fail() { echo "check-install: $*" >&2; exit 1; }
for file in usr/bin/horavista usr/libexec/horavista/horavista usr/share/horavista/ico.ico \
    usr/share/horavista/Horavista.chm usr/share/applications/horavista.desktop \
    usr/share/metainfo/io.github.horavista.Horavista.metainfo.xml \
    usr/share/icons/hicolor/32x32/apps/horavista.png usr/share/icons/hicolor/64x64/apps/horavista.png \
    usr/share/icons/hicolor/256x256/apps/horavista.png usr/share/icons/hicolor/scalable/apps/horavista.svg; do
    [ -e "$root/$file" ] || fail "$file is not installed"
done
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$root/usr/share/applications/horavista.desktop"
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$root/usr/share/metainfo/io.github.horavista.Horavista.metainfo.xml" >/dev/null ||
        fail "the AppStream description does not validate"
fi

# The launcher runs from somewhere else, with its own data home, under a private X server.
mkdir -p "$scratch/elsewhere" "$scratch/runtime"
chmod 700 "$scratch/runtime"
export XDG_DATA_HOME="$scratch/data" XDG_RUNTIME_DIR="$scratch/runtime" HORAVISTA_LAUNCHER="$root/usr/bin/horavista"
export QT_QPA_PLATFORM=xcb
cd "$scratch/elsewhere"
xvfb-run --auto-servernum --server-args="-screen 0 1024x768x24" bash -c '
    "$HORAVISTA_LAUNCHER" &
    pid=$!
    for _ in $(seq 100); do
        if xwininfo -root -tree 2>/dev/null | grep -q "\"++ Pelkin Horavista ++\""; then
            kill $pid
            exit 0
        fi
        sleep 0.1
    done
    kill $pid 2>/dev/null
    exit 1
' || fail "the main window did not come up"

work="$XDG_DATA_HOME/horavista"
[ -f "$work/ico.ico" ] || fail "the working folder was not seeded with ico.ico"
cmp -s "$work/Horavista.chm" "$root/usr/share/horavista/Horavista.chm" || fail "the working folder has no Horavista.chm"
[ -z "$(ls -A "$scratch/elsewhere")" ] || fail "the program wrote into the folder it was started from"
echo "check-install: installed, started and seeded $work"
