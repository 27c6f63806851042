#!/usr/bin/env bash
# Under Wine, for each Tivorra.exe given (for example the one built before a
# change and the one after): ring latency over 12 countdowns 3 s apart, and
# wake-ups per second (context switches of the program's threads) with the
# window shown and started with /minimize (hidden in the tray), each over
# SECONDS_PER_STATE (30 s). RINGS=0 skips the ring latency.
#   bash bench/wine_ring_and_wakeups.sh OLD/Tivorra.exe NEW/Tivorra.exe
set -uo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-env.sh
seconds=${SECONDS_PER_STATE:-30}
rings=${RINGS:-12}

switches() {  # all threads of one process, voluntary and not
  cat /proc/"$1"/task/*/status 2>/dev/null |
    awk '/ctxt_switches/ {n += $2} END {print n + 0}'
}

run() {
  export WINEPREFIX="$work/prefix"
  tivorra_null_audio "$work"
  tivorra_unmanaged_windows
  for exe in "$@"; do
    echo "== $exe"
    [ "$rings" -gt 0 ] && wine "$work/ring_latency.exe" "$(winepath -w "$exe")" "$rings" 3
    for state in shown tray; do
      folder="$work/run-$state-$RANDOM"
      mkdir -p "$folder"
      cp "$exe" "$folder/Tivorra.exe"
      args=()
      [ "$state" = tray ] && args=(/minimize)
      (cd "$folder" && exec wine Tivorra.exe "${args[@]}") &
      pid=$!
      sleep 8  # start-up settles
      a=$(switches "$pid")
      sleep "$seconds"
      b=$(switches "$pid")
      echo "$state: $(awk -v a="$a" -v b="$b" -v s="$seconds" 'BEGIN {printf "%.2f", (b - a) / s}') wake-ups per second ($(cat /proc/$pid/comm 2>/dev/null))"
      kill "$pid" 2>/dev/null
      wait "$pid" 2>/dev/null
    done
  done
  wineserver -k >/dev/null 2>&1
}
if [ "${1:-}" = --inside ]; then
  shift
  work="$1"
  shift
  run "$@"
  exit
fi
work=$(mktemp -d /tmp/tivorra-bench.XXXXXX)
x86_64-w64-mingw32-g++-posix -O2 -municode -static -o "$work/ring_latency.exe" bench/ring_latency.cpp || exit 1
timeout 900 xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" --inside "$work" "$@"
rm -rf "$work"
