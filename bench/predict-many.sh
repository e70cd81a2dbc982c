#!/usr/bin/env bash
# `aurelant predict --format csv` over 1,000 files of 2,600 daily records each (ten years of
# prices, about 95 MB), against `cat` of the same files. Prints the best wall-clock time of each
# over 5 runs, the peak memory of the prediction, and checks that cost grows linearly: half the
# files take about half the time.
# Usage: bench/predict-many.sh [PROGRAM]   (default: build-release/src/gui/aurelant)
set -euo pipefail
program=$(realpath "${1:-build-release/src/gui/aurelant}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

awk 'BEGIN {
    srand(7)
    for (file = 0; file < 1000; file++) {
        name = sprintf("f%04d.csv", file); open = 20 + rand() * 100
        for (day = 0; day < 2600; day++) {
            shut = open * (1 + (rand() - 0.5) * 0.04)
            high = (open > shut ? open : shut) * (1 + rand() * 0.01)
            low = (open < shut ? open : shut) * (1 - rand() * 0.01)
            # 260 trading days a year, 22 a month: the dates rise, as in a real history.
            printf "%04d-%02d-%02d,%.2f,%.2f,%.2f,%.2f\r\n", 2014 + int(day / 260),
                int(day % 260 / 22) + 1, day % 260 % 22 + 1, open, high, low, shut > name
            open = shut
        }
        close(name)
    }
}'

best() {  # best wall-clock milliseconds of 5 runs of the command
    local best=$((1 << 62)) start end
    for _ in $(seq 5); do
        start=$(date +%s%N); "$@" > /dev/null; end=$(date +%s%N)
        best=$(( (end - start) < best ? (end - start) : best ))
    done
    echo $((best / 1000000))
}
all=$(best "$program" predict --format csv f*.csv)
half=$(best "$program" predict --format csv f0[0-4]*.csv)
reading=$(best cat f*.csv)
peak=$( { /usr/bin/time -f %M "$program" predict --format csv f*.csv > /dev/null; } 2>&1 )
echo "predict 1,000 files: ${all} ms (500 files: ${half} ms)"
echo "cat of the files:    ${reading} ms"
awk -v all="$all" -v reading="$reading" 'BEGIN { printf "ratio to cat:        %.1f\n", all / reading }'
echo "peak memory:         $((peak / 1024)) MB"
