#!/usr/bin/env bash
# Installs Horavista into a scratch root and starts the installed launcher from another folder,
# headless: the working folder must be made and seeded, and the main window must come up. The package
# depends on a Japanese font, and the system has one; on a system without one the program still starts
# and says so once in its log.
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
    usr/share/horavista/Horavista.chm usr/share/horavista/Horavista_en.chm usr/share/applications/horavista.desktop \
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

# The Japanese texts need a font with their glyphs: the package depends on one (any of its alternatives).
if [ "$1" = "--deb" ]; then
    depends=$(dpkg-deb --field "$2" Depends)
else
    depends=$(sed -n 's/^set(CPACK_DEBIAN_PACKAGE_DEPENDS "\(.*\)")$/\1/p' "$1/CPackConfig.cmake")
fi
echo "$depends" | tr ',' '\n' | grep -Eq '^ *fonts-ipafont-gothic( \| (fonts-noto-cjk|fonts-vlgothic))* *$' ||
    fail "the package does not depend on a Japanese font: Depends: $depends"

# The launcher runs from somewhere else, with its own data home, under a private X server; what the program
# says goes to $scratch/log.
mkdir -p "$scratch/elsewhere" "$scratch/runtime"
chmod 700 "$scratch/runtime"
export XDG_DATA_HOME="$scratch/data" XDG_RUNTIME_DIR="$scratch/runtime" HORAVISTA_LAUNCHER="$root/usr/bin/horavista"
export QT_QPA_PLATFORM=xcb HORAVISTA_LOG="$scratch/log"
cd "$scratch/elsewhere"
start() {
    xvfb-run --auto-servernum --server-args="-screen 0 1024x768x24" bash -c '
        "$HORAVISTA_LAUNCHER" 2>"$HORAVISTA_LOG" &
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
    '
}
no_glyphs="No installed font has Japanese glyphs"
start || fail "the main window did not come up"
! grep -q "$no_glyphs" "$HORAVISTA_LOG" || fail "the program found no Japanese font on this system"

# A system whose only fonts are the DejaVu ones: the window comes up all the same, and the log says why the
# Japanese texts are boxes, once.
mkdir -p "$scratch/fontconfig"
cat >"$scratch/fontconfig/fonts.conf" <<EOF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <dir>/usr/share/fonts/truetype/dejavu</dir>
  <cachedir>$scratch/fontconfig/cache</cachedir>
</fontconfig>
EOF
FONTCONFIG_FILE="$scratch/fontconfig/fonts.conf" start || fail "without a Japanese font the main window did not come up"
[ "$(grep -c "$no_glyphs" "$HORAVISTA_LOG")" -eq 1 ] || fail "without a Japanese font the log does not say so once"

work="$XDG_DATA_HOME/horavista"
[ -f "$work/ico.ico" ] || fail "the working folder was not seeded with ico.ico"
for help in Horavista.chm Horavista_en.chm; do
    cmp -s "$work/$help" "$root/usr/share/horavista/$help" || fail "the working folder has no $help"
done
[ -z "$(ls -A "$scratch/elsewhere")" ] || fail "the program wrote into the folder it was started from"
echo "check-install: installed, started and seeded $work"
