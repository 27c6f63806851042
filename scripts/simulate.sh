#!/usr/bin/env bash
# Builds the simulator (Release, no sanitizers: it is a search) and plays
# years of the ring session against the model of the rules.
#   simulate.sh [--years N] [--from S] [--jobs J]   runs of two years each
#   simulate.sh --seed S [--log]                    one run, every step shown
# A failure prints the seed and the fewest events that still fail.
set -uo pipefail
cd "$(dirname "$0")/.."
log=$(mktemp)
if ! { cmake --preset sim && cmake --build --preset sim; } >"$log" 2>&1; then
  tail -n 40 "$log"
  rm -f "$log"
  exit 1
fi
rm -f "$log"
exec build/sim/tests/tivorra_sim "$@"
