#!/usr/bin/env python3
"""Writes the seed inputs of the fuzz targets into fuzz/corpus/.

alarm_file/ seeds are whole alarm.rec images (389,616 bytes), most followed
by the 16 bytes that choose the check's clock: a time value and the ms
since Windows started. settings/ seeds are config.cfg files.
"""
import os
import random
import struct

STORE_SIZE = 389616
TABLES = [(0, 784), (78400, 776), (156000, 784), (234400, 776), (312000, 776)]
COUNTS = 389600
NOW = 45361 + (7 * 3600 + 30 * 60) / 86400  # Sunday 10 March 2024, 07:30:00
UPTIME_MS = 3600000


def text(value, encoding="cp1251"):
    data = value.encode(encoding)[:255]
    return bytes([len(data)]) + data + bytes(255 - len(data))


def clock(local=NOW, uptime=UPTIME_MS):
    return struct.pack("<dQ", local, uptime)


def one_of_each():
    """One record of each kind, each due in the seconds the ticks examine."""
    b = bytearray(STORE_SIZE)
    second = lambda s: (7 * 3600 + 30 * 60 + s) / 86400
    texts = text("Подъём!\rПора") + text("C:\\Tools\\run.cmd") + text("Ы" * 255)
    b[0:768] = texts  # date
    b[768:784] = struct.pack("<dd", second(1), 45361.0)
    b[78400:78400 + 768] = texts  # daily
    b[78400 + 768:78400 + 776] = struct.pack("<d", second(2))
    w = 156000  # weekly, Sunday only
    b[w:w + 7] = bytes([0, 0, 0, 0, 0, 0, 1])
    b[w + 7:w + 775] = texts
    b[w + 776:w + 784] = struct.pack("<d", second(1))
    b[234400:234400 + 768] = texts  # countdown
    b[234400 + 768:234400 + 776] = struct.pack("<d", 45361 + second(2))
    b[312000:312000 + 768] = texts  # boot countdown, one hour and a second
    b[312000 + 768:312000 + 776] = struct.pack("<d", 3601 / 86400)
    b[COUNTS:COUNTS + 10] = struct.pack("<5H", 1, 1, 1, 1, 1)
    return bytes(b)


def noisy(counts, seed):
    rng = random.Random(seed)
    b = bytearray(rng.getrandbits(8) for _ in range(STORE_SIZE))
    for start, size in TABLES:
        for i in range(100):
            rec = start + i * size
            # Times near now, so that some of the noise is due.
            b[rec + size - 8:rec + size] = struct.pack("<d", NOW + rng.randint(0, 3) / 86400)
    b[COUNTS:COUNTS + 10] = struct.pack("<5H", *counts)
    return bytes(b)


def main():
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")
    alarm = {
        "empty-store": bytes(STORE_SIZE),
        "one-of-each": one_of_each() + clock(),
        "full-tables": noisy([100] * 5, 1) + clock(),
        "counts-too-big": noisy([101, 65535, 200, 1000, 100], 2) + clock(NOW, 0),
        "short": one_of_each()[:1000],
    }
    settings = {
        "defaults": bytes(7),
        "list-and-editor": bytes([1, 1, 0, 1, 0, 0, 1]),
        "foreign-bytes": bytes([2, 255, 0, 1, 128, 0, 7, 9, 9]),
        "short": bytes([1, 0, 1]),
    }
    for folder, files in (("alarm_file", alarm), ("settings", settings)):
        os.makedirs(os.path.join(root, folder), exist_ok=True)
        for name, data in files.items():
            with open(os.path.join(root, folder, name), "wb") as f:
                f.write(data)


if __name__ == "__main__":
    main()
