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
  # Newest first: a window manager goes before its display.
  local i pid
  services_report_dead_pulse
  # Servers a test started again, newest first too.
  if [ -f "$SERVICES_WORK/restarted.pids" ]; then
    for pid in $(tac "$SERVICES_WORK/restarted.pids"); do services_stop_pid "$pid"; done
  fi
  for ((i = ${#SERVICES_PIDS[@]} - 1; i >= 0; i--)); do services_stop_pid "${SERVICES_PIDS[i]}"; done
  SERVICES_PIDS=()
  rm -rf "$SERVICES_WORK"
}

# A private PulseAudio that stopped before the end (no test stops it) takes
# its log with it: its last lines go to the run's output instead.
services_report_dead_pulse() {
  local pid=${SERVICES_PULSE_PID:-}
  [ -n "$pid" ] && ! kill -0 "$pid" 2>/dev/null || return 0
  echo "== The private PulseAudio (pid $pid) stopped before the end of the run; the end of its log:" >&2
  tail -n 40 "$SERVICES_WORK/pulse.log" >&2 2>/dev/null
}

# A private headless PulseAudio with a null sink "rec_sink" (its monitor is the
# default source), reachable through ALSA's "default" device by the pulse
# plugin. Exports PULSE_SERVER, XDG_RUNTIME_DIR, NUVASK_TEST_PULSE_PID and the
# defaults (NUVASK_TEST_DEFAULT_SINK, NUVASK_TEST_DEFAULT_SOURCE).
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
  # What the sound-server tests put back before each test.
  export NUVASK_TEST_DEFAULT_SINK=rec_sink NUVASK_TEST_DEFAULT_SOURCE=rec_sink.monitor
  export NUVASK_TEST_PULSE_PID=$pid
  SERVICES_PULSE_PID=$pid
}

# Starts an Xvfb display chosen by Xvfb itself (-displayfd) and sets
# SERVICES_DISPLAY (":N") and SERVICES_XVFB_PID. $1 names its files.
services_new_xvfb() {
  local fdfile="$SERVICES_WORK/$1.display"
  exec 3>"$fdfile"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset >"$SERVICES_WORK/$1.log" 2>&1 &
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
    cat "$SERVICES_WORK/$1.log" >&2
    return 1
  fi
  SERVICES_DISPLAY=":$(head -n1 "$fdfile")"
  SERVICES_XVFB_PID=$pid
  # Xvfb names its display a moment before it takes connections; a client
  # started at once is now and then refused. Wait until one is answered.
  if command -v xdotool >/dev/null 2>&1; then
    for _ in $(seq 100); do
      DISPLAY="$SERVICES_DISPLAY" xdotool getdisplaygeometry >/dev/null 2>&1 && return 0
      sleep 0.05
    done
    echo "Xvfb on $SERVICES_DISPLAY does not answer:" >&2
    cat "$SERVICES_WORK/$1.log" >&2
    return 1
  fi
}

# An Xvfb display without a window manager. Exports NUVASK_TEST_DISPLAY
# (":N") and NUVASK_XVFB_PID.
services_start_xvfb() {
  services_new_xvfb xvfb || return 1
  export NUVASK_TEST_DISPLAY=$SERVICES_DISPLAY
  export NUVASK_XVFB_PID=$SERVICES_XVFB_PID
}

# A second Xvfb display managed by openbox with its stock configuration
# (title bar and borders), for what only a real window manager shows: frames,
# work areas left by panels. Exports NUVASK_TEST_WM_DISPLAY and
# NUVASK_OPENBOX_PID. Skipped, with a note, when openbox is not installed.
services_start_openbox() {
  command -v openbox >/dev/null 2>&1 || { echo "openbox not installed: window-manager tests skip" >&2; return 0; }
  services_new_xvfb openbox-xvfb || return 1
  local ready="$SERVICES_WORK/openbox.ready"
  mkdir -p "$SERVICES_WORK/openbox-home"
  # --startup runs once openbox manages the screen.
  env -u DBUS_SESSION_BUS_ADDRESS -u SESSION_MANAGER DISPLAY="$SERVICES_DISPLAY" HOME="$SERVICES_WORK/openbox-home" \
    XDG_CONFIG_HOME="$SERVICES_WORK/openbox-home/.config" XDG_CACHE_HOME="$SERVICES_WORK/openbox-home/.cache" \
    openbox --sm-disable --startup "touch $ready" >"$SERVICES_WORK/openbox.log" 2>&1 &
  local pid=$!
  SERVICES_PIDS+=("$pid")
  for _ in $(seq 100); do
    [ -e "$ready" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if [ ! -e "$ready" ]; then
    echo "openbox did not start:" >&2
    cat "$SERVICES_WORK/openbox.log" >&2
    return 1
  fi
  export NUVASK_TEST_WM_DISPLAY=$SERVICES_DISPLAY
  export NUVASK_OPENBOX_PID=$pid
}

# A headless Wayland compositor (weston) that runs XWayland, as the Wayland
# sessions of GNOME and KDE Plasma do: a program sees WAYLAND_DISPLAY and
# DISPLAY both. weston starts Xwayland itself at the first X client and stops
# it when it ends. Its debug protocol is on, so that a test can ask it where
# it put a window (weston-debug scene-graph). Exports
# NUVASK_TEST_WAYLAND_DISPLAY (the socket's absolute path, which clients take
# as WAYLAND_DISPLAY), NUVASK_TEST_XWAYLAND_DISPLAY (":N") and
# NUVASK_WESTON_PID. Skipped, with a note, when weston or Xwayland is not
# installed.
services_start_weston() {
  command -v weston >/dev/null 2>&1 && command -v Xwayland >/dev/null 2>&1 ||
    { echo "weston or Xwayland not installed: Wayland tests skip" >&2; return 0; }
  local runtime="$SERVICES_WORK/weston-runtime" log="$SERVICES_WORK/weston.log"
  mkdir -p "$runtime" && chmod 700 "$runtime"
  env -u DISPLAY -u WAYLAND_DISPLAY -u DBUS_SESSION_BUS_ADDRESS XDG_RUNTIME_DIR="$runtime" \
    weston --backend=headless-backend.so --use-pixman --width=1280 --height=1024 --xwayland \
    --socket=wayland-nuvask --no-config --debug --log="$log" >/dev/null 2>&1 &
  local pid=$! display=""
  SERVICES_PIDS+=("$pid")
  for _ in $(seq 100); do
    display=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$log" 2>/dev/null | tail -n1)
    [ -n "$display" ] && [ -S "$runtime/wayland-nuvask" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if [ -z "$display" ] || [ ! -S "$runtime/wayland-nuvask" ]; then
    echo "weston did not start:" >&2
    cat "$log" >&2
    return 1
  fi
  export NUVASK_TEST_WAYLAND_DISPLAY="$runtime/wayland-nuvask"
  export NUVASK_TEST_XWAYLAND_DISPLAY=$display
  export NUVASK_WESTON_PID=$pid
}

# A real XEmbed notification area on the Xvfb display: trayer docked at the
# top right, 200 x 32 pixels, reserving no screen space (it must not shift the
# work area other tests measure). Ready once its panel is mapped, which it does
# after taking the tray selection: a few tens of milliseconds. Needs
# services_start_xvfb first. Exports NUVASK_TEST_TRAYER_PID, and for a test
# that takes the notification area away and brings it back
# NUVASK_TEST_TRAYER_PIDFILE (the process id of the trayer running now) and
# NUVASK_TEST_TRAYER_RESTART (a command that starts it again and records the
# new process id there and for services_stop_all). Skipped, with a note, when
# trayer or xdotool is not installed.
services_trayer_launch() {
  DISPLAY="$NUVASK_TEST_DISPLAY" trayer --edge top --align right --widthtype pixel --width 200 \
    --heighttype pixel --height 32 --SetDockType true --SetPartialStrut false --transparent false \
    >>"$SERVICES_WORK/trayer.log" 2>&1 </dev/null &
  local pid=$!
  echo "$pid" >"$SERVICES_WORK/trayer.pid"
  for _ in $(seq 100); do
    DISPLAY="$NUVASK_TEST_DISPLAY" xdotool search --onlyvisible --class trayer >/dev/null 2>&1 && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.05
  done
  kill -0 "$pid" 2>/dev/null
}

services_start_trayer() {
  [ -n "${NUVASK_TEST_DISPLAY:-}" ] || { echo "trayer needs the Xvfb display" >&2; return 1; }
  command -v trayer >/dev/null 2>&1 && command -v xdotool >/dev/null 2>&1 ||
    { echo "trayer or xdotool not installed: tray tests skip" >&2; return 0; }
  if ! services_trayer_launch; then
    echo "trayer did not start:" >&2
    cat "$SERVICES_WORK/trayer.log" >&2
    return 1
  fi
  local pid
  pid=$(cat "$SERVICES_WORK/trayer.pid")
  SERVICES_PIDS+=("$pid")
  export NUVASK_TEST_TRAYER_PID=$pid
  export NUVASK_TEST_TRAYER_PIDFILE="$SERVICES_WORK/trayer.pid"
  {
    echo '#!/usr/bin/env bash'
    printf 'NUVASK_TEST_DISPLAY=%q SERVICES_WORK=%q\n' "$NUVASK_TEST_DISPLAY" "$SERVICES_WORK"
    declare -f services_trayer_launch
    echo 'services_trayer_launch || exit 1'
    echo 'cat "$SERVICES_WORK/trayer.pid" >>"$SERVICES_WORK/restarted.pids"'
  } >"$SERVICES_WORK/restart-trayer.sh"
  export NUVASK_TEST_TRAYER_RESTART="$SERVICES_WORK/restart-trayer.sh"
}

# The null sink, its recordable remap and both as the defaults, on the
# PipeWire of services_start_pipewire. False when no default sink appears.
services_pipewire_defaults() {
  pactl load-module module-null-sink sink_name=rec_sink >/dev/null
  pactl load-module module-remap-source master=rec_sink.monitor source_name=rec_src >/dev/null
  for _ in $(seq 100); do wpctl inspect @DEFAULT_AUDIO_SINK@ >/dev/null 2>&1 && break; sleep 0.05; done
  wpctl inspect @DEFAULT_AUDIO_SINK@ >/dev/null 2>&1 || return 1
  pactl set-default-sink rec_sink >/dev/null 2>&1
  pactl set-default-source rec_src >/dev/null 2>&1
}

# PipeWire as a second real sound server, reached like PulseAudio through
# pipewire-pulse: pipewire, wireplumber and pipewire-pulse headless with a
# home, runtime, configuration and state of their own (WirePlumber's state is
# new every run) and a private session bus (WirePlumber exits without one).
# A null sink "rec_sink" and, since a sink's monitor is no PipeWire node, a
# remapped source "rec_src" on it are the defaults. Exports PULSE_SERVER,
# XDG_RUNTIME_DIR, DBUS_SESSION_BUS_ADDRESS, NUVASK_TEST_PIPEWIRE_PID, the
# defaults (NUVASK_TEST_DEFAULT_SINK, NUVASK_TEST_DEFAULT_SOURCE), and for
# the restart test NUVASK_TEST_SERVER_PID and NUVASK_TEST_SERVER_RESTART.
services_start_pipewire() {
  local base="$SERVICES_WORK/pipewire"
  rm -rf "$base"
  mkdir -p "$base/home" "$base/runtime" "$base/config" "$base/state"
  chmod 700 "$base/runtime"
  export XDG_RUNTIME_DIR="$base/runtime"
  export DBUS_SESSION_BUS_ADDRESS="unix:path=$base/runtime/bus"
  dbus-daemon --session --nofork --nopidfile --address="$DBUS_SESSION_BUS_ADDRESS" >"$base/dbus.log" 2>&1 &
  SERVICES_PIDS+=("$!")
  local own=(env -u DISPLAY HOME="$base/home" XDG_CONFIG_HOME="$base/config" XDG_STATE_HOME="$base/state")
  for _ in $(seq 50); do [ -S "$base/runtime/bus" ] && break; sleep 0.05; done
  "${own[@]}" pipewire >"$base/pipewire.log" 2>&1 &
  local pid=$!
  SERVICES_PIDS+=("$pid")
  for _ in $(seq 100); do [ -S "$base/runtime/pipewire-0" ] && break; sleep 0.05; done
  "${own[@]}" wireplumber >"$base/wireplumber.log" 2>&1 &
  SERVICES_PIDS+=("$!")
  "${own[@]}" pipewire-pulse >"$base/pipewire-pulse.log" 2>&1 &
  SERVICES_PIPEWIRE_PULSE_PID=$!
  SERVICES_PIDS+=("$SERVICES_PIPEWIRE_PULSE_PID")
  # For the restart test: the server's process to kill, and a command that
  # starts it again with the sinks and defaults of the start (modules loaded
  # through pipewire-pulse go with its process). The new process id is
  # recorded for services_stop_all.
  {
    echo '#!/usr/bin/env bash'
    printf '%q ' "${own[@]}" pipewire-pulse
    echo ">>$(printf '%q' "$base/pipewire-pulse.log") 2>&1 </dev/null &"
    echo "echo \$! >>$(printf '%q' "$SERVICES_WORK/restarted.pids")"
    echo 'for _ in $(seq 100); do pactl info >/dev/null 2>&1 && break; sleep 0.05; done'
    declare -f services_pipewire_defaults
    echo 'services_pipewire_defaults'
  } >"$base/restart-pulse.sh"
  export PULSE_SERVER="unix:$base/runtime/pulse/native"
  for _ in $(seq 100); do pactl info >/dev/null 2>&1 && break; sleep 0.05; done
  if ! pactl info >/dev/null 2>&1; then
    echo "PipeWire did not start:" >&2
    cat "$base"/*.log >&2
    return 1
  fi
  if ! services_pipewire_defaults; then
    echo "PipeWire has no default sink:" >&2
    cat "$base"/*.log >&2
    return 1
  fi
  export NUVASK_TEST_DEFAULT_SINK=rec_sink NUVASK_TEST_DEFAULT_SOURCE=rec_src
  export NUVASK_TEST_PIPEWIRE_PID=$pid
  export NUVASK_TEST_SERVER_PID=$SERVICES_PIPEWIRE_PULSE_PID
  export NUVASK_TEST_SERVER_RESTART="$base/restart-pulse.sh"
}
