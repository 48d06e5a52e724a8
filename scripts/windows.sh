#!/usr/bin/env bash
# Builds Brevant for 64-bit Windows on Debian 12 and checks it under Wine:
#   1. installs what is missing (the MinGW-w64 compiler, wine64, NSIS, Xvfb) and unpacks the
#      cross-built Qt of ../shared/toolchains;
#   2. cross-builds the program, the tests and the benchmark (warnings are errors);
#   3. runs the whole test suite under wine64, offscreen;
#   4. gathers the program folder (the program, the Qt and MinGW DLLs, the plugins, the PhilHealth
#      lists) and builds the installer Brevant-<version>-win64-setup.exe from it;
#   5. installs it silently in a fresh Wine prefix, starts the installed program under Xvfb, sees
#      the login, logs in to the embedded database and sees the screen with the sample data
#      (screenshots login.png and screen.png), closes it and uninstalls.
# Usage: scripts/windows.sh [work folder, default build/windows]
# The installer and the screenshots are left in the work folder.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"
work="${1:-build/windows}"
mkdir -p "$work"
work="$(cd "$work" && pwd)"
tarball="${BREVANT_QT_MINGW:-$root/../shared/toolchains/qt6-mingw-6.4.2.tar.xz}"
[ -f "$tarball" ] || [ -n "${BREVANT_QT_MINGW:-}" ] ||
    tarball=/work/shared/toolchains/qt6-mingw-6.4.2.tar.xz
if [ ! -f "$tarball" ]; then
    echo "The Qt for Windows is not at $tarball: set BREVANT_QT_MINGW to the tarball" \
        "qt6-mingw-6.4.2.tar.xz (see ../shared/toolchains/README.md)."
    exit 1
fi
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
export WINEDEBUG=-all
seconds() { date +%s; }
started=$(seconds)
step() { echo "== $* ($(($(seconds) - started)) s)"; }

# Windows sees one file where two names differ only by case.
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    clashes="$(git ls-files | sort -f | uniq -di)"
    if [ -n "$clashes" ]; then
        echo "File names that differ only by case (one file on Windows): $clashes"
        exit 1
    fi
fi

step "Installing what is missing"
bash scripts/deps.sh g++-mingw-w64-x86-64-posix wine64 nsis qt6-base-dev-tools xdotool \
    imagemagick openbox
qt="$work/qt/qt6-mingw"
if [ ! -f "$qt/lib/cmake/Qt6/Qt6Config.cmake" ]; then
    step "Unpacking $(basename "$tarball")"
    rm -rf "$work/qt" && mkdir -p "$work/qt"
    tar -C "$work/qt" -xJf "$tarball"
fi

step "Cross-building for Windows"
build="$work/build"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBREVANT_WERROR=ON \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DCMAKE_PREFIX_PATH="$qt" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake >/dev/null
cmake --build "$build" --parallel

# A Wine prefix of its own for each use, made afresh.
new_prefix() {
    export WINEPREFIX="$work/$1"
    "$wineserver" -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
    "$wine" wineboot --init >/dev/null 2>&1
    "$wineserver" -w
}

step "Running the test suite under Wine"
new_prefix wine-tests
ctest --test-dir "$build" --output-on-failure --parallel 2 --timeout 300
"$wineserver" -k || true

step "Gathering the program folder"
stage="$work/Brevant"
rm -rf "$stage"
cmake --install "$build" --prefix "$stage" --strip >/dev/null
find "$stage" -name '*.dll' -exec x86_64-w64-mingw32-strip --strip-unneeded {} +
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")"
setup="$work/Brevant-$version-win64-setup.exe"
step "Building $(basename "$setup")"
makensis -V2 -DVERSION="$version" -DSOURCE="$stage" -DOUTFILE="$setup" \
    -DICON="$root/src/app/resources/brevant.ico" packaging/windows/brevant.nsi
echo "$(basename "$setup"): $(du -k "$setup" | cut -f1) KiB; program folder: $(du -sk "$stage" | cut -f1) KiB"

step "Installing it silently and starting the installed program"
new_prefix wine-install
"$wine" "$setup" /S
"$wineserver" -w
installed="$WINEPREFIX/drive_c/Program Files/Brevant"
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Brevant"
for file in "$installed/brevant.exe" "$installed/Uninstall.exe" "$installed/platforms/qwindows.dll" \
    "$installed/sqldrivers/qsqlite.dll" "$installed/ESOA_ITEM.csv" "$menu/Brevant.lnk"; do
    [ -f "$file" ] || { echo "the installer did not put ${file#"$WINEPREFIX/"} in place"; exit 1; }
done
# Its entry in "Apps & features" (the prefix's registry file is written when Wine ends).
"$wineserver" -k || true
grep -q "^\"DisplayVersion\"=\"$version\"" "$WINEPREFIX/system.reg" ||
    { echo "the installer did not register Brevant $version for uninstalling"; exit 1; }
bash scripts/windows-check.sh "$work" 'C:\Program Files\Brevant\brevant.exe'

step "Uninstalling it silently"
"$wine" "$installed/Uninstall.exe" /S '_?=C:\Program Files\Brevant'
"$wineserver" -w
if [ -e "$installed/brevant.exe" ] || [ -e "$menu/Brevant.lnk" ]; then
    echo "the uninstaller left the program or its Start-menu entry"
    exit 1
fi
"$wineserver" -k || true
step "Windows build, tests and installer passed"
