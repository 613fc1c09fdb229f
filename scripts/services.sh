# Sourced by the scripts that need a private sound server or X display.
# Everything started here is remembered by process id and stopped by that id
# (SIGTERM, up to 3 s, then SIGKILL), never by name.

SERVICES_WORK=$(mktemp -d /tmp/nuvask-services.XXXXXX)
SERVICES_PIDS=()

services_stop_pid() {
  local pid=$1
  kill -0 "$pid" 2>/dev/null || return 0
  kill -TERM "$pid" 2>/dev/null
  for _ in $(seq 30); do kill -0 "$pid" 2>/dev/null || return 0; sleep 0.1; done
  kill -KILL "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  return 0
}

services_stop_all() {
  local pid
  for pid in "${SERVICES_PIDS[@]}"; do services_stop_pid "$pid"; done
  SERVICES_PIDS=()
  rm -rf "$SERVICES_WORK"
}

# A private headless PulseAudio with a null sink "rec_sink" (its monitor is the
# default source), reachable through ALSA's "default" device by the pulse
# plugin. Exports PULSE_SERVER, XDG_RUNTIME_DIR and NUVASK_TEST_PULSE_PID.
services_start_pulse() {
  export XDG_RUNTIME_DIR="$SERVICES_WORK/runtime"
  mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
  export PULSE_RUNTIME_PATH="$XDG_RUNTIME_DIR/pulse"
  export PULSE_STATE_PATH="$SERVICES_WORK/pulse-state"
  export PULSE_SERVER="unix:$PULSE_RUNTIME_PATH/native"
  env -u DISPLAY -u DBUS_SESSION_BUS_ADDRESS HOME="$SERVICES_WORK" \
    pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit \
    --log-target=file:"$SERVICES_WORK/pulse.log" \
    -L module-native-protocol-unix -L "module-null-sink sink_name=rec_sink" -L module-always-sink \
    >/dev/null 2>&1 &
  local pid=$!
  SERVICES_PIDS+=("$pid")
  for _ in $(seq 100); do
    pactl info >/dev/null 2>&1 && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if ! pactl info >/dev/null 2>&1; then
    echo "The private PulseAudio did not start:" >&2
    cat "$SERVICES_WORK/pulse.log" >&2 2>/dev/null
    return 1
  fi
  pactl set-default-sink rec_sink >/dev/null 2>&1
  pactl set-default-source rec_sink.monitor >/dev/null 2>&1
  export NUVASK_TEST_PULSE_PID=$pid
}

# An Xvfb display chosen by Xvfb itself (-displayfd). Exports
# NUVASK_TEST_DISPLAY (":N") and NUVASK_XVFB_PID.
services_start_xvfb() {
  local fdfile="$SERVICES_WORK/display"
  exec 3>"$fdfile"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >"$SERVICES_WORK/xvfb.log" 2>&1 &
  local pid=$!
  exec 3>&-
  SERVICES_PIDS+=("$pid")
  for _ in $(seq 100); do
    [ -s "$fdfile" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if [ ! -s "$fdfile" ]; then
    echo "Xvfb did not start:" >&2
    cat "$SERVICES_WORK/xvfb.log" >&2
    return 1
  fi
  export NUVASK_TEST_DISPLAY=":$(head -n1 "$fdfile")"
  export NUVASK_XVFB_PID=$pid
}

# A real XEmbed notification area on the Xvfb display: trayer docked at the
# top right, 200 x 32 pixels, reserving no screen space (it must not shift the
# work area other tests measure). Ready when it owns the tray selection, which
# takes a few tens of milliseconds. Needs services_start_xvfb first. Exports
# NUVASK_TEST_TRAYER_PID.
services_start_trayer() {
  [ -n "${NUVASK_TEST_DISPLAY:-}" ] || { echo "trayer needs the Xvfb display" >&2; return 1; }
  DISPLAY="$NUVASK_TEST_DISPLAY" trayer --edge top --align right --widthtype pixel --width 200 \
    --heighttype pixel --height 32 --SetDockType true --SetPartialStrut false --transparent false \
    >"$SERVICES_WORK/trayer.log" 2>&1 &
  local pid=$!
  SERVICES_PIDS+=("$pid")
  for _ in $(seq 100); do
    DISPLAY="$NUVASK_TEST_DISPLAY" xdotool search --onlyvisible --class trayer >/dev/null 2>&1 && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.05
  done
  if ! kill -0 "$pid" 2>/dev/null; then
    echo "trayer did not start:" >&2
    cat "$SERVICES_WORK/trayer.log" >&2
    return 1
  fi
  export NUVASK_TEST_TRAYER_PID=$pid
}
