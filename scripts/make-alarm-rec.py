#!/usr/bin/env python3
"""Writes an alarm.rec by hand, for trying Tivorra out before its editor
exists and for driving it from outside.

  make-alarm-rec.py DIR --countdown 5 --msg "Подъём!" [--exe FILE] [--music FILE]
  make-alarm-rec.py DIR --daily 07:30:00 --msg "..."

Several alarms may be given; each --countdown/--daily starts a new one and
the --msg/--exe/--music after it belong to it.
"""
import argparse
import datetime
import os
import struct

STORE_SIZE = 389616
TABLES = {"daily": (78400, 776), "countdown": (234400, 776)}
COUNTS = {"daily": 389602, "countdown": 389606}
EPOCH = datetime.datetime(1899, 12, 30)


def time_value(dt):
    delta = dt - EPOCH
    return delta.days + (delta.seconds + delta.microseconds / 1e6) / 86400.0


def text(value):
    data = value.encode("cp1251", errors="replace")[:255]
    return bytes([len(data)]) + data + bytes(255 - len(data))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("folder")
    parser.add_argument("--countdown", type=int, action="append", default=[],
                        help="seconds from now")
    parser.add_argument("--daily", action="append", default=[], help="HH:MM:SS")
    parser.add_argument("--msg", default="")
    parser.add_argument("--exe", default="")
    parser.add_argument("--music", default="")
    args = parser.parse_args()

    store = bytearray(STORE_SIZE)
    counts = {"daily": 0, "countdown": 0}

    def add(kind, alarm_time):
        offset, size = TABLES[kind]
        rec = offset + counts[kind] * size
        store[rec:rec + 768] = text(args.msg) + text(args.exe) + text(args.music)
        store[rec + 768:rec + 776] = struct.pack("<d", alarm_time)
        counts[kind] += 1

    for seconds in args.countdown:
        add("countdown", time_value(datetime.datetime.now() + datetime.timedelta(seconds=seconds)))
    for hms in args.daily:
        h, m, s = (int(x) for x in hms.split(":"))
        add("daily", (h * 3600 + m * 60 + s) / 86400.0)
    for kind, n in counts.items():
        store[COUNTS[kind]:COUNTS[kind] + 2] = struct.pack("<H", n)

    with open(os.path.join(args.folder, "alarm.rec"), "wb") as f:
        f.write(store)


if __name__ == "__main__":
    main()
