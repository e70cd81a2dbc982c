#!/usr/bin/env bash
# Runs window tests on a virtual display with a real window manager, where windows are placed
# and brought to the front as on a desktop. Usage: under_window_manager.sh TESTS GTEST_FILTER
# Skipped (77) where the virtual display or the window manager is not installed.
set -uo pipefail
command -v xvfb-run >/dev/null && command -v openbox >/dev/null || exit 77
exec xvfb-run -a -s '-screen 0 1920x1080x24' bash -c '
    openbox --sm-disable & manager=$!
    sleep 1
    QT_QPA_PLATFORM=xcb "$0" --gtest_filter="$1"; status=$?
    kill $manager
    exit $status' "$1" "$2"
