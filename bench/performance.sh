#!/usr/bin/env bash
# Measures Tivorra on this machine and prints one table (Markdown), each
# figure with its spread over the runs:
#   - ring latency: due second -> wake-up window visible, 2 runs of 20 alarms
#   - idle wake-ups per second over 60 s: the window shown, hidden in the
#     tray (next alarm an hour away), and a minimal Win32 window beside them
#   - start-up: process start -> main window visible, against the minimal
#     Win32 program and the same linked with Tivorra's imports and
#     manifest, 7 runs each, taken in turns
#   - with BEFORE=path/to/an/older/Tivorra.exe: that build measured the same
#     way in the same run (start-up, memory, wake-ups, ring latency)
#   - memory after start and with all 500 alarms loaded, exe sizes
#   - the alarm check's tick over 500 records, a save and a load of alarm.rec
# Everything runs under Wine on a private Xvfb, one thing at a time.
#   bash bench/performance.sh [RUNS=7]
set -euo pipefail
cd "$(dirname "$0")/.."
runs="${1:-7}"

if [ "${1:-}" != --inside ]; then
  echo "building..." >&2
  [ -f build/windows/build.ninja ] || cmake --preset windows >/dev/null
  cmake --build build/windows --target Tivorra >/dev/null
  if [ -f build/windows-clang/build.ninja ] || cmake --preset windows-clang >/dev/null 2>&1; then
    cmake --build build/windows-clang --target Tivorra >/dev/null || true
  fi
  [ -f build/bench/build.ninja ] || cmake --preset bench >/dev/null
  cmake --build build/bench --target tivorra_bench write_full_store >/dev/null
  work=$(mktemp -d /tmp/tivorra-perf.XXXXXX)
  trap 'rm -rf "$work"' EXIT
  cxx="x86_64-w64-mingw32-g++-posix -Os -municode -static"
  $cxx -o "$work/ring_latency.exe" bench/ring_latency.cpp
  $cxx -o "$work/window_probe.exe" bench/window_probe.cpp -lpsapi
  $cxx -mwindows -s -o "$work/minimal_window.exe" bench/minimal_window.cpp
  $cxx -mwindows -s -DMINIMAL_TIMER -o "$work/minimal_timer.exe" bench/minimal_window.cpp
  echo '1 24 "src/app/tivorra.manifest"' >"$work/manifest.rc"
  x86_64-w64-mingw32-windres -I. "$work/manifest.rc" -O coff -o "$work/manifest.o"
  $cxx -mwindows -s -DMINIMAL_IMPORTS -o "$work/minimal_imports.exe" bench/minimal_window.cpp \
    "$work/manifest.o" -lcomctl32 -lshell32 -lwinmm -lcomdlg32 -ladvapi32 -lmsimg32 -lole32
  if [ -n "${BEFORE:-}" ]; then cp "$BEFORE" "$work/Tivorra-before.exe"; fi
  echo "measuring under Wine (about 6 minutes)..." >&2
  timeout 1200 xvfb-run -a -s "-screen 0 1024x768x24" bash ${TIVORRA_TRACE:+-x} "$0" --inside "$work" "$runs" >&2
  {
    echo "exe_gcc=$(stat -c %s build/windows/Tivorra.exe)"
    [ -f build/windows-clang/Tivorra.exe ] && echo "exe_clang=$(stat -c %s build/windows-clang/Tivorra.exe)"
    echo "exe_minimal=$(stat -c %s "$work/minimal_window.exe")"
    echo "machine=$(nproc) cores, $(sed -n 's/^model name\s*: //p' /proc/cpuinfo | head -n1), $(wine --version 2>/dev/null | head -n1), $(. /etc/os-release; echo "$PRETTY_NAME")"
  } >>"$work/results"
  echo "native benchmarks..." >&2
  build/bench/bench/tivorra_bench --benchmark_filter='BM_TickOneSecond|BM_SaveFullStore|BM_LoadFullStore' \
    --benchmark_repetitions="$runs" --benchmark_format=json >"$work/native.json" 2>/dev/null
  # Kept, so the table can be printed again: bench/performance_table.py
  # build/performance-results.txt build/performance-native.json
  mkdir -p build
  cp "$work/results" build/performance-results.txt
  cp "$work/native.json" build/performance-native.json
  python3 bench/performance_table.py "$work/results" "$work/native.json"
  exit
fi

# --- Under Xvfb from here on -------------------------------------------------
work="$2"
runs="$3"
source scripts/wine-env.sh
export WINEPREFIX="$work/prefix"
tivorra_null_audio "$work"
tivorra_default_locale
tivorra_unmanaged_windows
wineserver -p 120 || true   # keep the server up between runs, as a desktop session does
out="$work/results"
: >"$out"
probe="$work/window_probe.exe"

folder() {  # a fresh program folder with Tivorra.exe (and the minimal program)
  local dir="$work/$1"
  mkdir -p "$dir"
  cp build/windows/Tivorra.exe "$work"/minimal_*.exe "$dir/"
  if [ -f "$work/Tivorra-before.exe" ]; then
    mkdir -p "$dir/before"
    cp "$work/Tivorra-before.exe" "$dir/before/Tivorra.exe"
  fi
  echo "$dir"
}
anon_kb() { awk '/^RssAnon:/ {print $2}' "/proc/$1/status"; }
# The newest process whose command starts with the program (the probe names
# it only later in its own command line).
linux_pid() { pgrep -n -f "^[^ ]*$1" || true; }

# Starts PROGRAM under the probe, waits SETTLE ms after its window shows,
# then prints "shown_ms anon_kb".
probe() {
  local exe="$1" title="$2" settle="$3" line pid anon
  coproc PROBE { wine "$probe" "$(winepath -w "$exe")" "$title" "$settle" 2>/dev/null; }
  read -r line <&"${PROBE[0]}" || line=""
  pid=$(linux_pid "$(basename "$exe" | sed 's/\./\\./g')")
  anon=$( [ -n "$pid" ] && anon_kb "$pid" || echo 0)
  echo >&"${PROBE[1]}"
  wait "$PROBE_PID" 2>/dev/null || true
  echo "$(sed -n 's/.*shown_ms=\([0-9]*\).*/\1/p' <<<"$line") $anon"
}

# Start-up and memory after start. The tray's first icon starts Wine's
# notification area, which takes seconds once per session: one run first,
# not counted, as a PC that has been up a while would have it.
plain=$(folder plain)
full=$(folder full)
build/bench/bench/write_full_store "$full"
probe "$plain/Tivorra.exe" Tivorra 3000 >/dev/null
probe "$plain/minimal_window.exe" Minimal 500 >/dev/null
for i in $(seq "$runs"); do
  read -r ms kb < <(probe "$plain/Tivorra.exe" Tivorra 3000)
  echo "start_tivorra=$ms" >>"$out"
  echo "memory_start=$kb" >>"$out"
  read -r ms kb < <(probe "$plain/minimal_window.exe" Minimal 3000)
  echo "start_minimal=$ms" >>"$out"
  echo "memory_minimal=$kb" >>"$out"
  read -r ms kb < <(probe "$plain/minimal_imports.exe" Minimal 3000)
  echo "start_imports=$ms" >>"$out"
  echo "memory_imports=$kb" >>"$out"
  if [ -d "$plain/before" ]; then
    read -r ms kb < <(probe "$plain/before/Tivorra.exe" Tivorra 3000)
    echo "start_before=$ms" >>"$out"
    echo "memory_before=$kb" >>"$out"
  fi
done
for i in 1 2 3; do
  read -r ms kb < <(probe "$full/Tivorra.exe" Tivorra 3000)
  echo "start_full=$ms" >>"$out"
  echo "memory_full=$kb" >>"$out"
done

# Ring latency: 2 runs of 20 countdowns 2 s apart.
for i in 1 2; do
  wine "$work/ring_latency.exe" "$(winepath -w "$plain/Tivorra.exe")" 20 2 2>/dev/null |
    sed -n 's/^rings: .*latency ms: *//p' | tr ' ' '\n' | sed "/^$/d; s/^/ring_run$i=/" >>"$out"
  if [ -d "$plain/before" ]; then
    wine "$work/ring_latency.exe" "$(winepath -w "$plain/before/Tivorra.exe")" 20 2 2>/dev/null |
      sed -n 's/^rings: .*latency ms: *//p' | tr ' ' '\n' | sed "/^$/d; s/^/ring_before$i=/" >>"$out"
  fi
done

# Idle wake-ups: context switches of all threads of each process, sampled
# every 10 s for 60 s, the three programs side by side.
switches() {
  cat /proc/"$1"/task/*/status 2>/dev/null | awk '/ctxt_switches/ {n += $2} END {print n + 0}'
}
shown=$(folder shown)
tray=$(folder tray)
python3 scripts/make-alarm-rec.py "$shown" --countdown 3600 --msg "Через час"
python3 scripts/make-alarm-rec.py "$tray" --countdown 3600 --msg "Через час"
(cd "$shown" && exec wine Tivorra.exe) >/dev/null 2>&1 &
p_shown=$!
(cd "$tray" && exec wine Tivorra.exe /minimize) >/dev/null 2>&1 &
p_tray=$!
(cd "$plain" && exec wine minimal_window.exe) >/dev/null 2>&1 &
p_min=$!
(cd "$plain" && exec wine minimal_timer.exe) >/dev/null 2>&1 &
p_timer=$!
names="shown tray min timer"
if [ -d "$shown/before" ]; then
  cp "$shown/alarm.rec" "$shown/before/"
  cp "$tray/alarm.rec" "$tray/before/"
  (cd "$shown/before" && exec wine Tivorra.exe) >/dev/null 2>&1 &
  p_beforeshown=$!
  (cd "$tray/before" && exec wine Tivorra.exe /minimize) >/dev/null 2>&1 &
  p_beforetray=$!
  names="$names beforeshown beforetray"
fi
sleep 10   # start-up settles
declare -A last
for name in $names; do
  pid_var="p_$name"
  last[$name]=$(switches "${!pid_var}")
done
for step in 1 2 3 4 5 6; do
  sleep 10
  for name in $names; do
    pid_var="p_$name"
    now=$(switches "${!pid_var}")
    echo "wakeups_$name=$(( now - last[$name] ))" >>"$out"
    last[$name]=$now
  done
done
echo "memory_tray=$(anon_kb "$p_tray")" >>"$out"
kill "$p_shown" "$p_tray" "$p_min" "$p_timer" ${p_beforeshown:-} ${p_beforetray:-} 2>/dev/null || true
wineserver -k >/dev/null 2>&1 || true
