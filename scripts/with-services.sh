#!/usr/bin/env bash
# Runs a command with the services the tests need: a private headless
# PulseAudio with a null sink "rec_sink", and an Xvfb display. Both are started
# here and stopped here by their process ids, never by name.
#   scripts/with-services.sh COMMAND [ARGS...]
set -uo pipefail

WORK=$(mktemp -d /tmp/nuvask-services.XXXXXX)
PIDS=()

stop_pid() { # SIGTERM, wait up to 3 s, then SIGKILL
  local pid=$1
  kill -0 "$pid" 2>/dev/null || return 0
  kill -TERM "$pid" 2>/dev/null
  for _ in $(seq 30); do kill -0 "$pid" 2>/dev/null || return 0; sleep 0.1; done
  kill -KILL "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
}
cleanup() {
  for pid in "${PIDS[@]}"; do stop_pid "$pid"; done
  rm -rf "$WORK"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# --- private PulseAudio -----------------------------------------------------
export XDG_RUNTIME_DIR="$WORK/runtime"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
export PULSE_RUNTIME_PATH="$XDG_RUNTIME_DIR/pulse"
export PULSE_STATE_PATH="$WORK/pulse-state"
export PULSE_SERVER="unix:$PULSE_RUNTIME_PATH/native"
unset DISPLAY_FOR_PULSE
env -u DISPLAY -u DBUS_SESSION_BUS_ADDRESS HOME="$WORK" \
  pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit --log-target=file:"$WORK/pulse.log" \
  -L module-native-protocol-unix -L "module-null-sink sink_name=rec_sink" -L module-always-sink \
  >/dev/null 2>&1 &
PULSE_PID=$!
PIDS+=("$PULSE_PID")
for _ in $(seq 100); do
  pactl info >/dev/null 2>&1 && break
  kill -0 "$PULSE_PID" 2>/dev/null || break
  sleep 0.1
done
if ! pactl info >/dev/null 2>&1; then
  echo "with-services: the private PulseAudio did not start:" >&2
  cat "$WORK/pulse.log" >&2 2>/dev/null
  exit 1
fi
pactl set-default-sink rec_sink >/dev/null 2>&1
pactl set-default-source rec_sink.monitor >/dev/null 2>&1
export NUVASK_TEST_PULSE_PID=$PULSE_PID

# --- Xvfb -------------------------------------------------------------------
exec 3>"$WORK/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >"$WORK/xvfb.log" 2>&1 &
XVFB_PID=$!
PIDS+=("$XVFB_PID")
exec 3>&-
for _ in $(seq 100); do
  [ -s "$WORK/display" ] && break
  kill -0 "$XVFB_PID" 2>/dev/null || break
  sleep 0.1
done
if [ ! -s "$WORK/display" ]; then
  echo "with-services: Xvfb did not start:" >&2
  cat "$WORK/xvfb.log" >&2
  exit 1
fi
export NUVASK_TEST_DISPLAY=":$(head -n1 "$WORK/display")"

"$@"
