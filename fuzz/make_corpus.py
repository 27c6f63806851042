#!/usr/bin/env python3
"""Writes the seed inputs of the fuzz targets into fuzz/corpus/<target>/,
replacing whatever each folder held. Each input's layout is described at the
top of its target's source.

alarm_file/      alarm.rec shapes: whole, short by one byte, short, empty,
                 missing, with counts past the tables
settings/        config.cfg files
"""
import os
import shutil
import struct

STORE_SIZE = 389616
DAY = 86400
SUNDAY_2024_03_10 = 45361  # day number since 30 December 1899


def text(value, encoding="cp1251"):
    data = value.encode(encoding)[:255]
    return bytes([len(data)]) + data + bytes(255 - len(data))


# --- alarm.rec -------------------------------------------------------------

def alarm_file(shape, fill=0, lacks=0, tail=b"", tables=b""):
    """shape: 0/1 short, 2 missing, 3-7 whole (bits 3-7: bytes past the store;
    bit 7 also: the last load left the file unread)."""
    head = bytes([shape, fill]) + struct.pack("<I", lacks)[:3]
    tail = tail.ljust(16, b"\0")
    return head + tail + tables


def one_record_each():
    """A record of each kind, each padded to 784 bytes: the target splits the
    rest of its input in five, one part a table."""
    texts = text("Подъём!\rПора") + text("C:\\Tools\\run.cmd") + text("Ы" * 255)
    time = (7 * 3600 + 30 * 60) / DAY
    date = texts + struct.pack("<dd", time, SUNDAY_2024_03_10)
    daily = texts + struct.pack("<d", time)
    weekly = bytes([0, 0, 0, 0, 0, 0, 1]) + texts + b"\0" + struct.pack("<d", time)
    countdown = texts + struct.pack("<d", SUNDAY_2024_03_10 + time)
    boot = texts + struct.pack("<d", 3601 / DAY)
    return b"".join(r.ljust(784, b"\0") for r in (date, daily, weekly, countdown, boot))


def alarm_file_seeds():
    counts = struct.pack("<5H", 1, 1, 1, 1, 1)
    return {
        "whole-zeros": alarm_file(3),
        "one-of-each": alarm_file(3, 0, 0, counts, one_record_each()),
        "counts-too-big": alarm_file(3 | 5 << 3, 0x5A, 0,
                                     struct.pack("<5H", 101, 65535, 200, 1000, 100) + b"resrvd"),
        "one-byte-short": alarm_file(0, 0x11, 0, counts, one_record_each()),
        "short-1000": alarm_file(1, 0x22, STORE_SIZE - 1 - 1000, counts),
        "empty-file": alarm_file(0, 0, STORE_SIZE - 1),
        "missing-after-unread": alarm_file(2 | 0x80),
        "whole-after-unread": alarm_file(3 | 0x80, 0xFF),
    }


# --- config.cfg --------------------------------------------------------------

def settings_seeds():
    return {
        "defaults": bytes(7),
        "list-and-editor": bytes([1, 1, 0, 1, 0, 0, 1]),
        "foreign-bytes": bytes([2, 255, 0, 1, 128, 0, 7, 9, 9]),
        "short": bytes([1, 0, 1]),
    }


def main():
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")
    targets = {
        "alarm_file": alarm_file_seeds(),
        "settings": settings_seeds(),
    }
    for folder, files in targets.items():
        path = os.path.join(root, folder)
        shutil.rmtree(path, ignore_errors=True)
        os.makedirs(path)
        for name, data in files.items():
            with open(os.path.join(path, name), "wb") as f:
                f.write(data)


if __name__ == "__main__":
    main()
