#!/usr/bin/env bash
# Installs what building, running and testing Tivorra on Debian needs.
# Idempotent: prints nothing and installs nothing when everything is present.
set -euo pipefail

packages=(
  cmake g++ make ninja-build
  libgtest-dev googletest libbenchmark-dev
  g++-mingw-w64-x86-64-posix mingw-w64-tools
  clang lld libclang-rt-14-dev
  wine wine64
  xvfb xauth x11-utils imagemagick fonts-liberation
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  libasound2
  lame
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
