#!/usr/bin/env bash
# What the volume guard costs and how fast it answers, measured in one run on
# one private PulseAudio (or PipeWire with --pipewire):
#
#   1  floor: `pactl set-source-volume` changes the default source, in turn
#      both channels up, both above 100 %, and the right channel alone; the
#      time until a client subscribed to the server (`pactl subscribe`) sees
#      the change. 50 changes, the program not running.
#   2  restore: the same 50 changes with nuvask guarding strip 2 (the default
#      source, "Guard_RecV" on); the time until the subscribed client sees the
#      program's restore, every channel checked after each.
#   3  CPU: the program idle with the guard on, then while another program
#      changes the line 5 times a second, then the same with the guard off
#      (the strips still follow every change); with the window shown and
#      minimised (the window manager is openbox). CPU time of all its threads
#      from the scheduler's own accounting (nanoseconds), in % of one core.
#
# Times are medians and 95th percentiles; the ratios are what to read.
#
#   bench/guard.sh [--raises N] [--window SECONDS] [--pipewire]
set -uo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD

RAISES=50
WINDOW=20
SERVER=pulse
while [ $# -gt 0 ]; do
  case "$1" in
    --raises) RAISES=$2; shift 2 ;;
    --window) WINDOW=$2; shift 2 ;;
    --pipewire) SERVER=pipewire; shift ;;
    *) echo "usage: $0 [--raises N] [--window SECONDS] [--pipewire]" >&2; exit 2 ;;
  esac
done

. "$ROOT/bench/common.sh"
if [ "$SERVER" = pipewire ]; then services_start_pipewire || exit 1; else services_start_pulse || exit 1; fi
services_start_openbox || exit 1
[ -n "${NUVASK_TEST_WM_DISPLAY:-}" ] || { echo "openbox is needed to minimise the window" >&2; exit 1; }
export DISPLAY=$NUVASK_TEST_WM_DISPLAY

GUARDED=26214 # 40 %, server scale
SOURCE=$(pactl get-default-source)
SOURCE_INDEX=$(pactl list short sources | awk -v s="$SOURCE" '$2 == s {print $1}')

NUVASK_HOME=$SERVICES_WORK/nuvask-home
start_nuvask() {
  mkdir -p "$NUVASK_HOME/config/nuvask/registry"
  cat >"$NUVASK_HOME/config/nuvask/registry/HKEY_CURRENT_USER.reg" <<REG
Windows Registry Editor Version 5.00

[Software\\KELDO SOFT32\\NUVASK]
"Version"="23"
"FP"="0,0"
"Guard_RecV"="$1"
REG
  pactl set-source-volume "$SOURCE" "$GUARDED"
  XDG_CONFIG_HOME=$NUVASK_HOME/config QT_QPA_PLATFORM=xcb "$BIN" >"$SERVICES_WORK/subject.log" 2>&1 &
  SUBJECT_PID=$!
  sleep 3 # the window, then the strips bound 300 ms after it
  if [ "${2:-shown}" = minimised ]; then
    xdotool search --onlyvisible --pid "$SUBJECT_PID" | head -n1 | xargs -r xdotool windowminimize
    sleep 1
  fi
}

# Nanoseconds of CPU all threads of a process have had so far.
cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{s += $1} END {print s + 0}'; }

# Raises the source $RAISES times and prints one time per raise (ms): until
# the first change the subscribed client sees ("floor"), or until the change
# that brings the guarded level back ("restore").
RAISE_TIMER='
import queue, subprocess, sys, threading, time
mode, raises, source, index, guarded = sys.argv[1], int(sys.argv[2]), sys.argv[3], sys.argv[4], sys.argv[5]
events = queue.Queue()
watch = subprocess.Popen(["pactl", "subscribe"], stdout=subprocess.PIPE, text=True, bufsize=1)
def read():
    for line in watch.stdout:
        if "change\x27 on source #" + index in line:
            events.put(time.monotonic_ns())
threading.Thread(target=read, daemon=True).start()
time.sleep(0.5)
def drain():
    while not events.empty():
        events.get_nowait()
def volume():
    out = subprocess.run(["pactl", "get-source-volume", source], capture_output=True, text=True).stdout
    # "Volume: front-left: 26214 / 40% / -23.88 dB,   front-right: ...": the value of every channel
    return [part.split(":")[-1].split("/")[0].strip() for part in out.splitlines()[0].split(",")] if out else []
def change(i):
    kind = i % 3
    if kind == 0:
        return [str(45000 + 300 * i)]  # both channels
    if kind == 1:
        return [str(70000 + 300 * i)]  # both above 100 %
    return [guarded, str(45000 + 300 * i)]  # the right channel alone
for i in range(raises):
    drain()
    t0 = time.monotonic_ns()
    subprocess.run(["pactl", "set-source-volume", source] + change(i))
    seen = []
    try:
        while len(seen) < (1 if mode == "floor" else 2):
            seen.append(events.get(timeout=2))
    except queue.Empty:
        print("lost", flush=True)
        continue
    time.sleep(0.15)
    if mode == "restore" and any(v != guarded for v in volume()):
        print("wrong", flush=True)
        continue
    print("%.2f" % ((seen[-1] - t0) / 1e6), flush=True)
    if mode == "floor":
        drain()
        subprocess.run(["pactl", "set-source-volume", source, guarded])
        time.sleep(0.05)
watch.kill()
'

stats() { # median and 95th percentile of numbers on standard input
  sort -g | awk '{a[NR] = $1} END {
    if (NR == 0) { print "- -"; exit }
    m = a[int((NR + 1) / 2)]; p = a[int(NR * 0.95 + 0.999)]; if (p == "") p = a[NR]
    printf "%s %s\n", m, p }'
}

echo "== Restore time: $RAISES raises of $SOURCE by pactl ($SERVER)"
pactl set-source-volume "$SOURCE" "$GUARDED"
python3 -c "$RAISE_TIMER" floor "$RAISES" "$SOURCE" "$SOURCE_INDEX" "$GUARDED" >"$SERVICES_WORK/floor.txt"
start_nuvask 1
python3 -c "$RAISE_TIMER" restore "$RAISES" "$SOURCE" "$SOURCE_INDEX" "$GUARDED" >"$SERVICES_WORK/restore.txt"
stop_subject
read -r FLOOR_MED FLOOR_P95 < <(grep -E '^[0-9.]+$' "$SERVICES_WORK/floor.txt" | stats)
read -r REST_MED REST_P95 < <(grep -E '^[0-9.]+$' "$SERVICES_WORK/restore.txt" | stats)
printf '  %-34s median %7s ms   p95 %7s ms   (%d of %d measured)\n' "floor: pactl sees its own change" \
  "$FLOOR_MED" "$FLOOR_P95" "$(grep -cE '^[0-9.]+$' "$SERVICES_WORK/floor.txt")" "$RAISES"
printf '  %-34s median %7s ms   p95 %7s ms   (%d of %d restored, %d not back, %d lost)\n' \
  "restore: back at the guarded level" "$REST_MED" "$REST_P95" "$(grep -cE '^[0-9.]+$' "$SERVICES_WORK/restore.txt")" \
  "$RAISES" "$(grep -c wrong "$SERVICES_WORK/restore.txt")" "$(grep -c lost "$SERVICES_WORK/restore.txt")"

# CPU of the program over $WINDOW seconds, idle or while pactl changes the line 5 times a second.
cpu_window() {
  local fought=$1 c0 c1 t0 t1 rogue=""
  if [ "$fought" = yes ]; then
    ( i=0; while true; do pactl set-source-volume "$SOURCE" $((45000 + (i % 50) * 300)); i=$((i + 1)); sleep 0.2; done ) &
    rogue=$!
  fi
  c0=$(cpu_ns "$SUBJECT_PID"); t0=$(date +%s%N)
  sleep "$WINDOW"
  c1=$(cpu_ns "$SUBJECT_PID"); t1=$(date +%s%N)
  [ -n "$rogue" ] && { kill "$rogue"; wait "$rogue" 2>/dev/null; }
  awk -v c=$((c1 - c0)) -v t=$((t1 - t0)) 'BEGIN {printf "%.3f", 100 * c / t}'
}

echo
echo "== CPU of nuvask, % of one core, ${WINDOW} s each (strip meters on)"
declare -A ABOVE
for window in shown minimised; do
  for guard in 1 0; do
    start_nuvask "$guard" "$window"
    idle=$(cpu_window no)
    fought=$(cpu_window yes)
    stop_subject
    ABOVE[$guard$window]=$(awk -v a="$fought" -v b="$idle" 'BEGIN {printf "%.3f", a - b}')
    printf '  window %-9s guard %-3s  idle %s   line changed 5/s %s   above idle %s\n' "$window" \
      "$([ "$guard" = 1 ] && echo on || echo off)" "$idle" "$fought" "${ABOVE[$guard$window]}"
  done
done

ratio() { awk -v a="$1" -v b="$2" 'BEGIN {if (b > 0) printf "%.2f", a / b; else print "-"}'; }
minus() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.3f", a - b}'; }
echo
echo "Ratios"
echo "  restore / floor (median)                          $(ratio "$REST_MED" "$FLOOR_MED")   target <= 3"
echo "  restore / floor (p95)                             $(ratio "$REST_P95" "$FLOOR_P95")"
echo "  CPU above idle while fought, guard on, minimised  ${ABOVE[1minimised]} % of a core   target <= 0.2"
echo "  CPU above idle while fought, guard on, shown      ${ABOVE[1shown]} % of a core   target <= 0.2"
echo "  of which the guard (on minus off), minimised      $(minus "${ABOVE[1minimised]}" "${ABOVE[0minimised]}") % of a core"
echo "  of which the guard (on minus off), shown          $(minus "${ABOVE[1shown]}" "${ABOVE[0shown]}") % of a core"
