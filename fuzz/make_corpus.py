#!/usr/bin/env python3
"""Writes the seed inputs of the fuzz targets into fuzz/corpus/<target>/,
replacing whatever each folder held. Each input's layout is described at the
top of its target's source.

alarm_file/      alarm.rec shapes: whole, short by one byte, short, empty,
                 missing, with counts past the tables
alarm_check/     small stores and runs of ticks: every kind due in a steady
                 run, raw time values, a catch-up at the five-minute limit,
                 rings that deliver the next tick, daylight saving steps,
                 a free clock
settings/        config.cfg files
signal_settings/ Tivorra.ini in each encoding, with and without its mark
days_off/        Tivorra.ini's days off and working days: each kind of line,
                 bad ones, sections twice, each encoding
program_state/   Tivorra.state with 0, 1 and 3 snoozes, with skips, cut short, damaged
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


# --- the alarm check ---------------------------------------------------------

FREE, CATCH_UP, NESTED = 1, 2, 4
DATE, DAILY, WEEKLY, COUNTDOWN, BOOT = range(5)
EXACT = 0x80


def check_case(flags, start_ms_of_day, records, ticks, uptime_ms=3600000, gap=0,
               day=SUNDAY_2024_03_10):
    head = bytes([flags]) + struct.pack("<IIIH", day - 2, start_ms_of_day, uptime_ms,
                                        max(gap - 1, 0))
    return head + bytes([len(records)]) + b"".join(records) + b"".join(ticks)


def exact(kind, offset, mask=None, lengths=(12, 16, 255)):
    r = bytes([EXACT | kind]) + struct.pack("<h", offset)
    if kind == WEEKLY:
        r += bytes([mask])
    return r + bytes(lengths)


def raw(kind, time, date=0.0, days=bytes(7), lengths=(1, 0, 200)):
    r = bytes([kind]) + struct.pack("<d", time)
    if kind == DATE:
        r += struct.pack("<d", date)
    if kind == WEEKLY:
        r += days
    return r + bytes(lengths)


def tick(step_ms=1000, utc_seconds=0, local_minutes=0, free=False):
    """A steady tick: uptime moves step_ms (in 5 ms units), real time that
    and utc_seconds more, local time real time and local_minutes more. A free
    tick: uptime moves step_ms seconds, real time and local time each 2^|n|
    ms, n's sign the direction."""
    first = step_ms if free else step_ms // 5
    return struct.pack("<Hbb", first, utc_seconds, local_minutes)


def check_seeds():
    seven_thirty = (7 * 3600 + 30 * 60) * 1000
    every_kind = [exact(DATE, 1), exact(DAILY, 2), exact(WEEKLY, 1, 0x40),
                  exact(COUNTDOWN, 3), exact(BOOT, 2)]
    return {
        "every-kind-due": check_case(0, seven_thirty + 20, every_kind, [tick()] * 6),
        "weekly-on-other-days": check_case(0, seven_thirty + 20,
                                           [exact(WEEKLY, 1, 0x3F), exact(WEEKLY, 2, 0x7F)],
                                           [tick()] * 4),
        "raw-time-values": check_case(0, seven_thirty, [
            raw(DAILY, float("nan")), raw(DAILY, -0.25), raw(DATE, 0.3125, 1e300),
            raw(WEEKLY, (7 * 3600 + 30 * 60 + 1) / DAY, days=bytes([0, 0, 0, 0, 0, 0, 9])),
            raw(COUNTDOWN, SUNDAY_2024_03_10 + (7 * 3600 + 30 * 60 + 2) / DAY),
            raw(BOOT, 3601 / DAY), raw(BOOT, 3000000.5)], [tick()] * 5),
        "catch-up-five-minutes-late": check_case(CATCH_UP, seven_thirty, [
            exact(DAILY, -300), exact(DAILY, -301), exact(DATE, -3000), exact(COUNTDOWN, 0),
            exact(WEEKLY, -60, 0x40)], [tick()] * 3, gap=3600),
        "rings-deliver-the-next-tick": check_case(NESTED, seven_thirty + 999, [
            exact(DAILY, 0), exact(DAILY, 1), exact(DATE, 1), exact(DAILY, 2), exact(BOOT, 1)],
            [tick()] * 4),
        "daylight-saving-steps": check_case(0, 2 * 3600 * 1000 + 500, [
            exact(DAILY, 30), exact(DAILY, -1800), exact(DAILY, 3600), exact(COUNTDOWN, 1200)],
            [tick(), tick(1000, 0, 60), tick(), tick(1000, 0, -60), tick(), tick(60000, 0, -30),
             tick(300000), tick(300000, -120), tick(1000, 127, 0)]),
        "midnight": check_case(0, DAY * 1000 - 1500, [
            exact(DAILY, 0), exact(DAILY, 1), exact(WEEKLY, 1, 0x01), exact(DATE, 1),
            exact(COUNTDOWN, 2)], [tick()] * 4),
        "free-clock": check_case(FREE, seven_thirty, every_kind, [
            tick(1, 0, 0, True), tick(1, 40, 40, True), tick(0, -40, -40, True),
            tick(400, 30, 31, True), tick(0, 0, -20, True), tick(1, 1, 1, True)]),
        "free-clock-catch-up": check_case(FREE | CATCH_UP | NESTED, 0, every_kind,
                                          [tick(1, 20, 20, True)] * 3, gap=65536),
    }


# --- config.cfg --------------------------------------------------------------

def settings_seeds():
    return {
        "defaults": bytes(7),
        "list-and-editor": bytes([1, 1, 0, 1, 0, 0, 1]),
        "foreign-bytes": bytes([2, 255, 0, 1, 128, 0, 7, 9, 9]),
        "short": bytes([1, 0, 1]),
    }


# --- Tivorra.ini -------------------------------------------------------------

INI = ("; Мои настройки\r\n[Signal]\r\nSnoozeMinutes=15\r\nRingMinutes = 5 \r\n"
       "RaiseVolume=0\r\nMinVolume=80\r\nFadeSeconds=30\r\n\r\n[Other]\r\nExtra=да\r\n")


def ini_case(mode, body, place=0, value=45, changes=0b10101, values=(29, 2, 1, 55, 119)):
    return (bytes([mode, place]) + struct.pack("<hB", value, changes) + bytes(values) + body)


def utf16(s, bom):
    return (b"\xff\xfe" if bom else b"") + s.encode("utf-16-le")


def signal_settings_seeds():
    raw = 0
    units = lambda s: s.encode("utf-16-le")  # the text form of the input
    return {
        "ansi": ini_case(raw, INI.encode("cp1251")),
        "utf8": ini_case(raw, INI.encode("utf-8"), place=1),
        "utf8-mark": ini_case(raw, b"\xef\xbb\xbf" + INI.encode("utf-8"), place=2),
        "utf16-mark": ini_case(raw, utf16(INI, True), place=3),
        "utf16-no-mark": ini_case(raw, utf16(INI, False), place=4),
        "lf-only-no-last-break": ini_case(raw, b"[signal]\nsnoozeminutes=7\n[Other]\nX=1",
                                          place=7),
        "section-twice": ini_case(raw, b"[Signal]\r\nRingMinutes=1\r\n[Signal]\r\n"
                                       b"SnoozeMinutes=2\r\n", place=3 * 2),
        "no-section": ini_case(raw, b"; nothing here", place=2, changes=0),
        "nul-bytes": ini_case(raw, b"[Signal]\r\n" + bytes(71)),
        "bad-utf8-after-mark": ini_case(raw, b"\xef\xbb\xbf[Signal]\r\nX=\xc3\x28\r\n"),
        "text-as-ansi": ini_case(1, units(INI)),
        "text-as-utf8": ini_case(2, units(INI + "😀")),
        "text-as-utf8-mark": ini_case(3, units("\ufeff" + INI)),
        "text-as-utf16": ini_case(4, units(INI) + b"\x00\xd8"),
    }


# --- Tivorra.ini: days off ----------------------------------------------------

DAYS = ("; Праздники\r\n[Signal]\r\nSnoozeMinutes=5\r\n[DaysOff]\r\n"
        "2027-01-01..2027-01-08 = Новогодние каникулы\r\n2027-02-23\r\n2027-02-30\r\n"
        "# 2027-03-08\r\n\r\n[WorkDays]\r\n2027-11-06=Fri ; перенос\r\n2027-11-13 = сб\r\n"
        "2027-11-20=Friday\r\n[Other]\r\nx=1\r\n")


def days_case(work, offset, third, note, body):
    return bytes([work]) + struct.pack("<HBB", offset, third, note) + body


def days_off_seeds():
    return {
        "ansi": days_case(0, 31, 4, 1, DAYS.encode("cp1251")),
        "utf8": days_case(1, 40, 4, 2, DAYS.encode("utf-8")),
        "utf8-mark": days_case(0, 0, 7, 0, b"\xef\xbb\xbf" + DAYS.encode("utf-8")),
        "utf16-mark": days_case(1, 309, 4, 1, utf16(DAYS, True)),
        "utf16-no-mark": days_case(0, 6, 0, 3, utf16(DAYS, False)),
        "no-section": days_case(0, 100, 2, 1, b"[Signal]\r\nSnoozeMinutes=5"),
        "empty": days_case(1, 5, 5, 0, b""),
        "sections-twice-lf": days_case(0, 1, 1, 2, b"[daysoff]\n2026-12-31\n[Signal]\n"
                                                    b"[DAYSOFF]\n2027-01-01..2027-01-02=x"),
        "same-entry-held": days_case(0, 0, 7, 1, "[DaysOff]\n2027-01-01..2027-01-08 = Новый год\n"
                                                  "[WorkDays]\n".encode("utf-8")),
        "nul-bytes": days_case(1, 2, 3, 0, b"[WorkDays]\r\n" + bytes(41)),
    }


# --- Tivorra.state -----------------------------------------------------------

NO_SECOND = -(1 << 63)


def state_file(last, snoozes, skips=()):
    b = b"TVRSTATE" + struct.pack("<IIq", 2 if skips else 1, len(snoozes), last)
    for kind, unanswered, index, digest, due in snoozes:
        b += struct.pack("<BBHIQq", kind, unanswered, index, 0, digest, due)
    if skips:
        b += struct.pack("<I", len(skips))
        for kind, index, digest, second in skips:
            b += struct.pack("<BBHIQq", kind, 0, index, 0, digest, second)
    return b


def program_state_seeds():
    last = 3974112000  # 8 December 2025, 00:00
    one = [(DAILY, 0, 3, 0x0123456789ABCDEF, 1765180800000)]
    three = one + [(BOOT, 2, 100, 0xFFFFFFFFFFFFFFFF, -5), (WEEKLY, 1, 1, 0, 0)]
    raw = lambda b: b"\0" + b
    return {
        "no-snooze": raw(state_file(last, [])),
        "first-start": raw(state_file(NO_SECOND, [])),
        "one-snooze": raw(state_file(last, one)),
        "three-snoozes": raw(state_file(last, three)),
        "cut-in-a-snooze": raw(state_file(last, three)[:-5]),
        "count-one-more": raw(state_file(last, one)[:12] + struct.pack("<I", 2)
                              + state_file(last, one)[16:]),
        "junk": raw(b"junk\0\xff"),
        "skips": raw(state_file(last, one, [(DAILY, 3, 0x0123456789ABCDEF, last + DAY),
                                            (WEEKLY, 100, 7, last + 7 * DAY)])),
        "skip-count-zero": raw(state_file(last, one) [:8] + struct.pack("<I", 2)
                               + state_file(last, one)[12:] + struct.pack("<I", 0)),
        "built": b"\x01\x01" + struct.pack("<q", last) + bytes([0, 1, 2, 3]) + bytes(16)
                 + bytes([1, 1, 0, 5]) + bytes(16),
    }


def main():
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")
    targets = {
        "alarm_file": alarm_file_seeds(),
        "alarm_check": check_seeds(),
        "settings": settings_seeds(),
        "signal_settings": signal_settings_seeds(),
        "days_off": days_off_seeds(),
        "program_state": program_state_seeds(),
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
