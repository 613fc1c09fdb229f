#!/usr/bin/env bash
# What the recording level monitor costs beside its peers, measured in one run
# on one private PulseAudio with a tone playing into its null sink:
#
#   A  nuvask monitoring at "1" with automatic recording volume on
#   B  arecord capturing the same source with 50 ms periods (the capture floor:
#      what any client that reads the samples must spend)
#   C  pavucontrol showing the input's meter
#   D  pavucontrol-qt showing the input's meter
#
# Each subject runs alone in its window; windows are interleaved A B C D,
# A B C D, ... so that the machine's load drifts over all of them alike. For
# each: CPU % of one core, max RSS, PSS, wake-ups per second (voluntary context
# switches of all threads), then the ratios. A second part counts the context
# switches each one spends reacting to an outside volume change (20 x pactl
# set-sink-volume +5 %, 200 ms apart), a third the program idle, and a last
# one the program monitoring with its level history window closed and open.
#
# pavucontrol and pavucontrol-qt are benchmark-only peers: installed here when
# missing, never dependencies of the program.
#
#   bench/monitoring.sh [--rounds N] [--window SPAN] [--part all|windows|changes|reaction|idle|history]
set -uo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD

ROUNDS=3
WINDOW=20
PART=all
while [ $# -gt 0 ]; do
  case "$1" in
    --rounds) ROUNDS=$2; shift 2 ;;
    --window) WINDOW=$2; shift 2 ;;
    --part) PART=$2; shift 2 ;;
    *) echo "usage: $0 [--rounds N] [--window SPAN] [--part all|windows|changes|reaction|idle|history]" >&2; exit 2 ;;
  esac
done

missing=()
for p in pavucontrol pavucontrol-qt xdotool; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing benchmark-only peers: ${missing[*]}"
  SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

. "$ROOT/bench/common.sh"
TONE_PID=""
bench_cleanup() {
  # The tone is a pipeline in a session of its own: stop the whole group.
  [ -n "$TONE_PID" ] && kill -TERM -- "-$TONE_PID" 2>/dev/null
}
services_start_pulse || exit 1
services_start_xvfb || exit 1
export DISPLAY=$NUVASK_TEST_DISPLAY
HZ=$(getconf CLK_TCK)

# --- measuring one process (all its threads) -------------------------------

cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat" 2>/dev/null || echo 0; }
switches() {
  local total=0 t v
  for t in /proc/"$1"/task/*/status; do
    v=$(awk '/^voluntary_ctxt_switches/ {print $2}' "$t" 2>/dev/null)
    total=$((total + ${v:-0}))
  done
  echo "$total"
}
hwm_kb() { awk '/^VmHWM/ {print $2}' "/proc/$1/status" 2>/dev/null || echo 0; }
pss_kb() { awk '/^Pss:/ {print $2}' "/proc/$1/smaps_rollup" 2>/dev/null || echo 0; }

# The window of a process, once it is mapped (for clicks and start-up time).
window_of() { xdotool search --onlyvisible --pid "$1" 2>/dev/null | head -n1; }
wait_window() {
  local pid=$1 i
  for i in $(seq 400); do
    [ -n "$(window_of "$pid")" ] && return 0
    kill -0 "$pid" 2>/dev/null || return 1
    sleep 0.05
  done
  return 1
}

# --- the subjects -----------------------------------------------------------

# A subject that never showed its window: say why, as far as it told.
no_window() {
  echo "  $1: no window; its last words:" >&2
  tail -n 5 "$SERVICES_WORK/subject.log" 2>/dev/null | sed 's/^/    /' >&2
  stop_subject
}

NUVASK_HOME=$SERVICES_WORK/nuvask-home
write_settings() {
  local cut=${1:-32763}
  mkdir -p "$NUVASK_HOME/config/nuvask/registry"
  cat >"$NUVASK_HOME/config/nuvask/registry/HKEY_CURRENT_USER.reg" <<REG
Windows Registry Editor Version 5.00

[Software\\KELDO SOFT32\\NUVASK]
"Version"="23"
"RL_WAIT"="0"
"FP"="0,0"
"V_CUT"="$cut"
${EXTRA_SETTING:-}
REG
}

start_subject() {
  case "$1" in
    nuvask)
      write_settings "${CUT_LEVEL:-32763}"
      XDG_CONFIG_HOME=$NUVASK_HOME/config QT_QPA_PLATFORM=xcb "$BIN" >"$SERVICES_WORK/subject.log" 2>&1 &
      ;;
    arecord)
      arecord -q -D default -f S16_LE -r 44100 -c 2 --period-time=50000 --buffer-time=500000 -t raw /dev/null &
      ;;
    pavucontrol)
      pavucontrol --tab=4 >"$SERVICES_WORK/subject.log" 2>&1 &
      ;;
    pavucontrol-qt)
      pavucontrol-qt --tab 4 >"$SERVICES_WORK/subject.log" 2>&1 &
      ;;
    pavucontrol-out)
      pavucontrol --tab=3 >"$SERVICES_WORK/subject.log" 2>&1 &
      ;;
    pavucontrol-qt-out)
      pavucontrol-qt --tab 3 >"$SERVICES_WORK/subject.log" 2>&1 &
      ;;
  esac
  SUBJECT_PID=$!
}

# Puts the program into the state the windows measure: the monitor running at
# "1" with automatic recording volume on, by a real click on "Auto". It sits at
# the top of PV3, the right-most panel while the cut-level editor is closed;
# the client area (top row 17 + panels 201 pixels) lies under the menu bar.
arm_nuvask() {
  local win geometry width height
  win=$(window_of "$SUBJECT_PID")
  [ -n "$win" ] || return 1
  geometry=$(xdotool getwindowgeometry --shell "$win")
  width=$(sed -n 's/^WIDTH=//p' <<<"$geometry")
  height=$(sed -n 's/^HEIGHT=//p' <<<"$geometry")
  [ "${height:-0}" -gt 218 ] || return 1
  xdotool mousemove --window "$win" $((width - 38 + 1 + 18)) $((height - 218 + 17 + 2 + 8)) click 1
  sleep 0.5
  # Armed when the program holds a capture stream.
  [ -n "$(pactl list short source-outputs)" ]
}

start_tone() {
  setsid bash -c 'sox -q -n -t raw -r 44100 -e signed -b 16 -c 2 - synth 3600 sine 1000 vol 0.9 \
    | pacat --playback --raw --latency-msec=20 --format=s16le --rate=44100 --channels=2 --device=rec_sink' \
    >/dev/null 2>&1 &
  TONE_PID=$!
  sleep 1
}

# --- part 1: interleaved windows -------------------------------------------

declare -A CPU_TICKS SPAN SWITCHES HWM PSS_SUM PSS_N START_MS ARMED
SUBJECTS=(nuvask arecord pavucontrol pavucontrol-qt)

measure_window() {
  local name=$1 t0 t1 c0 c1 s0 s1
  t0=$(date +%s%N)
  start_subject "$name"
  if [ "$name" != arecord ]; then
    wait_window "$SUBJECT_PID" || { no_window "$name"; return; }
    START_MS[$name]="${START_MS[$name]:-} $(( ($(date +%s%N) - t0) / 1000000 ))"
  fi
  if [ "$name" = nuvask ]; then
    sleep 1 # the strips bind 300 ms after the window exists
    if arm_nuvask; then ARMED[$name]=yes; else ARMED[$name]=no; fi
  fi
  sleep 3 # settle: start-up work is not the steady state
  c0=$(cpu_ticks "$SUBJECT_PID"); s0=$(switches "$SUBJECT_PID"); t0=$(date +%s%N)
  sleep "$WINDOW"
  c1=$(cpu_ticks "$SUBJECT_PID"); s1=$(switches "$SUBJECT_PID"); t1=$(date +%s%N)
  CPU_TICKS[$name]=$(( ${CPU_TICKS[$name]:-0} + c1 - c0 ))
  SWITCHES[$name]=$(( ${SWITCHES[$name]:-0} + s1 - s0 ))
  SPAN[$name]=$(awk -v a="${SPAN[$name]:-0}" -v d=$((t1 - t0)) 'BEGIN {print a + d / 1e9}')
  local h; h=$(hwm_kb "$SUBJECT_PID")
  [ "${h:-0}" -gt "${HWM[$name]:-0}" ] && HWM[$name]=$h
  PSS_SUM[$name]=$(( ${PSS_SUM[$name]:-0} + $(pss_kb "$SUBJECT_PID") ))
  PSS_N[$name]=$(( ${PSS_N[$name]:-0} + 1 ))
  stop_subject
}

run_windows() {
  echo "== Windows: ${ROUNDS} rounds of A B C D, ${WINDOW} s each, tone playing into rec_sink"
  pactl set-source-volume rec_sink.monitor 100% >/dev/null 2>&1
  start_tone
  local r name
  for r in $(seq "$ROUNDS"); do
    for name in "${SUBJECTS[@]}"; do
      echo "  round $r: $name"
      measure_window "$name"
    done
  done
  kill -TERM -- "-$TONE_PID" 2>/dev/null; TONE_PID=""

  printf '\n%-16s %8s %10s %10s %12s %14s\n' subject "CPU %" "max RSS" "PSS" "wake-ups/s" "start->window"
  declare -gA CPU_PCT WAKE START_MED
  for name in "${SUBJECTS[@]}"; do
    [ -n "${SPAN[$name]:-}" ] || continue
    CPU_PCT[$name]=$(awk -v t="${CPU_TICKS[$name]}" -v hz="$HZ" -v s="${SPAN[$name]}" 'BEGIN {printf "%.3f", 100 * t / hz / s}')
    WAKE[$name]=$(awk -v n="${SWITCHES[$name]}" -v s="${SPAN[$name]}" 'BEGIN {printf "%.1f", n / s}')
    START_MED[$name]=$(echo ${START_MS[$name]:-} | tr ' ' '\n' | sed '/^$/d' | sort -n | awk '{a[NR]=$1} END {if (NR) print a[int((NR+1)/2)]; else print "-"}')
    printf '%-16s %8s %8s kB %7s kB %12s %11s ms\n' "$name" "${CPU_PCT[$name]}" "${HWM[$name]}" \
      "$(( PSS_SUM[$name] / PSS_N[$name] ))" "${WAKE[$name]}" "${START_MED[$name]}"
  done
  [ "${ARMED[nuvask]:-no}" = yes ] || echo "note: nuvask was measured without its monitor armed (no Auto button found)"

  ratio() { awk -v a="$1" -v b="$2" 'BEGIN {if (b > 0) printf "%.2f", a / b; else print "-"}'; }
  echo
  echo "Ratios"
  echo "  CPU  nuvask / arecord (capture floor)   $(ratio "${CPU_PCT[nuvask]:-0}" "${CPU_PCT[arecord]:-0}")   target <= 1.2"
  echo "  CPU  nuvask / pavucontrol-qt            $(ratio "${CPU_PCT[nuvask]:-0}" "${CPU_PCT[pavucontrol-qt]:-0}")   target <= 1.0"
  echo "  CPU  nuvask / pavucontrol               $(ratio "${CPU_PCT[nuvask]:-0}" "${CPU_PCT[pavucontrol]:-0}")"
  echo "  RSS  nuvask / pavucontrol               $(ratio "${HWM[nuvask]:-0}" "${HWM[pavucontrol]:-0}")   target <= 0.40"
  echo "  RSS  nuvask / pavucontrol-qt            $(ratio "${HWM[nuvask]:-0}" "${HWM[pavucontrol-qt]:-0}")"
  echo "  wake nuvask / arecord                   $(ratio "${WAKE[nuvask]:-0}" "${WAKE[arecord]:-0}")"
  echo "  start->window nuvask / pavucontrol      $(ratio "${START_MED[nuvask]:-0}" "${START_MED[pavucontrol]:-0}")"
}

# --- part 2: reacting to an outside change ---------------------------------

CHANGES=20
measure_changes() {
  local name=$1 label=$2 s0 s1 t0 t1 idle0 idle1 i
  pactl set-sink-volume rec_sink 0% >/dev/null
  start_subject "$name"
  wait_window "$SUBJECT_PID" || { no_window "$label"; return; }
  sleep 3
  # What it spends doing nothing, to take off the count below.
  idle0=$(switches "$SUBJECT_PID"); t0=$(date +%s%N)
  sleep 4
  idle1=$(switches "$SUBJECT_PID"); t1=$(date +%s%N)
  local idleRate; idleRate=$(awk -v n=$((idle1 - idle0)) -v d=$((t1 - t0)) 'BEGIN {print n / (d / 1e9)}')
  s0=$(switches "$SUBJECT_PID"); t0=$(date +%s%N)
  for i in $(seq "$CHANGES"); do
    pactl set-sink-volume rec_sink +5% >/dev/null
    sleep 0.2
  done
  sleep 1
  s1=$(switches "$SUBJECT_PID"); t1=$(date +%s%N)
  stop_subject
  awk -v n=$((s1 - s0)) -v d=$((t1 - t0)) -v r="$idleRate" -v c="$CHANGES" -v l="$label" \
    'BEGIN {printf "  %-16s %8.1f switches per change  (idle %.1f/s taken off)\n", l, (n - r * d / 1e9) / c, r}'
}

run_changes() {
  echo
  echo "== Reacting to an outside change: ${CHANGES} x pactl set-sink-volume +5 %, 200 ms apart (no tone)"
  measure_changes nuvask nuvask
  measure_changes pavucontrol-out pavucontrol
  measure_changes pavucontrol-qt-out pavucontrol-qt
}

# --- part 4: reaction to a buffer at the cut level ------------------------

# Time from starting a loud burst into the idle sink to the server seeing the
# program's first capture-volume write. It includes the player's start and the
# sink's 20 ms latency, so it overstates the program's own share.
first_volume_change() {
  pactl subscribe | while read -r line; do
    case "$line" in
      *"'change' on source #"*)
        t=$(date +%s%N)
        if ! pactl get-source-volume rec_sink.monitor | grep -q ' 100% '; then echo "$t"; break; fi ;;
    esac
  done
}

run_reaction() {
  echo
  echo "== Reaction: a loud burst -> the capture volume written (monitor at \"1\" = 50 ms buffers, Auto on, cut 16384)"
  local burst=$SERVICES_WORK/burst.raw times=() i t0 t1 watcher
  sox -q -n -t raw -r 44100 -e signed -b 16 -c 2 "$burst" synth 0.5 sine 1000 vol 0.9
  pactl set-source-volume rec_sink.monitor 100% >/dev/null
  CUT_LEVEL=16384 start_subject nuvask
  wait_window "$SUBJECT_PID" || { no_window nuvask; return; }
  sleep 1.5
  arm_nuvask || { echo "  the monitor did not start (no Auto button found)"; stop_subject; return; }
  sleep 3 # past the capture's first period
  for i in $(seq 5); do
    pactl set-source-volume rec_sink.monitor 100% >/dev/null
    sleep 1
    setsid bash -c "$(declare -f first_volume_change); first_volume_change" >"$SERVICES_WORK/t1" 2>/dev/null &
    watcher=$!
    sleep 0.3
    t0=$(date +%s%N)
    pacat --playback --raw --latency-msec=20 --format=s16le --rate=44100 --channels=2 --device=rec_sink <"$burst" &
    local player=$!
    for _ in $(seq 100); do [ -s "$SERVICES_WORK/t1" ] && break; sleep 0.02; done
    t1=$(head -n1 "$SERVICES_WORK/t1")
    kill -TERM -- "-$watcher" 2>/dev/null
    wait "$player" 2>/dev/null
    [ -n "$t1" ] && times+=($(( (t1 - t0) / 1000000 )))
    : >"$SERVICES_WORK/t1"
  done
  stop_subject
  pactl set-source-volume rec_sink.monitor 100% >/dev/null
  if [ ${#times[@]} -eq 0 ]; then echo "  no write seen"; return; fi
  local program floor
  program=$(median "${times[@]}")
  echo "  burst -> write: ${times[*]} ms (median $program ms; one buffer is 50 ms)"
  # The same burst seen by a client that reads 5 ms blocks and reacts at the
  # first loud sample: the player's start, the sink's latency and the
  # measurement itself, which are not the program's.
  times=()
  setsid bash -c "parec --raw --latency-msec=5 --format=s16le --rate=44100 --channels=2 -d rec_sink.monitor \
    | python3 -c '$LOUD_SAMPLE_DETECTOR'" >"$SERVICES_WORK/onsets" 2>/dev/null &
  watcher=$!
  sleep 3 # past the capture's first period, as for the program
  for i in $(seq 5); do
    local seen
    seen=$(wc -l <"$SERVICES_WORK/onsets")
    t0=$(date +%s%N)
    pacat --playback --raw --latency-msec=20 --format=s16le --rate=44100 --channels=2 --device=rec_sink <"$burst"
    sleep 1
    t1=$(sed -n "$((seen + 1))p" "$SERVICES_WORK/onsets")
    [ -n "$t1" ] && times+=($(( (t1 - t0) / 1000000 )))
  done
  kill -TERM -- "-$watcher" 2>/dev/null
  [ ${#times[@]} -gt 0 ] || { echo "  the floor client saw no burst"; return; }
  floor=$(median "${times[@]}")
  echo "  burst -> first loud sample read by parec: ${times[*]} ms (median $floor ms)"
  echo "  program's own reaction (median difference): $((program - floor)) ms   target <= 60 (one buffer + 10 ms)"
}

median() {
  printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'
}

# Reads 16-bit samples from standard input and prints the time (ns) of each
# block that holds a sample of magnitude 16384 or more after one that held none.
LOUD_SAMPLE_DETECTOR='
import array, os, sys, time
rest, quiet = b"", True
while True:
    chunk = os.read(0, 65536)
    if not chunk:
        sys.exit(0)
    data = rest + chunk
    whole = len(data) - len(data) % 2
    rest = data[whole:]
    samples = array.array("h", data[:whole])
    loud = bool(samples) and max(max(samples), -min(samples)) >= 16384
    if loud and quiet:
        print(time.time_ns(), flush=True)
    quiet = not loud
'


# --- part 3: the program idle ----------------------------------------------

run_idle() {
  idle_window "strip meters on (the default)" ""
  idle_window "strip meters off" '"Meter_ON"="0"'
  # Minimised needs a window manager: openbox on a display of its own.
  if services_start_openbox && [ -n "${NUVASK_TEST_WM_DISPLAY:-}" ]; then
    DISPLAY=$NUVASK_TEST_WM_DISPLAY MINIMISE=yes idle_window "strip meters on, window minimised" ""
  fi
}

# The program idle for one window: $1 says which settings, $2 is an extra
# settings line; MINIMISE=yes minimises the window first.
idle_window() {
  echo
  echo "== nuvask idle (monitor off, $1): ${WINDOW} s"
  EXTRA_SETTING=$2 start_subject nuvask
  wait_window "$SUBJECT_PID" || { no_window nuvask; return; }
  sleep 1 # the strips bind 300 ms after the window exists
  [ "${MINIMISE:-}" = yes ] && xdotool windowminimize "$(window_of "$SUBJECT_PID")"
  sleep 3
  local c0 c1 s0 s1
  c0=$(cpu_ticks "$SUBJECT_PID"); s0=$(switches "$SUBJECT_PID")
  sleep "$WINDOW"
  c1=$(cpu_ticks "$SUBJECT_PID"); s1=$(switches "$SUBJECT_PID")
  awk -v t=$((c1 - c0)) -v hz="$HZ" -v n=$((s1 - s0)) -v s="$WINDOW" \
    'BEGIN {printf "  CPU %.3f %%   wake-ups %.2f/s\n", 100 * t / hz / s, n / s}'
  stop_subject
}

# --- part 5: the level history window open or closed ---------------------

# Opens the level history from the Options menu (its item's accelerator is R).
open_history() {
  local win
  win=$(window_of "$SUBJECT_PID")
  [ -n "$win" ] || return 1
  xdotool mousemove --window "$win" 25 8 click 1
  sleep 0.5
  xdotool key r
  sleep 1
  [ -n "$(xdotool search --onlyvisible --pid "$SUBJECT_PID" --name '録音レベルの履歴' 2>/dev/null)" ]
}

# Monitoring at "1" with "Auto" on and the tone playing, as in part 1, with
# the history window closed, open at 1 minute (a repaint every 120 ms) and
# open at 10 minutes (once a second); interleaved, $ROUNDS rounds.
run_history() {
  echo
  echo "== Level history: monitoring with its window closed / open, ${ROUNDS} rounds of ${WINDOW} s, tone playing"
  pactl set-source-volume rec_sink.monitor 100% >/dev/null 2>&1
  start_tone
  declare -A TICKS SPANS
  local r mode c0 c1 t0 t1
  for r in $(seq "$ROUNDS"); do
    for mode in closed open-1min open-10min; do
      case "$mode" in
        open-1min) EXTRA_SETTING='"LVH_SPAN"="1"
"LVH_FP"="0,300"' ;;
        *) EXTRA_SETTING='"LVH_SPAN"="10"
"LVH_FP"="0,300"' ;;
      esac
      start_subject nuvask
      wait_window "$SUBJECT_PID" || { no_window nuvask; continue; }
      sleep 1
      arm_nuvask || echo "  round $r $mode: the monitor did not start"
      if [ "$mode" != closed ]; then
        open_history || echo "  round $r $mode: the history window did not open"
      fi
      sleep 3
      c0=$(cpu_ticks "$SUBJECT_PID"); t0=$(date +%s%N)
      sleep "$WINDOW"
      c1=$(cpu_ticks "$SUBJECT_PID"); t1=$(date +%s%N)
      TICKS[$mode]=$(( ${TICKS[$mode]:-0} + c1 - c0 ))
      SPANS[$mode]=$(awk -v a="${SPANS[$mode]:-0}" -v d=$((t1 - t0)) 'BEGIN {print a + d / 1e9}')
      echo "  round $r: $mode"
      stop_subject
    done
  done
  kill -TERM -- "-$TONE_PID" 2>/dev/null; TONE_PID=""
  EXTRA_SETTING=""
  declare -A PCT
  for mode in closed open-1min open-10min; do
    PCT[$mode]=$(awk -v t="${TICKS[$mode]:-0}" -v hz="$HZ" -v s="${SPANS[$mode]:-1}" 'BEGIN {printf "%.3f", 100 * t / hz / s}')
    printf '  %-12s CPU %s %%\n' "$mode" "${PCT[$mode]}"
  done
  ratio() { awk -v a="$1" -v b="$2" 'BEGIN {if (b > 0) printf "%.2f", a / b; else print "-"}'; }
  echo "  CPU  open at 1 min / closed    $(ratio "${PCT[open-1min]}" "${PCT[closed]}")"
  echo "  CPU  open at 10 min / closed   $(ratio "${PCT[open-10min]}" "${PCT[closed]}")"
  echo "  (the full 60-minute ring's memory: nuvask_bench --benchmark_filter=RingMemory60min)"
}

case "$PART" in
  windows) run_windows ;;
  changes) run_changes ;;
  idle) run_idle ;;
  reaction) run_reaction ;;
  history) run_history ;;
  all) run_windows; run_changes; run_reaction; run_idle; run_history ;;
esac
