#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, ASan, UBSan) and runs each one
# from the seeds in fuzz/corpus/ for a bounded time. New inputs go to a
# throw-away folder, so the seeds stay as they are. Exits non-zero on any
# finding (a crash, a sanitizer report, a broken check, a timeout).
#   fuzz.sh [SECONDS_FOR_ALARM_FILE] [SECONDS_FOR_SETTINGS]
set -uo pipefail
cd "$(dirname "$0")/.."
alarm_s="${1:-45}"
settings_s="${2:-15}"

cmake --preset fuzz >/dev/null && cmake --build --preset fuzz || exit 1

work=$(mktemp -d /tmp/tivorra-fuzz.XXXXXX)
trap 'rm -rf "$work"' EXIT
status=0
run() {
  local target="$1" seeds="$2" seconds="$3" max_len="$4"
  mkdir -p "$work/$target/new" "$work/$target/findings"
  "build/fuzz/fuzz/$target" "$work/$target/new" "fuzz/corpus/$seeds" \
    -max_total_time="$seconds" -max_len="$max_len" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$work/$target/findings/" >"$work/$target.log" 2>&1
  local rc=$?
  local runs findings
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/$target.log" | tail -n1)
  findings=$(find "$work/$target/findings" -type f | wc -l)
  echo "fuzz $target: ${runs:-0} executions in ${seconds}s, $findings findings"
  if [ "$rc" -ne 0 ] || [ "$findings" -ne 0 ]; then
    status=1
    grep -E 'ERROR|runtime error|fuzz target:|SUMMARY|Test unit written' "$work/$target.log" | head -n 20
    mkdir -p build/fuzz/findings
    cp "$work/$target/findings/"* build/fuzz/findings/ 2>/dev/null &&
      echo "the inputs are kept in build/fuzz/findings/"
  fi
}
# alarm.rec is 389,616 bytes, and 16 more choose the check's clock.
run alarm_file_fuzz alarm_file "$alarm_s" 389632
run settings_fuzz settings "$settings_s" 64
exit $status
