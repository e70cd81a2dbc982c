#!/usr/bin/env bash
# `aurelant update` as a process against the replay server on 127.0.0.1: its lines and exit
# statuses, a dry run, a failure among good files, remembered sources and a mistake.
# Usage: with_replay_server.sh update_command.sh PROGRAM EXPECTED
set -euo pipefail
program=$1
expected=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

for name in a.csv b.csv split.csv; do
    printf '%s\r\n' 30-Dec-2025,102.10,103.50,101.25,102.87,1002000 \
        02-Jan-2026,104.10,105.50,103.25,104.87,1004000 \
        05-Jan-2026,105.10,106.50,104.25,105.87,1005000 >"$name"
done

run() {  # prints the command, its output, its errors and its exit status
    echo "\$ aurelant update $*"
    local status=0
    "$program" update "$@" >out 2>err || status=$?
    sed 's/^/out: /' out
    sed 's/^/err: /' err
    echo "exit $status"
}
{
    run --source yahoo:AUR --dry-run a.csv
    run --source yahoo:AUR a.csv
    run a.csv
    run --source alphavantage:AUR b.csv
    run --source yahoo:SPLIT split.csv
    run --jobs 2 a.csv split.csv b.csv
    run --source nasdaq:AUR a.csv
    run --jobs 0 a.csv
    echo "\$ cat .aurelant-sources"
    sed 's/\r$/<CR>/' .aurelant-sources
    echo "\$ cat a.csv"
    sed 's/\r$/<CR>/' a.csv
} >transcript 2>&1
diff -u "$expected" transcript
