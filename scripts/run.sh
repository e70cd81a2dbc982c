#!/usr/bin/env bash
# Installs what is missing, builds a release build and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DAURELANT_BUILD_BENCH=OFF
cmake --build build-release --target aurelant aurelant-desktop-files
exec build-release/src/gui/aurelant "$@"
