#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each one for a bounded time, starting from the
# seed corpora in fuzz/corpus: FUZZ_SECONDS each (12 by default, about a minute in all). A crash
# fails the script; its input is kept in build-fuzz/crashes for a test to be made of it.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${FUZZ_SECONDS:-12}
declare -A seeds=([open]=history [prediction]=history [fiveday]=fiveday [convert]=convert
                  [dates]=dates [import]=import [acceptance]=acceptance)

if [ ! -f build-fuzz/CMakeCache.txt ]; then
    cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DAURELANT_FUZZ=ON -DAURELANT_BUILD_GUI=OFF \
        -DAURELANT_BUILD_BENCH=OFF
fi
cmake --build build-fuzz --parallel "$(nproc)"

mkdir -p build-fuzz/crashes
for target in open prediction fiveday convert dates import acceptance; do
    corpus=build-fuzz/corpus/$target
    log=build-fuzz/$target.log
    mkdir -p "$corpus"
    if ! build-fuzz/fuzz/${target}_fuzz -max_total_time="$seconds" \
        -artifact_prefix="build-fuzz/crashes/$target-" "$corpus" "fuzz/corpus/${seeds[$target]}" \
        >"$log" 2>&1; then
        tail -n 40 "$log" >&2
        echo "fuzz: $target failed; the input is in build-fuzz/crashes" >&2
        exit 1
    fi
    echo "fuzz: $target: $(grep -E '^Done [0-9]+ runs' "$log")"
done
