#!/usr/bin/env bash
# Installs the Debian packages nuvASK needs to build, run and test, and only
# those that are missing. Safe to run again.
set -euo pipefail

PACKAGES=(
  cmake g++ make ninja-build pkg-config ccache
  qt6-base-dev libxkbcommon-dev libgtest-dev libgmock-dev libbenchmark-dev
  libasound2-dev libasound2-plugins alsa-utils
  desktop-file-utils libglib2.0-bin
  pulseaudio pulseaudio-utils sox
  xvfb x11-apps xdotool imagemagick fonts-ipafont-gothic
  openbox libxcb1-dev
  trayer librsvg2-bin
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
