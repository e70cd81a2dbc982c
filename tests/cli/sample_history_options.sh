#!/usr/bin/env bash
# The sample writer takes no option for a file name: --help prints its usage, anything else that
# starts with a dash is refused with exit 2, and neither writes a file.
# Usage: sample_history_options.sh PROGRAM
set -uo pipefail
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
"$program" --help | grep -q '^usage: aurelant-sample-history OUTPUT.csv$' || exit 1
"$program" --output x.csv 2>/dev/null
[ $? = 2 ] || exit 1
[ -z "$(ls -A)" ]
