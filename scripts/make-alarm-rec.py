#!/usr/bin/env python3
"""Writes an alarm.rec by hand, for trying Tivorra out before its editor
exists and for driving it from outside.

  make-alarm-rec.py DIR --countdown 5 --msg "Подъём!" [--exe FILE] [--music FILE]
  make-alarm-rec.py DIR --daily 07:30:00 --msg "..."

Several alarms may be given; each --countdown/--daily starts a new one and
the --msg/--exe/--music after it belong to it. Those given before the first
alarm are what every alarm has that does not give its own.
"""
import argparse
import datetime
import os
import struct

STORE_SIZE = 389616
TABLES = {"daily": (78400, 776), "countdown": (234400, 776)}
COUNTS = {"daily": 389602, "countdown": 389606}
CAPACITY = 100  # records a table holds
EPOCH = datetime.datetime(1899, 12, 30)
FIELDS = ("msg", "exe", "music")


def time_value(dt):
    delta = dt - EPOCH
    return delta.days + (delta.seconds + delta.microseconds / 1e6) / 86400.0


def text(value):
    data = value.encode("cp1251", errors="replace")[:255]
    return bytes([len(data)]) + data + bytes(255 - len(data))


def seconds(value):
    # A negative count is a moment already past, which has its uses too.
    try:
        return int(value)
    except ValueError:
        raise argparse.ArgumentTypeError(f"not a whole number of seconds: {value!r}")


def time_of_day(value):
    parts = value.split(":")
    try:
        h, m, s = (int(x) for x in parts)
    except ValueError:
        raise argparse.ArgumentTypeError(f"not a time HH:MM:SS: {value!r}")
    if not (0 <= h < 24 and 0 <= m < 60 and 0 <= s < 60):
        raise argparse.ArgumentTypeError(f"not a time of day: {value!r}")
    return h * 3600 + m * 60 + s


class NewAlarm(argparse.Action):
    """--countdown and --daily: a new alarm, in the order given."""

    def __call__(self, parser, namespace, value, option_string=None):
        namespace.alarms.append({"kind": self.dest, "value": value})


class AlarmField(argparse.Action):
    """--msg, --exe, --music: of the alarm before it, or of every alarm."""

    def __call__(self, parser, namespace, value, option_string=None):
        if namespace.alarms:
            namespace.alarms[-1][self.dest] = value
        else:
            namespace.defaults[self.dest] = value


def parse(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("folder")
    parser.add_argument("--countdown", type=seconds, action=NewAlarm, metavar="SECONDS",
                        help="a new countdown alarm, due this many seconds from now")
    parser.add_argument("--daily", type=time_of_day, action=NewAlarm, metavar="HH:MM:SS",
                        help="a new daily alarm")
    for field, what in zip(FIELDS, ("TEXT", "FILE", "FILE")):
        parser.add_argument("--" + field, action=AlarmField, metavar=what,
                            help="of the alarm before it; before the first, of every alarm")
    parser.set_defaults(alarms=[], defaults={})
    args = parser.parse_args(argv)
    if not os.path.isdir(args.folder):
        parser.error(f"no such folder: {args.folder}")
    for kind in TABLES:
        n = sum(1 for a in args.alarms if a["kind"] == kind)
        if n > CAPACITY:
            parser.error(f"{n} --{kind} alarms: alarm.rec holds at most {CAPACITY}")
    return args


def main(argv=None):
    args = parse(argv)
    store = bytearray(STORE_SIZE)
    counts = {kind: 0 for kind in TABLES}
    now = datetime.datetime.now()
    for alarm in args.alarms:
        kind = alarm["kind"]
        if kind == "countdown":
            moment = time_value(now + datetime.timedelta(seconds=alarm["value"]))
        else:
            moment = alarm["value"] / 86400.0
        fields = [alarm.get(f, args.defaults.get(f, "")) for f in FIELDS]
        offset, size = TABLES[kind]
        rec = offset + counts[kind] * size
        store[rec:rec + 768] = b"".join(text(f) for f in fields)
        store[rec + 768:rec + 776] = struct.pack("<d", moment)
        counts[kind] += 1
    for kind, n in counts.items():
        store[COUNTS[kind]:COUNTS[kind] + 2] = struct.pack("<H", n)

    with open(os.path.join(args.folder, "alarm.rec"), "wb") as f:
        f.write(store)


if __name__ == "__main__":
    main()
