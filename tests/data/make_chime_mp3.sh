#!/usr/bin/env bash
# Rebuilds chime.mp3, the mp3 the Windows tests play through MCI: half a
# second of a 660 Hz tone, mono, 22.05 kHz, 32 kbit/s. It is short because
# mp3 plays at real-time pace under Wine. Needs Debian's lame and python3.
set -euo pipefail
cd "$(dirname "$0")"
tmp=$(mktemp --suffix=.wav)
trap 'rm -f "$tmp"' EXIT
python3 - "$tmp" <<'PY'
import math, struct, sys, wave
rate = 22050
with wave.open(sys.argv[1], "wb") as w:
    w.setnchannels(1)
    w.setsampwidth(2)
    w.setframerate(rate)
    w.writeframes(b"".join(struct.pack("<h", int(8000 * math.sin(2 * math.pi * 660 * i / rate)))
                           for i in range(rate // 2)))
PY
lame --quiet -m m -b 32 --resample 22.05 "$tmp" chime.mp3
