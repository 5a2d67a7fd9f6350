#!/usr/bin/env bash
# Long fuzzing runs of the settings file: each fuzzer for RUNS executions (10 million by default),
# shared out over JOBS processes at once (1 by default; one per core is the most that helps). The
# processes share the corpus folder, so each builds on what the others had found when it started.
# New inputs go to build-fuzz/fuzz/found-*; a crash leaves its input in build-fuzz/fuzz/ and makes
# the script fail.
set -euo pipefail
cd "$(dirname "$0")/.."
runs="${RUNS:-10000000}"
jobs="${JOBS:-1}"
cmake --preset fuzz >/dev/null
cmake --build build-fuzz --target IniTextFuzzer ConfigurationFuzzer
failed=0
# A whole configuration of 1 kB already holds several characters and every kind of key; longer
# inputs halve the speed of the long run.
for entry in IniTextFuzzer:4096 ConfigurationFuzzer:1024; do
    name="${entry%%:*}"
    mkdir -p "build-fuzz/fuzz/found-$name"
    echo "== $name, $runs runs in $jobs process(es)"
    pids=()
    for ((job = 1; job <= jobs; ++job)); do
        share=$((runs / jobs + (job <= runs % jobs ? 1 : 0)))
        "build-fuzz/bin/$name" -runs="$share" -max_len="${entry##*:}" -timeout=10 -print_final_stats=1 \
            -artifact_prefix=build-fuzz/fuzz/ "build-fuzz/fuzz/found-$name" fuzz/corpus \
            >"build-fuzz/fuzz/$name-$job.log" 2>&1 &
        pids+=($!)
    done
    for ((job = 1; job <= jobs; ++job)); do
        wait "${pids[job - 1]}" || failed=1
        grep -E "^(Done|stat::number|stat::average|==|SUMMARY|property)" "build-fuzz/fuzz/$name-$job.log" || true
    done
done
exit "$failed"
