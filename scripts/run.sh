#!/usr/bin/env bash
# Installs what is missing, builds nuvASK and starts it against the user's
# sound system. Without a reachable sound server or sound card it starts a
# private PulseAudio (a virtual sound card) so that the program has a device
# to show; without a display it runs the program on a virtual one and writes
# a screenshot whose path it prints: on a first start that is the setup
# window, which is what a new user sees first.
set -uo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh || exit 1
bash scripts/build.sh || exit 1
. scripts/services.sh
trap services_stop_all EXIT
trap 'exit 130' INT TERM

has_cards() { grep -qv 'no soundcards' /proc/asound/cards 2>/dev/null && [ -s /proc/asound/cards ]; }
if ! pactl info >/dev/null 2>&1 && ! has_cards; then
  echo "No sound server or sound card found: starting a private PulseAudio as a virtual sound card."
  services_start_pulse || exit 1
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: running nuvASK on a virtual X display (Xvfb)."
  services_start_xvfb || exit 1
  export DISPLAY=$NUVASK_TEST_DISPLAY
  build/app/nuvask "$@" &
  app=$!
  SERVICES_PIDS+=("$app")
  sleep 3
  shot="$PWD/nuvask-screenshot.png"
  if import -display "$DISPLAY" -window root "$shot" 2>/dev/null; then
    echo "Screenshot of what the program shows first: $shot"
  fi
  echo "nuvASK runs on $DISPLAY (process $app). Press Ctrl-C to stop it."
  wait "$app"
  exit $?
fi

build/app/nuvask "$@"
