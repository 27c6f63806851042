#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, ASan, UBSan) and runs each one
# from the seeds in fuzz/corpus/: alarm.rec's loader, the alarm check,
# config.cfg, Tivorra.ini (its signal values, its days off and working days)
# and Tivorra.state. New inputs go to a throw-away
# folder, so the seeds stay as they are. Prints a line a target with its
# executions a second, and exits non-zero on any finding (a crash, a
# sanitizer report, a broken check, a timeout).
#
#   fuzz.sh                  every seed replayed, then each target fuzzed
#                            for 5 s (what the test command runs)
#   fuzz.sh --minutes N      each target fuzzed for N minutes (the long search)
#   fuzz.sh --seconds S      each target fuzzed for S seconds
set -uo pipefail
cd "$(dirname "$0")/.."
seconds=5
while [ $# -gt 0 ]; do
  case "$1" in
    --minutes) seconds=$(($2 * 60)); shift ;;
    --seconds) seconds="$2"; shift ;;
    *) echo "usage: fuzz.sh [--minutes N | --seconds S]" >&2; exit 2 ;;
  esac
  shift
done

cmake --preset fuzz >/dev/null && cmake --build --preset fuzz || exit 1

work=$(mktemp -d /tmp/tivorra-fuzz.XXXXXX)
trap 'rm -rf "$work"' EXIT
status=0
# One target: the seeds first (libFuzzer runs every input of its corpus
# folders before it mutates any), then the search for `seconds`.
run() {
  local target="$1" seeds="$2" max_len="$3"
  mkdir -p "$work/$target/new" "$work/$target/findings"
  "build/fuzz/fuzz/$target" "$work/$target/new" "fuzz/corpus/$seeds" \
    -max_total_time="$seconds" -max_len="$max_len" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$work/$target/findings/" >"$work/$target.log" 2>&1
  local rc=$?
  local runs rate findings replayed
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/$target.log" | tail -n1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$work/$target.log" | tail -n1)
  replayed=$(find "fuzz/corpus/$seeds" -type f | wc -l)
  findings=$(find "$work/$target/findings" -type f | wc -l)
  echo "fuzz $target: $replayed seeds replayed, ${runs:-0} executions in ${seconds}s" \
    "(${rate:-0}/s), $findings findings"
  if [ "$rc" -ne 0 ] || [ "$findings" -ne 0 ]; then
    status=1
    grep -E 'ERROR|runtime error|fuzz target:|SUMMARY|Test unit written' "$work/$target.log" | head -n 20
    mkdir -p build/fuzz/findings
    cp "$work/$target/findings/"* build/fuzz/findings/ 2>/dev/null &&
      echo "the inputs are kept in build/fuzz/findings/"
  fi
}
# alarm.rec is built from 21 bytes and the start of each table.
run alarm_file_fuzz alarm_file 8192
# A store of up to 20 records and up to 64 ticks.
run alarm_check_fuzz alarm_check 1024
run settings_fuzz settings 64
run signal_settings_fuzz signal_settings 4096
run days_off_fuzz days_off 4096
# Up to 500 snoozes of 24 bytes.
run program_state_fuzz program_state 12288
exit $status
