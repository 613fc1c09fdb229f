#!/usr/bin/env bash
# Installs the Debian packages of the named groups, only those missing. Safe to
# run again.
#   scripts/deps.sh GROUP...
#
#   run            building and running the program: compiler, CMake, Qt (with
#                  its translation tools), the
#                  ALSA and PulseAudio client libraries, a Japanese font
#   run-headless   a virtual display and a screenshot tool, for a machine
#                  without any display
#   run-nosound    a PulseAudio to start privately, for a machine without any
#                  sound server or sound card
#   run-wayland    Qt's Wayland platform, for a Wayland session without XWayland
#   package        building the Debian package (scripts/package.sh): the run
#                  group and the tools that compute its dependencies
#   test           everything the tests, the benchmarks and the package need:
#                  test libraries, the private sound servers (PulseAudio,
#                  PipeWire), virtual displays, window manager, tray, Wayland
#                  compositor, packaging and checking tools
#
# The run groups never install a sound server or session service next to the
# user's own: pipewire-pulse and pulseaudio both enable a user service for
# every later login, and two servers then fight over one socket.
set -euo pipefail

declare -A GROUP
GROUP[run]="cmake g++ ninja-build pkg-config ccache
  qt6-base-dev qt6-tools-dev qt6-l10n-tools libxkbcommon-dev libasound2-dev libpulse-dev
  fonts-ipafont-gothic"
GROUP[run-headless]="xvfb xdotool imagemagick"
GROUP[run-nosound]="pulseaudio pulseaudio-utils"
GROUP[run-wayland]="qt6-wayland"
GROUP[package]="${GROUP[run]} dpkg-dev file"
GROUP[test]="${GROUP[package]}
  libgtest-dev libgmock-dev libbenchmark-dev libxcb1-dev
  libasound2-plugins alsa-utils pulseaudio pulseaudio-utils sox
  pipewire pipewire-pulse wireplumber dbus-daemon
  xvfb x11-apps xdotool imagemagick openbox trayer librsvg2-bin
  weston xwayland qt6-wayland
  desktop-file-utils libglib2.0-bin appstream lintian man-db"

[ $# -gt 0 ] || { echo "usage: $0 GROUP... (run, run-headless, run-nosound, run-wayland, package, test)" >&2; exit 2; }
wanted=()
for group in "$@"; do
  [ -n "${GROUP[$group]:-}" ] || { echo "deps.sh: no group '$group'" >&2; exit 2; }
  # shellcheck disable=SC2206 # the lists are words
  wanted+=(${GROUP[$group]})
done

missing=()
for p in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
