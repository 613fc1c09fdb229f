#!/usr/bin/env bash
# What the recording level monitor costs the whole machine beside its peers:
# the subject's own CPU time and what it makes the sound server spend. The
# windows run two like private sound servers (PulseAudio, or PipeWire with
# pipewire-pulse and wireplumber under --server pipewire), a tone playing
# into the null sink of each; a subject uses one of them:
#
#   none            no subject: the tone alone (the baseline)
#   nuvask          monitoring at "1" (50 ms buffers) with automatic recording
#                   volume on and the strip meters on
#   parec           capturing the default source with 50 ms blocks, the same
#                   buffer length (the native capture floor: what any client
#                   that reads every sample must spend)
#   arecord         the same through ALSA's pulse plugin, 50 ms periods
#   pavucontrol     showing the inputs' meters
#   pavucontrol-qt  showing the inputs' meters
#
# Each subject runs alone in its window; windows are interleaved (every round
# runs each subject once, the order turned by one each round) so that the
# machine's load drifts over all of them alike, and the subject's server
# takes turns between the two, round by round. For each window: the
# subject's CPU, its server's and the twin's (all their processes and
# threads), in nanoseconds from the scheduler's own count
# (/proc/PID/task/*/schedstat), not clock ticks. The server's extra for the
# subject is its server's CPU above the twin's in the same window, less that
# difference in the round's window without a subject: the rest of the
# machine's load, which both servers meet alike, drops out, which a
# comparison with an earlier window cannot do on a busy machine. The whole is
# the program's CPU plus that extra; then the X server's extra (information
# only), max RSS, PSS and wake-ups per second, the ratios with the spread of
# the per-round ratios, and the windows' log.
#
# A second part counts the context switches each one spends reacting to an
# outside volume change (20 x pactl set-sink-volume +5 %, 200 ms apart), a
# third times the reaction to a loud burst, a fourth the program idle, a fifth
# the program monitoring with its level history window closed and open; the
# part "profile" (not in "all") shows where the program's own time goes.
#
# pavucontrol, pavucontrol-qt and parec's package are benchmark-only peers:
# installed here when missing, never dependencies of the program.
#
#   bench/monitoring.sh [--server pulseaudio|pipewire] [--rounds N] [--window SPAN]
#                       [--subjects "none nuvask parec ..."] [--also NAME=BINARY]...
#                       [--part all|windows|changes|reaction|idle|history|profile]
#
# --also adds another build of the program as a subject of its own (named
# nuvask-NAME), armed like nuvask: different builds measured in the same
# interleaved windows.
set -uo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD

ROUNDS=3
WINDOW=20
PART=all
SERVER=pulseaudio
SUBJECTS=(none nuvask parec arecord pavucontrol pavucontrol-qt)
declare -A VARIANT_BIN
usage() {
  echo "usage: $0 [--server pulseaudio|pipewire] [--rounds N] [--window SPAN] [--subjects LIST]" \
    "[--also NAME=BINARY]... [--part all|windows|changes|reaction|idle|history|profile]" >&2
  exit 2
}
while [ $# -gt 0 ]; do
  case "$1" in
    --rounds) ROUNDS=$2; shift 2 ;;
    --window) WINDOW=$2; shift 2 ;;
    --part) PART=$2; shift 2 ;;
    --server) SERVER=$2; shift 2 ;;
    --subjects) read -r -a SUBJECTS <<<"$2"; shift 2 ;;
    --also)
      [[ "$2" == *=* ]] || usage
      VARIANT_BIN[nuvask-${2%%=*}]=$(realpath "${2#*=}")
      SUBJECTS+=("nuvask-${2%%=*}")
      shift 2 ;;
    *) usage ;;
  esac
done
case "$SERVER" in pulseaudio | pipewire) ;; *) usage ;; esac

missing=()
for p in pavucontrol pavucontrol-qt xdotool pulseaudio-utils; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing benchmark-only peers: ${missing[*]}"
  SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

. "$ROOT/bench/common.sh"
TONE_PIDS=()
TWIN_WORK=""
TWIN_PIDS=()
stop_tones() {
  # A tone is a pipeline in a session of its own: stop the whole group.
  local pid
  for pid in "${TONE_PIDS[@]}"; do kill -TERM -- "-$pid" 2>/dev/null; done
  TONE_PIDS=()
}
bench_cleanup() {
  stop_tones
  # The twin's server goes before its files (the rest stops with the services).
  local i
  for ((i = ${#TWIN_PIDS[@]} - 1; i >= 0; i--)); do services_stop_pid "${TWIN_PIDS[i]}"; done
  [ -n "$TWIN_WORK" ] && rm -rf "$TWIN_WORK"
}

# The processes of the sound server among those given.
server_pids_of() {
  local pid
  for pid in "$@"; do
    case "$(cat "/proc/$pid/comm" 2>/dev/null)" in
      pulseaudio | pipewire | pipewire-pulse | wireplumber) echo "$pid" ;;
    esac
  done
}

start_server() {
  if [ "$SERVER" = pipewire ]; then services_start_pipewire; else services_start_pulse; fi
}
start_server || exit 1
services_start_xvfb || exit 1
export DISPLAY=$NUVASK_TEST_DISPLAY
# What the program records: the server's default source (PulseAudio: the null
# sink's monitor; PipeWire: a source remapped from it).
export SOURCE; SOURCE=$(pactl get-default-source)
MAIN_SERVER=$PULSE_SERVER
mapfile -t MAIN_SERVER_PIDS < <(server_pids_of "${SERVICES_PIDS[@]}")
[ ${#MAIN_SERVER_PIDS[@]} -gt 0 ] || { echo "no sound server process found" >&2; exit 1; }

# A second server like the first, for the windows: the tone plays on both, a
# subject uses one of them, and the server's share of the subject is the
# difference between the two in the same window, so that the load of the rest
# of the machine, which both meet alike, drops out of it.
start_twin() {
  local env=$SERVICES_WORK/twin.env
  (
    trap - EXIT INT TERM
    . "$ROOT/scripts/services.sh"
    start_server >/dev/null || exit 1
    printf 'TWIN_SERVER=%q\nTWIN_WORK=%q\nTWIN_PIDS=(%s)\n' "$PULSE_SERVER" "$SERVICES_WORK" "${SERVICES_PIDS[*]}" >"$env"
  ) || return 1
  . "$env"
  SERVICES_PIDS+=("${TWIN_PIDS[@]}")
  mapfile -t TWIN_SERVER_PIDS < <(server_pids_of "${TWIN_PIDS[@]}")
  [ ${#TWIN_SERVER_PIDS[@]} -gt 0 ]
}

# --- measuring one process (all its threads) -------------------------------

# CPU time of the processes given, all their threads, in nanoseconds.
cpu_ns() {
  local pid files=()
  for pid in "$@"; do files+=(/proc/"$pid"/task/*/schedstat); done
  cat "${files[@]}" 2>/dev/null | awk '{s += $1} END {printf "%.0f\n", s}'
}
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

is_nuvask() { [[ "$1" == nuvask || "$1" == nuvask-* ]]; }
has_window() { [[ "$1" != none && "$1" != parec && "$1" != arecord ]]; }

start_subject() {
  SUBJECT_PID=""
  case "$1" in
    none) return ;;
    nuvask | nuvask-*)
      write_settings "${CUT_LEVEL:-32763}"
      # In Japanese whatever the machine's locale: the history part finds
      # its window by the Japanese title.
      NUVASK_LANG=ja XDG_CONFIG_HOME=$NUVASK_HOME/config QT_QPA_PLATFORM=xcb "${VARIANT_BIN[$1]:-$BIN}" \
        >"$SERVICES_WORK/subject.log" 2>&1 &
      ;;
    parec)
      parec --raw --latency-msec=50 --format=s16le --rate=44100 --channels=2 -d "$SOURCE" >/dev/null &
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

# A tone into the null sink of the server in PULSE_SERVER, at full scale.
start_tone() {
  pactl set-source-volume "$SOURCE" 100% >/dev/null 2>&1
  setsid bash -c 'sox -q -n -t raw -r 44100 -e signed -b 16 -c 2 - synth 3600 sine 1000 vol 0.9 \
    | pacat --playback --raw --latency-msec=20 --format=s16le --rate=44100 --channels=2 --device=rec_sink' \
    >/dev/null 2>&1 &
  TONE_PIDS+=("$!")
  sleep 1
}

# --- part 1: interleaved windows -------------------------------------------

# One line per window in $WINDOWS_LOG: name, round, then nanoseconds of CPU
# of the subject, of the subject's server, of the twin server and of the X
# server, and the window's span in seconds.
declare -A SWITCHES SPAN HWM PSS_SUM PSS_N START_MS ARMED

measure_window() {
  local name=$1 round=$2 own twin t0 t1 p0=0 p1=0 a0 a1 b0 b1 x0 x1 s0=0 s1=0
  # The subject's server takes turns between the two, round by round.
  if [ $((round % 2)) -eq 1 ]; then
    own=("${MAIN_SERVER_PIDS[@]}"); twin=("${TWIN_SERVER_PIDS[@]}"); export PULSE_SERVER=$MAIN_SERVER
  else
    own=("${TWIN_SERVER_PIDS[@]}"); twin=("${MAIN_SERVER_PIDS[@]}"); export PULSE_SERVER=$TWIN_SERVER
  fi
  t0=$(date +%s%N)
  start_subject "$name"
  if has_window "$name"; then
    wait_window "$SUBJECT_PID" || { no_window "$name"; export PULSE_SERVER=$MAIN_SERVER; return; }
    START_MS[$name]="${START_MS[$name]:-} $(( ($(date +%s%N) - t0) / 1000000 ))"
  fi
  if is_nuvask "$name"; then
    sleep 1 # the strips bind 300 ms after the window exists
    if arm_nuvask; then ARMED[$name]=yes; else ARMED[$name]=no; fi
  fi
  sleep 3 # settle: start-up work (and the last subject's leaving) is not the steady state
  [ -n "$SUBJECT_PID" ] && { p0=$(cpu_ns "$SUBJECT_PID"); s0=$(switches "$SUBJECT_PID"); }
  a0=$(cpu_ns "${own[@]}"); b0=$(cpu_ns "${twin[@]}"); x0=$(cpu_ns "$NUVASK_XVFB_PID"); t0=$(date +%s%N)
  sleep "$WINDOW"
  [ -n "$SUBJECT_PID" ] && { p1=$(cpu_ns "$SUBJECT_PID"); s1=$(switches "$SUBJECT_PID"); }
  a1=$(cpu_ns "${own[@]}"); b1=$(cpu_ns "${twin[@]}"); x1=$(cpu_ns "$NUVASK_XVFB_PID"); t1=$(date +%s%N)
  local span; span=$(awk -v d=$((t1 - t0)) 'BEGIN {print d / 1e9}')
  echo "$name $round $((p1 - p0)) $((a1 - a0)) $((b1 - b0)) $((x1 - x0)) $span" >>"$WINDOWS_LOG"
  SWITCHES[$name]=$(( ${SWITCHES[$name]:-0} + s1 - s0 ))
  SPAN[$name]=$(awk -v a="${SPAN[$name]:-0}" -v d="$span" 'BEGIN {print a + d}')
  if [ -n "$SUBJECT_PID" ]; then
    local h; h=$(hwm_kb "$SUBJECT_PID")
    [ "${h:-0}" -gt "${HWM[$name]:-0}" ] && HWM[$name]=$h
    PSS_SUM[$name]=$(( ${PSS_SUM[$name]:-0} + $(pss_kb "$SUBJECT_PID") ))
    PSS_N[$name]=$(( ${PSS_N[$name]:-0} + 1 ))
  fi
  awk -v n="$name" -v p=$((p1 - p0)) -v a=$((a1 - a0)) -v b=$((b1 - b0)) -v s="$span" \
    'BEGIN {printf "    %-16s program %.3f %%  its server %.3f %%  the twin %.3f %%\n", n, p / s / 1e7, a / s / 1e7, b / s / 1e7}'
  stop_subject
  export PULSE_SERVER=$MAIN_SERVER
}

# Per subject from the windows' log: program %, the server's extra % and the
# whole (their sum), each a mean over the rounds; the server's extra in a
# round is its server's CPU above the twin's, less the same difference in
# that round's window without a subject. Prints "name program extra whole
# server% x-extra%" lines; with a peer named, instead the per-round ratios of
# a figure ("program" or "whole") of `name` to the peer's, as "min..max".
window_figures() {
  awk -v want="${1:-}" -v a="${2:-}" -v b="${3:-}" '
    { p[$1, $2] = $3 / $7 / 1e7; d[$1, $2] = ($4 - $5) / $7 / 1e7; srv[$1, $2] = $4 / $7 / 1e7
      x[$1, $2] = $6 / $7 / 1e7; seen[$1, $2] = 1; names[$1] = 1; if ($2 > rounds) rounds = $2 }
    function extra(n, r) { return d[n, r] - ((("none", r) in seen) ? d["none", r] : 0) }
    function xextra(n, r) { return x[n, r] - ((("none", r) in seen) ? x["none", r] : 0) }
    function fig(what, n, r) { return what == "program" ? p[n, r] : p[n, r] + extra(n, r) }
    END {
      if (want != "") {
        lo = ""; hi = ""
        for (r = 1; r <= rounds; r++) {
          if (!((a, r) in seen) || !((b, r) in seen) || fig(want, b, r) <= 0) continue
          q = fig(want, a, r) / fig(want, b, r)
          if (lo == "" || q < lo) lo = q
          if (hi == "" || q > hi) hi = q
        }
        if (lo == "") print "-"; else printf "%.2f..%.2f\n", lo, hi
        exit
      }
      for (n in names) {
        k = 0; sp = 0; se = 0; ss = 0; sx = 0
        for (r = 1; r <= rounds; r++) {
          if (!((n, r) in seen)) continue
          k++; sp += p[n, r]; se += extra(n, r); ss += srv[n, r]; sx += xextra(n, r)
        }
        # Without a subject, the extra column holds how far the twins differ.
        if (n == "none") for (r = 1; r <= rounds; r++) if ((n, r) in seen) se += d[n, r]
        if (k) printf "%s %.3f %.3f %.3f %.3f %.3f\n", n, sp / k, se / k, (sp + se) / k, ss / k, sx / k
      }
    }' "$WINDOWS_LOG"
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN {if (b > 0) printf "%.2f", a / b; else print "-"}'; }

run_windows() {
  WINDOWS_LOG=$SERVICES_WORK/windows.log
  : >"$WINDOWS_LOG"
  start_twin || { echo "the twin server did not start" >&2; return 1; }
  echo "== Windows on $SERVER: ${ROUNDS} rounds of [${SUBJECTS[*]}], ${WINDOW} s each," \
    "a tone playing into rec_sink of two like servers, the subject recording $SOURCE on one"
  PULSE_SERVER=$MAIN_SERVER start_tone
  PULSE_SERVER=$TWIN_SERVER start_tone
  local r i n=${#SUBJECTS[@]}
  for r in $(seq "$ROUNDS"); do
    for i in $(seq 0 $((n - 1))); do
      local name=${SUBJECTS[$(( (i + r - 1) % n ))]}
      echo "  round $r: $name"
      measure_window "$name" "$r"
    done
  done
  stop_tones

  declare -gA PROG_PCT EXTRA_PCT WHOLE_PCT WAKE START_MED
  local -A fields
  local name prog extra whole srv xextra
  printf '\n%-16s %9s %9s %9s %9s %9s %10s %10s %10s %13s\n' subject "program%" "server+%" "whole%" \
    "server%" "X+%" "max RSS" "PSS" "wake-ups/s" "start->window"
  while read -r name prog extra whole srv xextra; do
    PROG_PCT[$name]=$prog; EXTRA_PCT[$name]=$extra; WHOLE_PCT[$name]=$whole
    fields[$name]="$srv $xextra"
  done < <(window_figures)
  for name in "${SUBJECTS[@]}"; do
    [ -n "${PROG_PCT[$name]:-}" ] || continue
    read -r srv xextra <<<"${fields[$name]}"
    WAKE[$name]=$(awk -v n="${SWITCHES[$name]:-0}" -v s="${SPAN[$name]:-1}" 'BEGIN {printf "%.1f", n / s}')
    START_MED[$name]=$(echo ${START_MS[$name]:-} | tr ' ' '\n' | sed '/^$/d' | sort -n | awk '{a[NR]=$1} END {if (NR) print a[int((NR+1)/2)]; else print "-"}')
    if [ "$name" = none ]; then
      printf '%-16s %9s %9s %9s %9s %9s   (its server above the twin by %s %% without a subject)\n' none - 0 - \
        "$srv" 0 "${EXTRA_PCT[none]}"
      continue
    fi
    printf '%-16s %9s %9s %9s %9s %9s %7s kB %7s kB %10s %10s ms\n' "$name" "${PROG_PCT[$name]}" "${EXTRA_PCT[$name]}" \
      "${WHOLE_PCT[$name]}" "$srv" "$xextra" "${HWM[$name]:-0}" "$(( ${PSS_SUM[$name]:-0} / ${PSS_N[$name]:-1} ))" \
      "${WAKE[$name]}" "${START_MED[$name]}"
  done
  for name in "${SUBJECTS[@]}"; do
    is_nuvask "$name" && [ "${ARMED[$name]:-no}" != yes ] &&
      echo "note: $name was measured without its monitor armed (no Auto button found)"
  done

  local progTarget wholeQt="" wholeParec=""
  if [ "$SERVER" = pipewire ]; then progTarget=2.0; wholeParec="   target <= 1.0"; else progTarget=1.0; wholeQt="   target <= 1.0"; fi
  echo
  echo "Ratios (means over the rounds; the per-round ratios' spread in brackets)"
  for name in "${SUBJECTS[@]}"; do
    is_nuvask "$name" && [ -n "${PROG_PCT[$name]:-}" ] || continue
    echo "  $name"
    echo "    whole    / pavucontrol-qt's whole    $(ratio "${WHOLE_PCT[$name]}" "${WHOLE_PCT[pavucontrol-qt]:-0}") [$(window_figures whole "$name" pavucontrol-qt)]$wholeQt"
    echo "    whole    / parec's whole (floor)     $(ratio "${WHOLE_PCT[$name]}" "${WHOLE_PCT[parec]:-0}") [$(window_figures whole "$name" parec)]$wholeParec"
    echo "    whole    / pavucontrol's whole       $(ratio "${WHOLE_PCT[$name]}" "${WHOLE_PCT[pavucontrol]:-0}") [$(window_figures whole "$name" pavucontrol)]"
    echo "    whole    / arecord's whole           $(ratio "${WHOLE_PCT[$name]}" "${WHOLE_PCT[arecord]:-0}") [$(window_figures whole "$name" arecord)]"
    echo "    program  / parec's program           $(ratio "${PROG_PCT[$name]}" "${PROG_PCT[parec]:-0}") [$(window_figures program "$name" parec)]   target <= $progTarget"
    echo "    program  / pavucontrol-qt's program  $(ratio "${PROG_PCT[$name]}" "${PROG_PCT[pavucontrol-qt]:-0}") [$(window_figures program "$name" pavucontrol-qt)]"
    echo "    server+  / parec's server+           $(ratio "${EXTRA_PCT[$name]}" "${EXTRA_PCT[parec]:-0}")"
    echo "    RSS      / pavucontrol               $(ratio "${HWM[$name]:-0}" "${HWM[pavucontrol]:-0}")   target <= 0.40"
    echo "    RSS      / pavucontrol-qt            $(ratio "${HWM[$name]:-0}" "${HWM[pavucontrol-qt]:-0}")"
    echo "    wake-ups / parec                     $(ratio "${WAKE[$name]}" "${WAKE[parec]:-0}")"
    echo "    start->window / pavucontrol        $(ratio "${START_MED[$name]}" "${START_MED[pavucontrol]:-0}")"
  done
  echo "(the windows' log: one line per window, name round program-ns server-ns twin-ns X-ns seconds)"
  cat "$WINDOWS_LOG"
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
        if ! pactl get-source-volume "$SOURCE" | grep -q ' 100% '; then echo "$t"; break; fi ;;
    esac
  done
}

# Five bursts -> the median time to the program's first capture-volume write.
reaction_of() {
  local name=$1 burst=$2 times=() i t0 t1 watcher
  pactl set-source-volume "$SOURCE" 100% >/dev/null
  CUT_LEVEL=16384 start_subject "$name"
  wait_window "$SUBJECT_PID" || { no_window "$name"; return; }
  sleep 1.5
  arm_nuvask || { echo "  $name: the monitor did not start (no Auto button found)"; stop_subject; return; }
  sleep 3 # past the capture's first period
  for i in $(seq 5); do
    pactl set-source-volume "$SOURCE" 100% >/dev/null
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
  pactl set-source-volume "$SOURCE" 100% >/dev/null
  if [ ${#times[@]} -eq 0 ]; then echo "  $name: no write seen"; return; fi
  REACTION[$name]=$(median "${times[@]}")
  echo "  $name: burst -> write: ${times[*]} ms (median ${REACTION[$name]} ms; one buffer is 50 ms)"
}

run_reaction() {
  echo
  echo "== Reaction on $SERVER: a loud burst -> the capture volume written (monitor at \"1\" = 50 ms buffers, Auto on, cut 16384)"
  local burst=$SERVICES_WORK/burst.raw times=() i t0 t1 watcher name floor
  declare -gA REACTION
  sox -q -n -t raw -r 44100 -e signed -b 16 -c 2 "$burst" synth 0.5 sine 1000 vol 0.9
  for name in "${SUBJECTS[@]}"; do
    is_nuvask "$name" && reaction_of "$name" "$burst"
  done
  # The same burst seen by a client that reads 5 ms blocks and reacts at the
  # first loud sample: the player's start, the sink's latency and the
  # measurement itself, which are not the program's.
  setsid bash -c "parec --raw --latency-msec=5 --format=s16le --rate=44100 --channels=2 -d '$SOURCE' \
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
  for name in "${SUBJECTS[@]}"; do
    is_nuvask "$name" && [ -n "${REACTION[$name]:-}" ] || continue
    echo "  $name's own reaction (median difference): $((REACTION[$name] - floor)) ms   target <= 60 (one buffer + 10 ms)"
  done
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
  c0=$(cpu_ns "$SUBJECT_PID"); s0=$(switches "$SUBJECT_PID")
  sleep "$WINDOW"
  c1=$(cpu_ns "$SUBJECT_PID"); s1=$(switches "$SUBJECT_PID")
  awk -v t=$((c1 - c0)) -v n=$((s1 - s0)) -v s="$WINDOW" \
    'BEGIN {printf "  CPU %.3f %%   wake-ups %.2f/s\n", 100 * t / 1e9 / s, n / s}'
  stop_subject
}

# --- part 6 ("profile"): where the program's own time goes ---------------------------

# perf record on the running program, armed as in the windows, with the tone
# playing: the functions and libraries that take its time, then the system
# calls per second (strace), to read per wake-up. Needs perf (Debian's
# linux-perf) and strace; skipped with a note without them.
run_profile() {
  command -v perf >/dev/null 2>&1 || { echo "  perf is not installed (linux-perf): skipped"; return; }
  start_tone
  local name
  for name in "${SUBJECTS[@]}"; do
    is_nuvask "$name" && profile_one "$name"
  done
  stop_tones
}

profile_one() {
  local name=$1 data=$SERVICES_WORK/perf.data
  echo
  echo "== Profile on $SERVER: $name monitoring at \"1\" with Auto and strip meters on, ${WINDOW} s"
  start_subject "$name"
  wait_window "$SUBJECT_PID" || { no_window "$name"; return; }
  sleep 1
  arm_nuvask || echo "  note: the monitor did not start (no Auto button found)"
  sleep 3
  local s0 s1 c0 c1
  s0=$(switches "$SUBJECT_PID"); c0=$(cpu_ns "$SUBJECT_PID")
  # One sample per 20 us of the program's CPU time: a few thousand samples
  # from a program that runs well under 1 % of a core.
  perf record -q -e task-clock -c 20000 -g -p "$SUBJECT_PID" -o "$data" -- sleep "$WINDOW" >/dev/null 2>&1
  s1=$(switches "$SUBJECT_PID"); c1=$(cpu_ns "$SUBJECT_PID")
  awk -v n=$((s1 - s0)) -v c=$((c1 - c0)) -v s="$WINDOW" \
    'BEGIN {printf "  %.1f wake-ups/s, %.1f us of CPU per wake-up (the profile itself included)\n", n / s, c / 1e3 / (n > 0 ? n : 1)}'
  echo "  -- by library"
  perf report -i "$data" --stdio --no-children --sort dso 2>/dev/null | grep -v '^#' | grep '%' | head -n 12
  echo "  -- by function (self)"
  perf report -i "$data" --stdio --no-children --sort dso,sym -g none 2>/dev/null | grep -v '^#' | grep '%' | head -n 30
  if command -v strace >/dev/null 2>&1; then
    echo "  -- system calls over ${WINDOW} s"
    timeout "$WINDOW" strace -c -f -p "$SUBJECT_PID" -o "$SERVICES_WORK/strace.txt" >/dev/null 2>&1
    head -n 20 "$SERVICES_WORK/strace.txt"
  fi
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
# the history window closed, open at 1 minute (a column every 120 ms) and open
# at 10 minutes; $ROUNDS rounds, the order turned by one each round. Prints
# the program's CPU and the X server's (information only) per mode, and the
# ratios of the means with the per-round ratios' range.
run_history() {
  echo
  echo "== Level history: monitoring with its window closed / open, ${ROUNDS} rounds of ${WINDOW} s, tone playing"
  start_tone
  local modes=(closed open-1min open-10min)
  declare -A CPU SPANS XCPU ROUND_PCT
  local r i mode c0 c1 t0 t1 x0 x1
  for r in $(seq "$ROUNDS"); do
    for i in 0 1 2; do
      mode=${modes[$(( (i + r - 1) % 3 ))]}
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
      c0=$(cpu_ns "$SUBJECT_PID"); x0=$(cpu_ns "$NUVASK_XVFB_PID"); t0=$(date +%s%N)
      sleep "$WINDOW"
      c1=$(cpu_ns "$SUBJECT_PID"); x1=$(cpu_ns "$NUVASK_XVFB_PID"); t1=$(date +%s%N)
      CPU[$mode]=$(( ${CPU[$mode]:-0} + c1 - c0 ))
      XCPU[$mode]=$(( ${XCPU[$mode]:-0} + x1 - x0 ))
      SPANS[$mode]=$(awk -v a="${SPANS[$mode]:-0}" -v d=$((t1 - t0)) 'BEGIN {print a + d / 1e9}')
      ROUND_PCT[$mode,$r]=$(awk -v c=$((c1 - c0)) -v d=$((t1 - t0)) 'BEGIN {printf "%.3f", 100 * c / d}')
      echo "  round $r: $mode  CPU ${ROUND_PCT[$mode,$r]} %"
      stop_subject
    done
  done
  stop_tones
  EXTRA_SETTING=""
  declare -A PCT
  for mode in "${modes[@]}"; do
    PCT[$mode]=$(awk -v t="${CPU[$mode]:-0}" -v s="${SPANS[$mode]:-1}" 'BEGIN {printf "%.3f", 100 * t / 1e9 / s}')
    printf '  %-12s CPU %s %%   X server %s %%\n' "$mode" "${PCT[$mode]}" \
      "$(awk -v t="${XCPU[$mode]:-0}" -v s="${SPANS[$mode]:-1}" 'BEGIN {printf "%.3f", 100 * t / 1e9 / s}')"
  done
  # The per-round ratios' lowest and highest.
  spread() {
    local r list=()
    for r in $(seq "$ROUNDS"); do
      [ -n "${ROUND_PCT[$1,$r]:-}" ] && [ -n "${ROUND_PCT[closed,$r]:-}" ] &&
        list+=("$(ratio "${ROUND_PCT[$1,$r]}" "${ROUND_PCT[closed,$r]}")")
    done
    printf '%s\n' "${list[@]}" | sort -n | awk 'NR == 1 {lo = $1} {hi = $1} END {printf "%s-%s", lo, hi}'
  }
  echo "  CPU  open at 1 min / closed    $(ratio "${PCT[open-1min]}" "${PCT[closed]}") [$(spread open-1min)]   target <= 1.3"
  echo "  CPU  open at 10 min / closed   $(ratio "${PCT[open-10min]}" "${PCT[closed]}") [$(spread open-10min)]"
  echo "  (the full 60-minute ring's memory: nuvask_bench --benchmark_filter=RingMemory60min)"
}

case "$PART" in
  windows) run_windows ;;
  changes) run_changes ;;
  idle) run_idle ;;
  reaction) run_reaction ;;
  history) run_history ;;
  profile) run_profile ;;
  all) run_windows; run_changes; run_reaction; run_idle; run_history ;;
esac
