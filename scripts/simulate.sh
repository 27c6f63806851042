#!/usr/bin/env bash
# Builds the simulator (Release, no sanitizers: it is a search) and plays
# years of the ring session against the model of the rules.
#   simulate.sh [--years N] [--from S] [--jobs J]   runs of two years each
#   simulate.sh --seed S [--log]                    one run, every step shown
# A failure prints the seed and the fewest events that still fail.
set -uo pipefail
cd "$(dirname "$0")/.."
cmake --preset sim >/dev/null && cmake --build --preset sim >/dev/null || exit 1
exec build/sim/tests/tivorra_sim "$@"
