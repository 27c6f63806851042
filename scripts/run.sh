#!/usr/bin/env bash
# Builds Tivorra.exe and starts it under Wine. Uses $DISPLAY when there is
# one, otherwise a private Xvfb. Extra arguments go to Tivorra.exe
# (for example /minimize).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

bash scripts/install-deps.sh
source scripts/wine-env.sh
tivorra_default_locale
cmake --preset windows >/dev/null
cmake --build --preset windows --target Tivorra

export WINEPREFIX="${WINEPREFIX:-$HOME/.local/share/tivorra-wine}"
mkdir -p "$WINEPREFIX"
# Without a sound card, sound goes to ALSA's null device so alarms still play.
if ! grep -qs '^ *[0-9]' /proc/asound/cards; then tivorra_null_audio "$WINEPREFIX"; fi


exe="$root/build/windows/Tivorra.exe"
echo "Tivorra keeps alarm.rec and config.cfg beside $exe"
if [ -n "${DISPLAY:-}" ]; then
  exec wine "$exe" "$@"
else
  echo "No \$DISPLAY: starting Tivorra on a private Xvfb (nothing will be visible here)."
  exec xvfb-run -a -s "-screen 0 1024x768x24" wine "$exe" "$@"
fi
