#!/usr/bin/env bash
# Runs the built Windows tests under Wine in a throw-away prefix. Arguments
# go to the test program (for example --gtest_filter=Controls*).
set -uo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-env.sh
prefix=$(mktemp -d /tmp/tivorra-wine.XXXXXX)
export WINEPREFIX="$prefix"
tivorra_null_audio "$prefix"
timeout 900 xvfb-run -a -s "-screen 0 1024x768x24" \
  bash -c 'source scripts/wine-env.sh; tivorra_unmanaged_windows; wine "$@"; rc=$?; wineserver -k >/dev/null 2>&1; exit $rc' _ \
  "$(pwd)/build/windows/tests/tivorra_tests.exe" "$@"
rc=$?
rm -rf "$prefix"
exit $rc
