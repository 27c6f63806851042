# Sourced by the run and test scripts: a private Wine for Tivorra.
# Wine must not try to install Mono or Gecko: there is no network.
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree=;mshtml=}"

# The machines have no sound card. ALSA's null device lets Wine see one
# wave device that discards the sound, so MCI can open and play.
tivorra_null_audio() {
  local dir="$1"
  cat >"$dir/asound-null.conf" <<'CONF'
pcm.!default { type null }
ctl.!default { type hw card 0 }
CONF
  export ALSA_CONFIG_PATH="/usr/share/alsa/alsa.conf:$dir/asound-null.conf"
}

# Without a window manager, Wine waits up to two seconds for X to confirm
# that a managed window was hidden. Unmanaged windows are not waited for,
# which keeps the window tests fast. The prefix's desktop process reads the
# value once, when it starts, and the first `wine` of a new prefix starts
# it before the value is written: the prefix is stopped after the write, so
# that every program started from now on finds the desktop reading it.
tivorra_unmanaged_windows() {
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
}

# The interface is Russian: where the shell has no language of its own
# (C or POSIX, as on build machines), Wine is given the Russian locale so
# the clock shows Russian dates and times.
tivorra_default_locale() {
  case "${LC_ALL:-${LANG:-C}}" in
    C|C.*|POSIX|"") export LANG=ru_RU.UTF-8 LC_ALL=ru_RU.UTF-8 ;;
  esac
}

# The screen's scale for the prefix's programs: 96 dots per inch is 100 %,
# 144 is 150 %. Takes effect for programs started after it.
tivorra_dpi() {
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
}

# Runs a command with the prefix's programs at that scale.
tivorra_at_scale() {
  tivorra_dpi "$1"
  shift
  "$@"
}
