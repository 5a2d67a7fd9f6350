#!/usr/bin/env bash
# Builds Lookabout with its tests and runs every test: unit, widget and end-to-end.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh test
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLOOKABOUT_BUILD_TESTS=ON >/dev/null
cmake --build build-test -j"$(nproc)"
ctest --test-dir build-test --output-on-failure -j"$(nproc)" "$@"
