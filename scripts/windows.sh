#!/usr/bin/env bash
# The Windows build: cross-builds Horavista and its tests for 64-bit Windows with Debian's mingw-w64,
# runs every test under Wine, packs horavista-<version>-win64.zip, and starts the packed program from
# an empty folder under Xvfb, where its main window must come up (screenshot: build/windows/mainwindow.png).
# Exits non-zero on any failure.
#
# Qt for Windows comes from the first of: ../shared/toolchains/ (the tarball, unpacked into
# build/cache/), the folder named by HORAVISTA_QT_MINGW, or with --build-qt, Debian's qt6-base source
# built the documented way into build/cache/ (about 45 minutes on 2 cores, once).
#
# Usage: scripts/windows.sh [--build-qt]
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$top/build/windows"
cache="$top/build/cache"
build_qt=""
case "${1:-}" in
"") ;;
--build-qt) build_qt=1 ;;
*)
    echo "usage: scripts/windows.sh [--build-qt]" >&2
    exit 2
    ;;
esac
start=$(date +%s)
step() { echo "== $* ($(($(date +%s) - start)) s)"; }

"$top/scripts/setup.sh" --windows
wine=/usr/lib/wine/wine64

# -- Qt for Windows
# The toolchains folder sits beside the checkout, or beside a folder that holds it.
tarball=""
for dir in "$top/.." "$top/../.." "$top/../../.."; do
    if [ -f "$dir/shared/toolchains/qt6.4.2-mingw-w64-x86_64.tar.xz" ]; then
        tarball="$dir/shared/toolchains/qt6.4.2-mingw-w64-x86_64.tar.xz"
        break
    fi
done
if [ -n "$build_qt" ]; then
    qt="$cache/qt-mingw-built"
    [ -f "$qt/lib/cmake/Qt6/Qt6Config.cmake" ] || "$top/scripts/build-qt-mingw.sh" "$qt"
elif [ -n "$tarball" ]; then
    qt="$cache/qt-mingw-6.4.2/qt-mingw"
    sum=$(sha256sum "$tarball" | cut -d' ' -f1)
    if [ "$(cat "$cache/qt-mingw-6.4.2/.sha256" 2>/dev/null)" != "$sum" ]; then
        step "Unpacking Qt for Windows into $cache"
        rm -rf "$cache/qt-mingw-6.4.2"
        mkdir -p "$cache/qt-mingw-6.4.2"
        tar -xJf "$tarball" -C "$cache/qt-mingw-6.4.2"
        echo "$sum" >"$cache/qt-mingw-6.4.2/.sha256"
    fi
elif [ -n "${HORAVISTA_QT_MINGW:-}" ]; then
    qt=$HORAVISTA_QT_MINGW
else
    echo "windows: no Qt for Windows: ../shared/toolchains/ is absent; name one with HORAVISTA_QT_MINGW," \
        "or build one with --build-qt" >&2
    exit 1
fi
[ -f "$qt/lib/cmake/Qt6/Qt6Config.cmake" ] || {
    echo "windows: $qt holds no Qt" >&2
    exit 1
}

# -- The build, with the project's warnings as errors
step "Building for Windows in $build"
# A build folder made with another Qt keeps that Qt's paths in its cache: start it afresh.
if [ -f "$build/CMakeCache.txt" ] && ! grep -q "^CMAKE_PREFIX_PATH:[A-Z]*=$qt\$" "$build/CMakeCache.txt"; then
    rm -rf "$build"
fi
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_PREFIX_PATH="$qt" -DQT_HOST_PATH=/usr -DCMAKE_BUILD_TYPE=Release -DHORAVISTA_WERROR=ON \
    -DHORAVISTA_BUILD_BENCH=OFF -DCMAKE_CROSSCOMPILING_EMULATOR="$top/scripts/wine-test.sh" >/dev/null
cmake --build "$build"

# -- A fresh Wine prefix: no display needed (Wine's null display driver where there is no X server),
# the interface fonts in its Fonts folder, and the drives that tst_windows names.
step "Making a fresh Wine prefix"
export WINEPREFIX="$build/wine" WINEDEBUG=-all WINEARCH=win64
# Headless even on a desktop: without a display Wine takes its null driver.
unset DISPLAY WAYLAND_DISPLAY
[ ! -d "$WINEPREFIX" ] || /usr/lib/wine/wineserver -k 2>/dev/null || true
rm -rf "$WINEPREFIX" "$build/wine-drives"
# Windows' Latin interface font as Wine ships it, and the IPA fonts for the Japanese captions, which Wine
# lacks: where Windows keeps its fonts, so the offscreen tests read them too (QT_QPA_FONTDIR). In place
# before the prefix is made, so that Wine takes them into its font cache once, then.
fonts="$WINEPREFIX/drive_c/windows/Fonts"
mkdir -p "$fonts"
mapfile -t ipa < <(dpkg -L fonts-ipafont-gothic | grep '\.ttf$')
ln -sf /usr/share/wine/fonts/tahoma.ttf /usr/share/wine/fonts/tahomabd.ttf "${ipa[@]}" "$fonts/"
# Without the offers to download Mono and Gecko, which nothing here needs.
WINEDLLOVERRIDES="mscoree,mshtml=" "$wine" wineboot --init >/dev/null 2>&1
# L: a folder labelled PHOTOS; M: a card whose folder is gone; N: a network drive standing for
# \\fileserver\photos; O: a network drive that is not connected to a share.
drives="$build/wine-drives"
mkdir -p "$drives/photos" "$drives/share" "$drives/offline" "$WINEPREFIX/dosdevices/unc/fileserver"
echo PHOTOS >"$drives/photos/.windows-label"
ln -sfn "$drives/photos" "$WINEPREFIX/dosdevices/l:"
ln -sfn "$drives/card-gone" "$WINEPREFIX/dosdevices/m:"
ln -sfn "$drives/share" "$WINEPREFIX/dosdevices/unc/fileserver/photos"
ln -sfn unc/fileserver/photos "$WINEPREFIX/dosdevices/n:"
ln -sfn "$drives/offline" "$WINEPREFIX/dosdevices/o:"
cat >"$build/wine-settings.reg" <<'EOF'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Drivers]
"Graphics"="x11,null"

[HKEY_LOCAL_MACHINE\Software\Wine\Drives]
"n:"="network"
"o:"="network"
EOF
"$wine" regedit /S 'Z:'"$build/wine-settings.reg"
"$wine" wineboot --shutdown >/dev/null 2>&1 || true
/usr/lib/wine/wineserver -w

# -- The tests, through CTest and scripts/wine-test.sh
step "Running the tests under Wine"
mingw_runtime=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libstdc++-6.dll)")
export WINEPATH="Z:$qt/bin;Z:/usr/x86_64-w64-mingw32/lib;Z:$mingw_runtime"
# HORAVISTA_WINE_PREFIX tells tst_windows that this prefix is its own: it may write HKEY_LOCAL_MACHINE and
# find the drives above.
export WINEQT_QPA_FONTDIR='C:\windows\Fonts' HORAVISTA_WINE_PREFIX=1
export HORAVISTA_WINE_RESULTS="$build/results"
rm -rf "$HORAVISTA_WINE_RESULTS"
mkdir -p "$HORAVISTA_WINE_RESULTS"
ctest_status=0
ctest --test-dir "$build" --output-on-failure --parallel "$(nproc)" --timeout 300 || ctest_status=$?
# Qt Test's totals of every program, added up.
awk '/^Totals:/ { p += $2; f += $4; s += $6 } END { printf "Wine: %d passed, %d failed, %d skipped\n", p, f, s }' \
    "$HORAVISTA_WINE_RESULTS"/*.txt
grep -h '^SKIP' "$HORAVISTA_WINE_RESULTS"/*.txt | sed 's/^/  /' || true
[ "$ctest_status" -eq 0 ] || exit "$ctest_status"

# -- The package, unpacked into an empty folder and started from there with nothing else on its path
step "Packing the zip"
(cd "$build" && cpack -G ZIP >/dev/null)
zip=$(ls "$build"/horavista-*-win64.zip)
unpacked="$build/unpacked"
rm -rf "$unpacked"
mkdir -p "$unpacked"
(cd "$unpacked" && cmake -E tar xf "$zip")
for file in horavista.exe ico.ico Horavista.chm Horavista_en.chm Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll libstdc++-6.dll \
    libgcc_s_seh-1.dll libwinpthread-1.dll platforms/qwindows.dll imageformats/qjpeg.dll imageformats/qgif.dll \
    imageformats/qico.dll styles/qwindowsvistastyle.dll; do
    [ -f "$unpacked/$file" ] || {
        echo "windows: the zip holds no $file" >&2
        exit 1
    }
done
echo "$zip: $(find "$unpacked" -type f | wc -l) files, $(du -k "$zip" | cut -f1) kB"

step "Starting the packed horavista.exe under Xvfb"
unset WINEPATH WINEQT_QPA_FONTDIR
export HORAVISTA_EXE="$unpacked/horavista.exe" HORAVISTA_SHOT="$build/mainwindow.png"
rm -f "$HORAVISTA_SHOT"
# The screenshot shows the window with its Option menu open, on a Japanese Windows, whose items are Japanese.
# (Wine takes its language from LANG, and takes C for English: the program would be English there.)
(cd "$unpacked" && xvfb-run --auto-servernum --server-args="-screen 0 1024x768x24" bash -c '
    env -u LC_ALL -u LANGUAGE LANG=ja_JP.UTF-8 /usr/lib/wine/wine64 "$HORAVISTA_EXE" &
    pid=$!
    for _ in $(seq 300); do
        window=$(xdotool search --name "^\+\+ Pelkin Horavista \+\+\$" 2>/dev/null | head -n 1)
        [ -n "$window" ] && break
        sleep 0.1
    done
    if [ -n "$window" ]; then
        sleep 2 # the first ticks
        eval "$(xdotool getwindowgeometry --shell "$window")"
        xdotool mousemove --window "$window" 60 10 click 1
        sleep 1
        import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$HORAVISTA_SHOT"
    fi
    kill $pid 2>/dev/null
    /usr/lib/wine/wineserver -k
    [ -f "$HORAVISTA_SHOT" ]
') || {
    echo "windows: the packed horavista.exe showed no main window" >&2
    exit 1
}
echo "Screenshot: $HORAVISTA_SHOT"
step "Done"
