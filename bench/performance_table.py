#!/usr/bin/env python3
"""Prints bench/performance.sh's measurements as one Markdown table.

  performance_table.py RESULTS NATIVE.json

RESULTS holds key=value lines, a key repeated once per run; NATIVE.json is
Google Benchmark's output with repetitions.
"""
import collections
import json
import statistics
import sys


def load(path):
    values = collections.defaultdict(list)
    text = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            key, _, value = line.strip().partition("=")
            if not key:
                continue
            try:
                values[key].append(float(value))
            except ValueError:
                text[key] = value
    return values, text


def spread(xs, unit, digits=0):
    """median (min-max, n runs)"""
    if not xs:
        return "not measured"
    f = f"{{:.{digits}f}}"
    med = f.format(statistics.median(xs))
    return f"{med} {unit} ({f.format(min(xs))}-{f.format(max(xs))}, {len(xs)} runs)"


def per_second(counts, seconds=10):
    return [c / seconds for c in counts]


def main():
    values, text = load(sys.argv[1])
    with open(sys.argv[2], encoding="utf-8") as f:
        native = json.load(f)["benchmarks"]

    rows = []
    med = lambda k: statistics.median(values[k]) if values[k] else None
    ring = values["ring_run1"] + values["ring_run2"]
    run_medians = [statistics.median(values[k]) for k in ("ring_run1", "ring_run2") if values[k]]
    run_worsts = [max(values[k]) for k in ("ring_run1", "ring_run2") if values[k]]
    if ring:
        rows.append(("Ring latency, due second -> wake-up window visible",
                     f"median {statistics.median(ring):.0f} ms, worst {max(ring):.0f} ms "
                     f"over {len(ring)} alarms (run medians "
                     f"{', '.join(f'{m:.0f}' for m in run_medians)} ms; run worsts "
                     f"{', '.join(f'{m:.0f}' for m in run_worsts)} ms)",
                     "median < 60 ms, worst < 250 ms"))
    else:
        rows.append(("Ring latency", "no alarm rang", "median < 60 ms, worst < 250 ms"))
    before_ring = values["ring_before1"] + values["ring_before2"]
    if before_ring:
        rows.append(("Ring latency, the build before (same run)",
                     f"median {statistics.median(before_ring):.0f} ms, worst "
                     f"{max(before_ring):.0f} ms over {len(before_ring)} alarms", ""))

    def rate(key):
        return sum(values[key]) / (10 * len(values[key])) if values[key] else None
    timer = rate("wakeups_timer")
    for key, label, target in (
            ("wakeups_shown", "Idle wake-ups, window shown",
             "<= 1.5 x the minimal window with a 1 s timer"),
            ("wakeups_beforeshown", "Idle wake-ups, window shown, the build before (same run)", ""),
            ("wakeups_tray", "Idle wake-ups, hidden in the tray (next alarm in an hour)",
             "<= 1.1 /s"),
            ("wakeups_beforetray", "Idle wake-ups, in the tray, the build before (same run)", ""),
            ("wakeups_min", "Idle wake-ups, minimal Win32 window (reference)", ""),
            ("wakeups_timer", "Idle wake-ups, minimal window with a 1 s timer (reference)", "")):
        xs = per_second(values[key])
        if not xs and "before" in key:
            continue
        mean = rate(key)
        shown = (f"{mean:.2f} /s over {10 * len(xs)} s "
                 f"(10-s intervals {min(xs):.1f}-{max(xs):.1f} /s)" if xs else "not measured")
        if xs and timer and key in ("wakeups_shown", "wakeups_beforeshown"):
            shown += f"; {mean / timer:.2f} x the minimal window with a timer"
        rows.append((label, shown, target))

    def ratios(key):
        if not values[key] or not values["start_minimal"]:
            return ""
        text = f"; {med(key) / med('start_minimal'):.2f} x the minimal program"
        if values["start_imports"]:
            text += f", {med(key) / med('start_imports'):.2f} x the one with Tivorra's imports"
        return text
    rows.append(("Start-up, process start -> main window visible",
                 spread(values["start_tivorra"], "ms") + ratios("start_tivorra"),
                 "<= 2.0 x the minimal program (about 1.5 x the one with the imports)"))
    if values["start_before"]:
        rows.append(("Start-up, the build before (same run)",
                     spread(values["start_before"], "ms") + ratios("start_before"), ""))
    rows.append(("Start-up, minimal Win32 program (reference)", spread(values["start_minimal"], "ms"), ""))
    rows.append(("Start-up, minimal program with Tivorra's imports and manifest (reference)",
                 spread(values["start_imports"], "ms"), ""))
    rows.append(("Start-up with all 500 alarms", spread(values["start_full"], "ms"), ""))

    def mb(xs):
        return [x / 1024 for x in xs]
    def mem_ratio(key):
        if not values[key] or not values["memory_minimal"]:
            return ""
        return f"; {med(key) / med('memory_minimal'):.2f} x the minimal program"
    rows.append(("Private memory after start (RssAnon)",
                 spread(mb(values["memory_start"]), "MB", 1) + mem_ratio("memory_start"),
                 "<= 2 x the minimal program"))
    if values["memory_before"]:
        rows.append(("Private memory after start, the build before (same run)",
                     spread(mb(values["memory_before"]), "MB", 1) + mem_ratio("memory_before"), ""))
    rows.append(("Private memory with all 500 alarms", spread(mb(values["memory_full"]), "MB", 1), ""))
    if values["memory_tray"]:
        rows.append(("Private memory after 70 s in the tray",
                     f"{values['memory_tray'][0] / 1024:.1f} MB", ""))
    rows.append(("Private memory, minimal Win32 program (reference)",
                 spread(mb(values["memory_minimal"]), "MB", 1), ""))
    if values["memory_imports"]:
        rows.append(("Private memory, minimal program with Tivorra's imports and manifest (reference)",
                     spread(mb(values["memory_imports"]), "MB", 1), ""))

    sizes = f"{values['exe_gcc'][0]:,.0f} bytes with GCC"
    if values["exe_clang"]:
        sizes += f", {values['exe_clang'][0]:,.0f} with clang"
    rows.append(("Tivorra.exe", sizes, "< 360,000 bytes"))

    names = {"BM_TickOneSecond": "Alarm check, one tick over 500 records",
             "BM_SaveFullStore": "Save of alarm.rec with 500 records",
             "BM_LoadFullStore": "Load of alarm.rec with 500 records"}
    for name, label in names.items():
        times = [b["real_time"] for b in native
                 if b.get("run_name") == name and b.get("run_type") == "iteration"]
        unit = next((b["time_unit"] for b in native if b.get("run_name") == name), "us")
        rows.append((label + " (native)", spread(times, unit.replace("us", "µs"), 1), ""))

    print(f"Machine: {text.get('machine', 'unknown')}")
    print()
    print("| figure | measured: median (range, runs) | target |")
    print("|---|---|---|")
    for label, value, target in rows:
        print(f"| {label} | {value} | {target} |")
    print()
    print("Private memory is the Wine process's RssAnon (Wine does not fill "
          "Windows' private bytes counter). Wake-ups are context switches of "
          "all the process's threads.")


if __name__ == "__main__":
    main()
