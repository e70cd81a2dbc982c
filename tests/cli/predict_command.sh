#!/usr/bin/env bash
# `aurelant predict` as a process: no display and no Qt platform, every format, a refused file
# among good ones, and not a file written or touched. Usage: predict_command.sh PROGRAM EXPECTED
set -euo pipefail
program=$1
expected=$2
work=$(mktemp -d)
transcript=$(mktemp)
trap 'rm -rf "$work" "$transcript"' EXIT
cd "$work"

write_file() {  # NAME CLOSE...: a day a Close, opening at the Close before, High and Low 0.5 % out
    local name=$1
    shift
    printf 'Date,Open,High,Low,Close\r\n' >"$name"
    printf '%s\n' "$@" | awk '{ o = NR > 1 ? c : $1; c = $1
        printf "2024-03-%02d,%s,%.6g,%.6g,%s\r\n", NR, o, (o > c ? o : c) * 1.005, (o < c ? o : c) * 0.995, c }' >>"$name"
}
write_file up.csv 100 101 99 98 100 99 101 100 98 99.5 99 100.5 102 101 103 102 100 101 99 100 102
write_file fx.csv 1.10607 1.10811 1.10505 1.10403 1.10733 1.10612 1.10807 1.10701 1.10511 1.10623 \
    1.10542 1.10788 1.10912 1.10854 1.11023 1.10931 1.10712 1.10821 1.10654 1.10776 1.10953
# The same days as a German download: semicolons, decimal commas, day-first dates, newest first.
tail -n +2 up.csv | tac | awk -F, '{ split($1, d, "-"); for (i = 2; i <= 5; i++) gsub(/\./, ",", $i)
    printf "%s.%s.%s;%s;%s;%s;%s\r\n", d[3], d[2], d[1], $2, $3, $4, $5 }' >german.csv
printf 'a few\nwords\n' >notes.txt
# Names that a spreadsheet would run as a formula, or that hold a terminal's escape and a byte
# that is not UTF-8.
cp up.csv '=1+2.csv'
odd=$'odd\e[2J\xff.csv'
cp up.csv "$odd"
cp notes.txt $'@notes\r.txt'
touch -d '2020-01-01' ./*
before=$(ls -l --time-style=full-iso)

run() {  # prints the command, its output and its exit status
    echo "\$ aurelant predict $*" | LC_ALL=C sed 's/[^[:print:]]/?/g'
    set +e
    env -i PATH="$PATH" "$program" predict "$@" 2>&1
    echo "exit $?"
    set -e
}
{
    run up.csv
    run --open 104.5 up.csv fx.csv
    run --format csv --open 1.11 --jobs 1 up.csv notes.txt fx.csv german.csv
    run --format=json fx.csv up.csv
    run --format csv '=1+2.csv' $'@notes\r.txt' "$odd"
    run --format json "$odd"
    run '=1+2.csv' "$odd" $'@notes\r.txt'
    run --jobs 0 up.csv
    run --open abc up.csv
    run --open 1e13 up.csv
    run --open 1e-320 up.csv
    run --open 104,5 up.csv
    for output in /dev/full '&-'; do  # an output that cannot be written fails
        echo "\$ aurelant predict up.csv >$output"
        set +e
        eval 'env -i PATH="$PATH" "$program" predict up.csv 2>&1 >'"$output"
        echo "exit $?"
        set -e
    done
} >"$transcript"

[ "$(ls -l --time-style=full-iso)" = "$before" ] || {
    echo "the folder changed" >&2
    exit 1
}
diff -u "$expected" "$transcript"
