#!/usr/bin/env bash
# Long fuzzing runs of the settings file: each fuzzer for RUNS executions (10 million by default).
# New inputs go to build-fuzz/fuzz/found-*; a crash leaves its input in build-fuzz/fuzz/.
set -euo pipefail
cd "$(dirname "$0")/.."
runs="${RUNS:-10000000}"
cmake --preset fuzz >/dev/null
cmake --build build-fuzz --target IniTextFuzzer ConfigurationFuzzer
# A whole configuration of 1 kB already holds several characters and every kind of key; longer
# inputs halve the speed of the long run.
for spec in IniTextFuzzer:4096 ConfigurationFuzzer:1024; do
    name="${spec%%:*}"
    mkdir -p "build-fuzz/fuzz/found-$name"
    echo "== $name, $runs runs"
    "build-fuzz/bin/$name" -runs="$runs" -max_len="${spec##*:}" -timeout=10 -print_final_stats=1 \
        -artifact_prefix=build-fuzz/fuzz/ "build-fuzz/fuzz/found-$name" fuzz/corpus 2>&1 |
        grep -E "^(Done|stat::|==|SUMMARY|property)" || true
done
