#!/usr/bin/env bash
# Runs COMMAND... while the replay server answers on 127.0.0.1, with every provider's base address
# pointing at it, a key for Alpha Vantage and the settings in a folder of their own.
# Usage: with_replay_server.sh [--delay SECONDS] COMMAND...   (--delay holds every answer back)
set -euo pipefail
delay=0
if [ "${1:-}" = --delay ]; then
    delay=$2
    shift 2
fi
here=$(cd "$(dirname "$0")" && pwd)
server=$(mktemp -d)
trap 'exec 3>&-; rm -rf "$server"' EXIT
# The server ends when its input, held open here, closes.
mkfifo "$server/input"
python3 "$here/replay_server.py" "$here/plan.json" "$server/port" --delay "$delay" <"$server/input" &
exec 3>"$server/input"
for _ in $(seq 200); do [ -s "$server/port" ] && break; sleep 0.05; done
base=http://127.0.0.1:$(cat "$server/port")
export AURELANT_YAHOO_URL=$base AURELANT_BINANCE_URL=$base AURELANT_ALPHAVANTAGE_URL=$base
export AURELANT_ALPHAVANTAGE_KEY=K3Y0F7HEUSER XDG_CONFIG_HOME=$server/config
export no_proxy=127.0.0.1 NO_PROXY=127.0.0.1  # a proxy of the machine's must not stand between
"$@" 3>&-
