#!/usr/bin/env bash
# Builds Lookabout with its tests and runs every test: unit, widget and end-to-end tests; then the
# plain core's unit tests cross-built for Windows and run under Wine; then the same tests built with
# AddressSanitizer and UndefinedBehaviorSanitizer; then short fuzzing runs of the settings file.
#   --no-windows    skip the Windows build       --no-sanitize   skip the sanitizer build
#   --no-fuzz       skip the fuzzing runs
#   anything else is passed to ctest (e.g. -R unit)
set -euo pipefail
cd "$(dirname "$0")"

windows=1
sanitize=1
fuzz=1
ctest_args=()
for arg in "$@"; do
    case "$arg" in
        --no-windows) windows=0 ;;
        --no-sanitize) sanitize=0 ;;
        --no-fuzz) fuzz=0 ;;
        *) ctest_args+=("$arg") ;;
    esac
done

scripts/install-deps.sh test
jobs="$(nproc)"

echo "== Tests"
# Unoptimised: it builds about a quarter faster, and the tests wait on X far more than they compute.
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DLOOKABOUT_BUILD_TESTS=ON >/dev/null
cmake --build build-test -j"$jobs"
ctest --test-dir build-test --output-on-failure -j"$jobs" "${ctest_args[@]}"

if [ "$windows" = 1 ]; then
    scripts/test-windows-core.sh build-windows
fi

if [ "$sanitize" = 1 ]; then
    echo "== Tests under AddressSanitizer and UndefinedBehaviorSanitizer"
    cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DLOOKABOUT_SANITIZE=ON >/dev/null
    cmake --build build-sanitize -j"$jobs"
    ctest --test-dir build-sanitize --output-on-failure -j"$jobs" "${ctest_args[@]}"
fi

if [ "$fuzz" = 1 ]; then
    echo "== Short fuzzing runs of the settings file"
    cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
        -DLOOKABOUT_FUZZ=ON -DLOOKABOUT_BUILD_TESTS=OFF >/dev/null
    cmake --build build-fuzz -j"$jobs" --target IniTextFuzzer ConfigurationFuzzer
    ctest --test-dir build-fuzz --output-on-failure -L fuzz
fi
