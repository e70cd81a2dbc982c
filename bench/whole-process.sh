#!/usr/bin/env bash
# The whole process, end to end: the scenario runner starts the program, opens a history file of
# 32,887 wandering daily prices and runs a direction-only prediction on it, against `cp` of the
# same file. Prints the best wall-clock time of each over 20 runs and their ratio.
# Usage: bench/whole-process.sh [RUNNER]   (default: build-release/tests/aurelant-scenario)
set -euo pipefail
runner=$(realpath "${1:-build-release/tests/aurelant-scenario}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

awk 'BEGIN {
    srand(4); open = 50
    for (day = 0; day < 32887; day++) {
        shut = day % 97 == 0 ? open : open * (1 + (rand() - 0.5) * 0.04)
        high = (open > shut ? open : shut) * 1.01; low = (open < shut ? open : shut) * 0.99
        printf "%02d-Jan-%04d,%.2f,%.2f,%.2f,%.2f\r\n", day % 28 + 1, 1900 + int(day / 28), open, high, low, shut
        open = shut
    }
}' > walk.csv
printf 'file walk.csv\nclick open\nanswer ok\nclick predictchange\n' > predict.scn

best() {  # best wall-clock milliseconds of 20 runs of the command
    local best=$((1 << 62)) start end
    for _ in $(seq 20); do
        start=$(date +%s%N); "$@" > /dev/null; end=$(date +%s%N)
        best=$(( (end - start) < best ? (end - start) : best ))
    done
    echo "$best"
}
program=$(best "$runner" predict.scn --work "$work")
copy=$(best cp walk.csv copy.csv)
awk -v p="$program" -v c="$copy" 'BEGIN {
    printf "open and predict: %.1f ms (%.2f us a record)\n", p / 1e6, p / 1e3 / 32887
    printf "cp of the file:   %.1f ms (%.2f us a record)\n", c / 1e6, c / 1e3 / 32887
    printf "ratio:            %.1f\n", p / c
}'
