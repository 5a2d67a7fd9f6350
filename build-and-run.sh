#!/usr/bin/env bash
# Builds Lookabout and starts it on its bundled characters. Where there is no display (a server, a container, a
# remote shell), it shows them on a virtual X display instead for a few seconds and writes a screenshot and an
# animation of them (scripts/make-pictures.sh).
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh build
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLOOKABOUT_BUILD_TESTS=OFF >/dev/null
cmake --build build -j"$(nproc)"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display here: running Lookabout on a virtual X display (Xvfb) for a few seconds and recording it."
    scripts/make-pictures.sh build/bin/Lookabout build/pictures
    exit 0
fi
exec build/bin/Lookabout "$@"
