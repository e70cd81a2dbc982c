#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: once in a normal build (with the Qt
# smoke test, offscreen) and once under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
jobs=$(nproc)

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DAURELANT_WERROR=ON
cmake --build build --parallel "$jobs"
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure --parallel "$jobs"

cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DAURELANT_WERROR=ON \
    -DAURELANT_SANITIZE=ON -DAURELANT_BUILD_GUI=OFF -DAURELANT_BUILD_BENCH=OFF
cmake --build build-sanitize --parallel "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build-sanitize --output-on-failure --parallel "$jobs"

# The Debian package: built from the normal build, checked by lintian and hardening-check,
# installed, run and removed.
scripts/package-check.sh build
