#!/usr/bin/env bash
# Cross-builds the plain core and its unit tests for 64-bit Windows with mingw-w64 and runs them under Wine.
# Debian has no Qt for mingw, so the windows themselves are not built here (see README, Windows).
# Usage: scripts/test-windows-core.sh [build folder, default build-windows] [gtest arguments...]
set -euo pipefail
cd "$(dirname "$0")/.."

build="${1:-build-windows}"
shift || true

echo "== Plain core on Windows: mingw-w64 build, unit tests under Wine"
# -O1: the tests need no speed, and the cross build is the longest step here.
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O1" \
    -DLOOKABOUT_CORE_ONLY=ON -DLOOKABOUT_GTEST_SOURCE_DIR=/usr/src/googletest/googletest >/dev/null
cmake --build "$build" -j"$(nproc)"

# A Wine of our own in the build folder: no display, no messages of Wine itself, nothing of the user's ~/.wine.
export WINEPREFIX="$PWD/$build/wineprefix" WINEDEBUG=-all DISPLAY= WAYLAND_DISPLAY=
# The .NET and browser add-ons are not needed by a console program; without them the first start asks for no download.
export WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Preparing the Wine prefix $WINEPREFIX (once)"
    started=$SECONDS
    wineboot --init >/dev/null 2>&1
    wineserver --wait
    echo "Wine prefix ready in $((SECONDS - started)) s"
fi
wine="$(command -v wine64 || echo /usr/lib/wine/wine64)"
[ -x "$wine" ] || wine=wine
# The runner's own summary shows the counts; its status decides.
"$wine" "$build/bin/lookabout_unit_tests.exe" --gtest_brief=1 "$@"
