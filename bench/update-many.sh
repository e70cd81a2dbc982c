#!/usr/bin/env bash
# `aurelant update` of 50 files from one host on 127.0.0.1 that answers each request after 100 ms.
# The manners allow a start every 250 ms, so the 50 requests need about 12.5 s; the aim is at
# most 1.1 times that. The server checks that it never saw more than 2 requests at once, nor two
# starts closer than 250 ms.
# Usage: bench/update-many.sh [PROGRAM]   (default: build/src/gui/aurelant)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
if [ -z "${REPLAY_BENCH:-}" ]; then
    # Runs itself again while the replay server answers.
    REPLAY_BENCH=1 exec "$here/../tests/quotes/with_replay_server.sh" --delay 0.1 "$0" "$@"
fi
program=$(realpath "${1:-build/src/gui/aurelant}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
for file in $(seq -w 1 50); do
    printf '%s\r\n' 30-Dec-2025,102.10,103.50,101.25,102.87,1002000 \
        05-Jan-2026,105.10,106.50,104.25,105.87,1005000 >"f$file.csv"
done
start=$(date +%s.%N)
updated=$("$program" update --source yahoo:AUR ./*.csv | grep -c "3 days added")
end=$(date +%s.%N)
echo "files updated: $updated of 50"
python3 - "$start" "$end" "$AURELANT_YAHOO_URL" <<'REPORT'
import json, sys, urllib.request
start, end, base = float(sys.argv[1]), float(sys.argv[2]), sys.argv[3]
stats = json.load(urllib.request.urlopen(base + "/_stats"))
seconds = end - start
print("requests: %d, most at once: %d, closest starts: %.1f ms"
      % (stats["requests"], stats["most_at_once"], stats["closest_starts_ms"]))
print("wall clock: %.2f s = %.3f x 12.5 s (aim: at most 1.1)" % (seconds, seconds / 12.5))
sys.exit(0 if stats["most_at_once"] <= 2 and stats["closest_starts_ms"] >= 250 else 1)
REPORT
