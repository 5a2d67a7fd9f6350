#!/usr/bin/env bash
# Installs the Debian packages Lookabout needs to build, run and test, when any is missing.
# Usage: scripts/install-deps.sh [build|test|bench]
set -euo pipefail

# libxcb-xinput-dev: the pointer's motion anywhere on the screen wakes the characters' clock.
packages=(cmake ninja-build g++ qt6-base-dev libxcb1-dev libxcb-xinput-dev libgl-dev fonts-dejavu-core)
# dpkg-shlibdeps works out the Debian package's dependencies (cmake --build build --target package).
packages+=(dpkg-dev)
if [ "${1:-build}" = test ] || [ "${1:-build}" = bench ]; then
    packages+=(libgtest-dev xvfb xdotool openbox picom imagemagick x11-apps x11-utils python3)
    # The install test checks the menu entry with desktop-file-validate.
    packages+=(desktop-file-utils)
    # The condensed DejaVu faces, so the caption tests see a condensed family as well as shrinking.
    packages+=(fonts-dejavu-extra)
    # The fuzzers are built with clang and its libFuzzer.
    packages+=(clang libclang-rt-dev)
    # The plain core cross-built for Windows and tested under Wine (scripts/test-windows-core.sh);
    # GoogleTest comes as sources, built for Windows with the core.
    packages+=(g++-mingw-w64-x86-64-posix wine wine64 googletest)
    if [ "$1" = bench ]; then
        # The X11 probe of benchmarks/motion-benchmark.sh.
        packages+=(libx11-dev libxtst-dev libxdamage-dev libxfixes-dev)
    fi
else
    # Without a display the run command shows the characters on a virtual one.
    packages+=(xvfb xdotool imagemagick)
fi

missing=()
for p in "${packages[@]}"; do
    if [ "$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null)" != "install ok installed" ]; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
