#!/usr/bin/env bash
# Builds Lookabout and starts it on its bundled characters.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh build
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLOOKABOUT_BUILD_TESTS=OFF >/dev/null
cmake --build build -j"$(nproc)"
exec build/bin/Lookabout "$@"
