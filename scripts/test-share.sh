#!/usr/bin/env bash
# Prints how large the tests are against the program: non-blank lines that are not comments
# (lines starting with // or #) of the C++ tests (without the scenario runner and its scripted
# platform in tests/scenario/), of the scenario scripts, and of src/. Expected transcripts are
# data and are not counted.
set -euo pipefail
cd "$(dirname "$0")/.."

count() {
    cat "$@" /dev/null | grep -cv -e '^[[:space:]]*$' -e '^[[:space:]]*//' -e '^[[:space:]]*#' || true
}
sources() { find "$1" -path tests/scenario -prune -o -type f \( -name '*.cpp' -o -name '*.h' \) -print; }

src=$(count $(sources src))
cpp_tests=$(count $(sources tests))
scripts=$(count tests/scenarios/*.scn)
echo "src:              $src"
echo "C++ tests:        $cpp_tests"
echo "scenario scripts: $scripts"
awk -v tests=$((cpp_tests + scripts)) -v src="$src" 'BEGIN { printf "tests / src:      %.1f %%\n", 100 * tests / src }'
