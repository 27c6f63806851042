#!/usr/bin/env python3
"""Writes the fallback alarm tone, src/controls/win32/alarm_tone.wav.

A short, insistent double beep in 8-bit mono PCM at 8 kHz: small enough to
live in the program's resources (about 4 KB), loud enough to wake someone
when it loops. Run it again after changing the shape below; the output is
the same on every run.
"""
import math
import pathlib
import struct

RATE = 8000
FREQ = 1760  # Hz: high and piercing, well inside what small speakers play
# (tone?, milliseconds): two beeps, then a pause before the loop repeats.
SHAPE = [(True, 120), (False, 60), (True, 120), (False, 200)]
FADE = 40  # samples of fade-in and fade-out per beep, against clicks

samples = bytearray()
for tone, ms in SHAPE:
    n = RATE * ms // 1000
    for i in range(n):
        if not tone:
            samples.append(128)
            continue
        env = min(1.0, i / FADE, (n - 1 - i) / FADE)
        v = 128 + round(110 * env * math.sin(2 * math.pi * FREQ * i / RATE))
        samples.append(max(0, min(255, v)))

header = b"RIFF" + struct.pack("<I", 36 + len(samples)) + b"WAVE"
header += b"fmt " + struct.pack("<IHHIIHH", 16, 1, 1, RATE, RATE, 1, 8)
header += b"data" + struct.pack("<I", len(samples))
out = pathlib.Path(__file__).resolve().parent.parent / "src/controls/win32/alarm_tone.wav"
out.write_bytes(header + bytes(samples))
print(f"{out}: {len(header) + len(samples)} bytes")
