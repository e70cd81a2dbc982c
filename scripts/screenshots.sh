#!/usr/bin/env bash
# Makes the screenshots in docs/ (README and metainfo) from the real windows, offscreen, on the
# sample history file: the main window after a prediction of movement, the five-day panel, the
# price chart, how reliable the prediction is and, where the program has them, the re-prediction dialog, the save-as dialog, the
# import's preview, the viewer and the watchlist.
# Set QT_SCALE_FACTOR=2 to see the windows at twice the size.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target aurelant-screenshots aurelant-desktop-files
QT_QPA_PLATFORM=offscreen build/packaging/aurelant-screenshots \
    build/packaging/sample-prices.csv "${1:-docs}"
