#!/usr/bin/env bash
# Start-up of two builds of Tivorra, side by side under Wine in one session:
# process start -> main window visible, taken in turns, one run of each
# first not counted (it starts Wine's notification area).
#   bash bench/startup_side_by_side.sh OLD.exe NEW.exe [RUNS=9]
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${1:-}" != --inside ]; then
  [ $# -ge 2 ] || { echo "usage: $0 OLD.exe NEW.exe [RUNS]" >&2; exit 2; }
  work=$(mktemp -d /tmp/tivorra-startup.XXXXXX)
  trap 'rm -rf "$work"' EXIT
  mkdir -p "$work/old" "$work/new"
  cp "$1" "$work/old/Tivorra.exe"
  cp "$2" "$work/new/Tivorra.exe"
  x86_64-w64-mingw32-g++-posix -Os -municode -static -o "$work/window_probe.exe" \
    bench/window_probe.cpp -lpsapi
  timeout 900 xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" --inside "$work" "${3:-9}"
  exit
fi

work="$2"
runs="$3"
source scripts/wine-env.sh
export WINEPREFIX="$work/prefix"
tivorra_null_audio "$work"
tivorra_unmanaged_windows
wineserver -p 120 || true
start_ms() {  # prints the ms from process start to the visible main window
  local line
  coproc PROBE { wine "$work/window_probe.exe" "$(winepath -w "$1")" Tivorra 1500 2>/dev/null; }
  read -r line <&"${PROBE[0]}" || line=""
  echo >&"${PROBE[1]}"
  wait "$PROBE_PID" 2>/dev/null || true
  sed -n 's/.*shown_ms=\([0-9]*\).*/\1/p' <<<"$line"
}
start_ms "$work/old/Tivorra.exe" >/dev/null
start_ms "$work/new/Tivorra.exe" >/dev/null
old=() new=()
for _ in $(seq "$runs"); do
  old+=("$(start_ms "$work/old/Tivorra.exe")")
  new+=("$(start_ms "$work/new/Tivorra.exe")")
done
wineserver -k || true
summary() {  # median (min-max) of the numbers given
  printf '%s\n' "$@" | sort -n | awk '{v[NR] = $1} END {printf "%d ms median (%d-%d, %d runs)", v[int((NR + 1) / 2)], v[1], v[NR], NR}'
}
echo "old: $(summary "${old[@]}")"
echo "new: $(summary "${new[@]}")"
