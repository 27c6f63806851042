#!/usr/bin/env bash
# The first ring after a start, under Wine, for each Tivorra.exe given (for
# example the build before a change and the one after), in one run: over
# STARTS (10) starts, an alarm with music and a file to open; the time from
# its due second to the wake-up window, and from the window to the music
# playing. The music's moment is the end of the program's MCI play command
# in its own trace (WINEDEBUG=+timestamp,+mci: Wine stamps each line with
# the tick count the measuring program reads too).
#   bash bench/first_ring.sh [OLD/Tivorra.exe] NEW/Tivorra.exe
set -uo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-env.sh
starts=${STARTS:-10}

if [ "${1:-}" = --inside ]; then
  shift
  work="$1"
  shift
  export WINEPREFIX="$work/prefix"
  mkdir -p "$WINEPREFIX"
  tivorra_null_audio "$work"
  tivorra_unmanaged_windows
  for exe in "$@"; do
    echo "== $exe"
    wine "$work/first_ring.exe" "$(winepath -w "$exe")" "$starts" "+timestamp,+mci" \
      >"$work/out.txt" 2>"$work/trace.txt"
    grep -v '^shown ' "$work/out.txt"
    python3 - "$work/out.txt" "$work/trace.txt" <<'PY'
import re, sys
shown = [int(l.split()[1]) for l in open(sys.argv[1]) if l.startswith("shown ")]
plays, pending = [], set()
for line in open(sys.argv[2], errors="replace"):
    m = re.match(r"^(\d+)\.(\d+):([0-9a-f]+):trace:mci:mciSendCommandW (.*)$", line)
    if not m:
        continue
    tick, thread, rest = int(m.group(1)) * 1000 + int(m.group(2)), m.group(3), m.group(4)
    if "MCI_PLAY" in rest:
        pending.add(thread)
    elif rest.startswith("=>") and thread in pending:
        pending.discard(thread)
        plays.append(tick)
delays = []
for s in shown:
    after = [p - s for p in plays if -2000 < p - s < 5000]
    if after:
        delays.append(min(after, key=abs) if min(after) < 0 else min(after))
if delays:
    print("window visible -> music playing ms:", " ".join(map(str, delays)),
          "| median %d, worst %d" % (sorted(delays)[len(delays) // 2], max(delays)))
else:
    print("window visible -> music playing: no play found in the trace")
PY
  done
  wineserver -k >/dev/null 2>&1
  exit
fi
work=$(mktemp -d /tmp/tivorra-first-ring.XXXXXX)
x86_64-w64-mingw32-g++-posix -O2 -municode -static -o "$work/first_ring.exe" bench/first_ring.cpp || exit 1
timeout 1800 xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" --inside "$work" "$@"
rm -rf "$work"
