#!/usr/bin/env bash
# Measures how long Plotwell takes to put its window on screen and how much
# memory it then holds, on a virtual display. Run after building:
#   bench/startup.sh [build/plotwell] [runs]
set -euo pipefail
cd "$(dirname "$0")/.."
program="${1:-build/plotwell}"
runs="${2:-5}"
exec scripts/with-display bash -c '
program=$1; runs=$2
for i in $(seq "$runs"); do
  start=$(date +%s%N)
  "$program" 2>/dev/null & pid=$!
  # The window exists once the desktop knows its class name.
  until xwininfo -root -children 2>/dev/null | grep -q "\"Kestrel\""; do
    kill -0 $pid 2>/dev/null || { echo "Plotwell exited early" >&2; exit 1; }
    sleep 0.005
  done
  shown=$(date +%s%N)
  sleep 0.5
  rss=$(awk "/VmRSS/ {print \$2}" /proc/$pid/status)
  kill $pid; wait $pid 2>/dev/null || true
  echo "run $i: window after $(( (shown - start) / 1000000 )) ms, resident $(( rss / 1024 )) MB"
done
' _ "$program" "$runs"
