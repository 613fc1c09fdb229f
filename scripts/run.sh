#!/usr/bin/env bash
# Installs what building and running need, builds nuvASK (the program alone,
# optimised, into build-release/) and starts it against the user's sound
# system.
#
# It installs no test tool and never touches the user's sound system or
# desktop. Only on a machine that has none of them does it add what is
# missing: without a reachable sound server or sound card it installs
# PulseAudio and starts a private one (a virtual sound card) for this run, so
# that the program has a device to show; without a display it runs the
# program on a virtual one (Xvfb) and writes a screenshot whose path it
# prints: on a first start that is the setup window, which is what a new user
# sees first.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1

has_cards() { grep -qv 'no soundcards' /proc/asound/cards 2>/dev/null && [ -s /proc/asound/cards ]; }
# Without pactl (it comes with the sound server's tools, which a desktop may
# lack) the server's socket tells.
has_server() {
  if command -v pactl >/dev/null 2>&1; then
    pactl info >/dev/null 2>&1
    return
  fi
  local socket=${PULSE_SERVER:-${XDG_RUNTIME_DIR:-/run/user/$(id -u)}/pulse/native}
  [ -S "${socket#unix:}" ]
}

groups=(run)
no_display=""
[ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && no_display=1
[ -n "$no_display" ] && groups+=(run-headless)
# A Wayland session without XWayland: the program can only use Qt's Wayland platform.
[ -z "${DISPLAY:-}" ] && [ -n "${WAYLAND_DISPLAY:-}" ] && groups+=(run-wayland)
no_sound=""
has_server || has_cards || no_sound=1
[ -n "$no_sound" ] && groups+=(run-nosound)

bash scripts/deps.sh "${groups[@]}" || exit 1
bash scripts/build-release.sh || exit 1
PROGRAM="$PWD/build-release/app/nuvask"

. scripts/services.sh
trap services_stop_all EXIT
trap 'exit 130' INT TERM

if [ -n "$no_sound" ]; then
  echo "No sound server or sound card found: starting a private PulseAudio as a virtual sound card."
  services_start_pulse || exit 1
fi

if [ -n "$no_display" ]; then
  echo "No display found: running nuvASK on a virtual X display (Xvfb)."
  services_start_xvfb || exit 1
  export DISPLAY=$NUVASK_TEST_DISPLAY
  "$PROGRAM" "$@" &
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

"$PROGRAM" "$@"
