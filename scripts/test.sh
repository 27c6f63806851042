#!/usr/bin/env bash
# Builds everything and runs every test: the layer check, the native tests
# under the sanitizers, a short fuzz of the files the program reads and of
# the alarm check, the clang build, and the Windows tests under Wine.
# Prints the closing counts of each part and the time it took, and exits
# non-zero when anything fails.
#
# The Wine tests spend their time waiting for windows, timers and other
# processes, not computing. So once the Windows build is done they run in
# the background while the native build, the fuzzing and the clang build
# use the processors at the lowest priority: the Wine tests get a processor
# the moment they want one, and the compilers take the rest.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
start=$(date +%s)
times=()
# Runs a part and notes how long it took.
timed() {
  local name="$1" t0
  shift
  t0=$(date +%s)
  "$@"
  local rc=$?
  times+=("$name $(($(date +%s) - t0)) s")
  return $rc
}

timed "apt" bash scripts/install-deps.sh || exit 1
source scripts/wine-env.sh

status=0
native_summary="native: not run"
wine_summary="wine: not run"
clang_summary="clang: not run"
fuzz_summary="fuzz: not run"
sim_summary="simulation: not run"
size_summary="size: not run"
imports_summary="imports: not run"
layers_summary="layers: not run"
imports_checked=()
# The executable stays under 450,000 bytes: below that, size no longer
# matters to a user. It was 353,280 bytes while parts of libstdc++ were
# replaced to save room, which is undefined behaviour; with the library's
# own terminate handler (its demangler and printf) and exception types
# back, an error boundary at every callback and thread-safe statics, it is
# about 449,500 bytes with GCC and 445,000 with clang, both linked by lld.
# A new feature that needs more says so here. Skipping an occurrence, days
# off with their dialog, the random tune, accessibility objects and high
# contrast took it to about 515,000 with GCC, and the dark app mode (its
# palette, the dark title bars and control styles, the tab control and
# push buttons drawn dark) to about 524,500, and the locked screen (session
# notices, the unheard rings) to about 529,500 with GCC and 535,000 with
# clang: the limit is 540,000 until that is won back.
max_exe_bytes=540000

layers() {
  # The check's own test runs first, so that a broken check cannot pass a
  # broken tree.
  if bash tests/layers/check_layers_test.sh; then
    local log
    log=$(bash scripts/check-layers.sh) || status=1
    echo "$log"
    layers_summary=$(tail -n1 <<<"$log")
  else
    status=1
    layers_summary="layers: the check's own test failed"
  fi
}
echo "== Layers"
timed "layers" layers

windows_build() {
  if cmake --preset windows >/dev/null && cmake --build --preset windows; then
    local bytes
    bytes=$(stat -c %s build/windows/Tivorra.exe)
    size_summary="size: Tivorra.exe $bytes bytes with GCC"
    imports_checked+=(build/windows/Tivorra.exe)
    if [ "$bytes" -ge "$max_exe_bytes" ]; then
      status=1
      size_summary="$size_summary, over the limit of $max_exe_bytes"
    fi
  else
    return 1
  fi
}
echo "== Windows build"
wine_log=$(mktemp)
wine_pid=""
wine_t0=0
if timed "windows build" windows_build; then
  echo "== Wine tests started in the background"
  wine_t0=$(date +%s)
  bash scripts/wine-tests.sh --suite >"$wine_log" 2>&1 &
  wine_pid=$!
else
  status=1
fi

native() {
  if nice -n 19 cmake --preset native >/dev/null && nice -n 19 cmake --build --preset native; then
    local log line
    log=$(mktemp)
    nice -n 19 build/native/tests/tivorra_tests --gtest_brief=1 >"$log" 2>&1
    [ $? -eq 0 ] || status=1
    grep -vE '^(\[ *(OK|RUN) *\]|Note:)' "$log" | grep -E '\[  (PASSED|FAILED|SKIPPED) |Failure|ERROR|runtime error' || true
    local passed failed
    passed=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) test.*/\1/p' "$log")
    failed=$(sed -n 's/^\[  FAILED  \] \([0-9]*\) tests\?,.*/\1/p' "$log")
    if [ -n "$passed" ]; then
      native_summary="native: $passed passed, ${failed:-0} failed"
    else
      status=1
      native_summary="native: the tests did not finish"
      tail -n 30 "$log"
    fi
    rm -f "$log"
  else
    status=1
  fi
}
echo "== Native build and tests"
timed "native" native

fuzz() {
  local log
  log=$(mktemp)
  nice -n 19 bash scripts/fuzz.sh >"$log" 2>&1 || status=1
  grep -E '^fuzz |ERROR|runtime error|fuzz target:|SUMMARY|error:|kept in' "$log"
  fuzz_summary=$(grep '^fuzz ' "$log" | paste -sd ';' -)
  fuzz_summary="${fuzz_summary:-fuzz: build failed}"
  rm -f "$log"
}

# A thousand years of the ring session against the model of its rules, on
# fixed seeds (scripts/simulate.sh searches further on demand). It runs
# beside the fuzzing, which runs one target at a time on one processor.
sim_log=$(mktemp)
echo "== Simulating the ring session, in the background"
sim_t0=$(date +%s)
nice -n 19 bash scripts/simulate.sh --years 1000 >"$sim_log" 2>&1 &
sim_pid=$!
simulation_result() {
  if wait "$sim_pid"; then
    sim_summary=$(grep '^simulated' "$sim_log")
  else
    status=1
    tail -n 60 "$sim_log"
    sim_summary="simulation: FAILED ($(grep -m1 'FAILED' "$sim_log" | cut -c1-200))"
  fi
  rm -f "$sim_log"
}

echo "== Fuzzing the files the program reads and the alarm check"
timed "fuzz" fuzz
echo "== Simulation"
simulation_result
times+=("simulation $(($(date +%s) - sim_t0)) s (beside the fuzzing)")

# The second compiler builds the program (warnings are errors there), so
# code that only GCC accepts cannot land.
clang_build() {
  if nice -n 19 cmake --preset windows-clang >/dev/null &&
    nice -n 19 cmake --build --preset windows-clang --target Tivorra; then
    local bytes
    bytes=$(stat -c %s build/windows-clang/Tivorra.exe)
    clang_summary="clang: Tivorra.exe built without warnings, $bytes bytes"
    imports_checked+=(build/windows-clang/Tivorra.exe)
    if [ "$bytes" -ge "$max_exe_bytes" ]; then
      status=1
      clang_summary="$clang_summary (limit $max_exe_bytes)"
    fi
  else
    status=1
    clang_summary="clang: build failed"
  fi
}
echo "== Windows build with clang"
timed "clang build" clang_build

if [ -n "$wine_pid" ]; then
  echo "== Wine tests"
  wait "$wine_pid" || status=1
  times+=("wine $(($(date +%s) - wine_t0)) s (beside the three parts before)")
  grep -vE '^wine: ' "$wine_log" || true
  wine_summary=$(grep '^wine: ' "$wine_log" | tail -n1)
  wine_summary="${wine_summary:-wine: did not finish}"
fi
rm -f "$wine_log"

# Only DLLs that Windows always takes from System32 may be imported: any
# other one planted beside the program would run inside it.
echo "== Import tables"
if [ ${#imports_checked[@]} -gt 0 ]; then
  if bash scripts/check-imports.sh "${imports_checked[@]}"; then
    imports_summary="imports: ${#imports_checked[@]} builds import only system DLLs"
  else
    status=1
    imports_summary="imports: a build imports a DLL that may be taken from the program's folder"
  fi
fi

echo "$layers_summary"
echo "$native_summary"
echo "$fuzz_summary"
echo "$sim_summary"
echo "$clang_summary"
echo "$size_summary"
echo "$imports_summary"
echo "$wine_summary"
times+=("total $(($(date +%s) - start)) s")
echo "time: $(printf '%s; ' "${times[@]}" | sed 's/; $//')"
exit $status
