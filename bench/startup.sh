#!/usr/bin/env bash
# Measures Tivorra.exe under Wine on this machine: the time from starting
# the process to its main window being mapped, and its private memory a
# few seconds after the start. Usage: bench/startup.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
runs="${1:-5}"
source scripts/wine-env.sh
export WINEPREFIX="${WINEPREFIX:-$HOME/.local/share/tivorra-wine}"
mkdir -p "$WINEPREFIX"
tivorra_null_audio "$WINEPREFIX"
dir=$(mktemp -d)
cp build/windows/Tivorra.exe "$dir/"
echo "Tivorra.exe: $(stat -c %s "$dir/Tivorra.exe") bytes"

# A private X server of our own, so that xwininfo sees the same screen.
display=":$((90 + RANDOM % 100))"
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$dir"' EXIT
export DISPLAY="$display"
sleep 1

wineserver -p 60     # keep the server up between runs, as a desktop session does
wine cmd /c exit >/dev/null 2>&1   # a warm prefix, as on a PC that is already up
for i in $(seq "$runs"); do
  start=$(date +%s%N)
  wine "$dir/Tivorra.exe" >/dev/null 2>&1 &
  launcher=$!
  until xwininfo -name Tivorra 2>/dev/null | grep -q IsViewable; do sleep 0.005; done
  shown=$(date +%s%N)
  sleep 3
  pid=$(pgrep -f "Tivorra.exe" | head -n1)
  private=$(awk "/^Private_(Clean|Dirty):/ {s += \$2} END {print s}" /proc/$pid/smaps_rollup)
  rss=$(awk "/^VmRSS:/ {print \$2}" /proc/$pid/status)
  echo "run $i: window after $(( (shown - start) / 1000000 )) ms; private $private kB, resident $rss kB (Wine process)"
  kill $pid; wait $launcher 2>/dev/null || true
  sleep 0.5
done
wineserver -k

