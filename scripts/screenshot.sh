#!/usr/bin/env bash
# Starts the built Tivorra.exe on a private Xvfb, waits, and saves a
# screenshot of the whole screen. Usage: screenshot.sh OUT.png [SECONDS] [ARGS...]
# Set TIVORRA_DIR to run a copy of the program from another folder,
# TIVORRA_EXE to run another program of the build (tests/gallery.exe shows
# every kind of control), and TIVORRA_DPI for the screen's scale (96, 144).
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "$1"); wait_s="${2:-6}"; shift $(( $# >= 2 ? 2 : 1 ))
source scripts/wine-env.sh
tivorra_default_locale
export WINEPREFIX="${WINEPREFIX:-$HOME/.local/share/tivorra-wine}"
mkdir -p "$WINEPREFIX"
tivorra_null_audio "$WINEPREFIX"
dir="${TIVORRA_DIR:-$(pwd)/build/windows}"
exe="${TIVORRA_EXE:-Tivorra.exe}"
# The programs to look at are built when asked for, not with the tests.
if [ -z "${TIVORRA_DIR:-}" ]; then
  cmake --preset windows >/dev/null
  cmake --build --preset windows --target "$(basename "$exe" .exe)" >/dev/null
fi
tivorra_dpi "${TIVORRA_DPI:-96}"
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  wine "$1/'"$exe"'" "${@:4}" & sleep "$2"; import -window root "$3"; xwininfo -root -tree | grep -E "\"[^\"]+\": \(" | grep -v -E "has no name|Wine" | head -n 8; wineserver -k' \
  _ "$dir" "$wait_s" "$out" "$@"
echo "saved $out"
