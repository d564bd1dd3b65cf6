#!/usr/bin/env bash
# CPU use of the program while it is connected to an emulated console and idle
# (the meters polled 20 times a second). Each run starts a fresh emulated
# console on loopback and a fresh `rmt4` (offscreen, in a scratch home so that
# no settings or single-instance lock of the user take part), waits for the
# TCP connection and the end of the complete read, then reads the program's
# CPU time (user + system, every thread) from /proc/PID/stat over SECONDS.
# Prints each run and the median as a percentage of one core.
#
#   bench/idle_cpu.sh [--display D] [--editor] [--quiet] BUILD [RUNS] [SECONDS]
#
#   BUILD        a built build folder
#   --display D  a real window on X display D (e.g. a virtual one: Xvfb :7)
#                instead of the offscreen platform
#   --editor     with --display: CH3's channel editor open (its ENTER clicked
#                with xdotool), the response curve's marker pulsing
#   --quiet      the console's MAIN bus off, so that its meters stay still;
#                without it the emulated music moves them
set -euo pipefail
usage="usage: bench/idle_cpu.sh [--display D] [--editor] [--quiet] BUILD [RUNS] [SECONDS]"
display=
editor=false
quiet=false
while [[ ${1:-} == --* ]]; do
  case $1 in
    --display) display=${2:?$usage}; shift 2 ;;
    --editor) editor=true; shift ;;
    --quiet) quiet=true; shift ;;
    *) echo "$usage" >&2; exit 2 ;;
  esac
done
build=$(cd "${1:?$usage}" && pwd)
runs=${2:-3}
seconds=${3:-10}
address=127.0.0.10
connect_limit_s=30
# The complete read takes well under a second on loopback; its progress
# window and the pauses around it are over after this.
read_settle_s=5
# CH3's ENTER button from the window's top-left corner at the reference size
# 1144 × 710; the contents scale with the window.
ch3_enter=(206 115)
reference_size=(1144 710)
# MAIN on/off: 0 silences the emulated console's meters.
main_on_address=972
if $editor && [[ -z $display ]]; then
  echo "idle_cpu.sh: --editor needs --display (the click goes through X)" >&2
  exit 2
fi
if $editor && ! command -v xdotool >/dev/null; then
  echo "idle_cpu.sh: --editor needs xdotool (apt-get install xdotool)" >&2
  exit 2
fi
console="$build/emulator/rmt4-console"
program="$build/src/ui/rmt4"
for binary in "$console" "$program"; do
  [[ -x $binary ]] || { echo "idle_cpu.sh: $binary is not built" >&2; exit 1; }
done

scratch=$(mktemp -d "${TMPDIR:-/tmp}/rmt4-idle-cpu.XXXXXX")
program_pid=

stop_run() {
  if [[ -n $program_pid ]]; then
    kill "$program_pid" 2>/dev/null || true
    wait "$program_pid" 2>/dev/null || true
    program_pid=
  fi
  if [[ -n ${EMULATOR_PID:-} ]]; then
    local emulator_pid=$EMULATOR_PID
    echo quit 2>/dev/null 1>&"${EMULATOR[1]}" || kill "$emulator_pid" 2>/dev/null || true
    wait "$emulator_pid" 2>/dev/null || true
  fi
}
trap 'stop_run; rm -rf "$scratch"' EXIT
trap 'exit 130' INT TERM

# CPU time of a process in clock ticks: utime + stime, the 14th and 15th
# fields; the name in field 2 may hold spaces, so count after its ')'.
cpu_ticks() {
  local stat
  stat=$(<"/proc/$1/stat")
  stat=${stat##*) }
  awk '{ print $12 + $13 }' <<<"$stat"
}

# CPU time of each thread in clock ticks, one "TID NAME TICKS" line each (names without spaces).
thread_ticks() {
  local task stat name
  for task in /proc/"$1"/task/*; do
    stat=$(<"$task/stat") || continue
    name=$(<"$task/comm")
    awk -v tid="${task##*/}" -v name="${name// /_}" '{ print tid, name, $12 + $13 }' <<<"${stat##*) }"
  done | sort
}

now() { date +%s.%N; }

# Clicks CH3's ENTER in the program's window, as a user would.
open_ch3_editor() {
  local window
  window=$(DISPLAY=$display xdotool search --onlyvisible --pid "$program_pid" | head -n 1)
  [[ -n $window ]] || { echo "idle_cpu.sh: no window of rmt4 on $display" >&2; return 1; }
  local width height
  read -r width height < <(DISPLAY=$display xdotool getwindowgeometry --shell "$window" |
    sed -n 's/^WIDTH=//p; s/^HEIGHT=//p' | paste -sd ' ')
  DISPLAY=$display xdotool mousemove --window "$window" $((ch3_enter[0] * width / reference_size[0])) \
    $((ch3_enter[1] * height / reference_size[1])) click 1
  sleep 1  # the editor's first paint
}

# One run: sets `percent` (of one core) and `peer` (the emulator's view). Runs in this shell, not a subshell,
# so that the exit trap knows the processes it started.
measure_run() {
  local run=$1 home="$scratch/run$1" ready tcp udp waited=0 ticks_before ticks_after start end
  mkdir -p "$home/runtime" "$home/data"
  chmod 700 "$home/runtime"

  coproc EMULATOR { exec "$console" --address "$address" --tcp-port 0 --udp-port 0; }
  read -r ready <&"${EMULATOR[0]}"
  tcp=$(sed -n 's/.*tcp=\([0-9]*\).*/\1/p' <<<"$ready")
  udp=$(sed -n 's/.*udp=\([0-9]*\).*/\1/p' <<<"$ready")
  [[ -n $tcp && -n $udp ]] || { echo "idle_cpu.sh: the emulator said '$ready'" >&2; return 1; }

  local platform=(QT_QPA_PLATFORM=offscreen)
  [[ -z $display ]] || platform=(QT_QPA_PLATFORM=xcb DISPLAY="$display")
  env "${platform[@]}" HOME="$home" XDG_RUNTIME_DIR="$home/runtime" XDG_DATA_HOME="$home/data" \
    RMT4_CONNECTION_KIND=2 RMT4_LOCAL_ADDRESS=127.0.0.1 RMT4_BROADCAST_ADDRESS="$address" \
    RMT4_TCP_PORT="$tcp" RMT4_UDP_PORT="$udp" "$program" >"$home/rmt4.log" 2>&1 &
  program_pid=$!

  while :; do
    echo peer >&"${EMULATOR[1]}"
    read -r peer <&"${EMULATOR[0]}"
    [[ $peer == "peer none" ]] || break
    kill -0 "$program_pid" 2>/dev/null || { echo "idle_cpu.sh: rmt4 ended early, see below" >&2; cat "$home/rmt4.log" >&2; return 1; }
    ((waited++ < connect_limit_s * 10)) || { echo "idle_cpu.sh: rmt4 did not connect within ${connect_limit_s} s" >&2; return 1; }
    sleep 0.1
  done
  if $quiet; then
    echo "set $main_on_address 0" >&"${EMULATOR[1]}"
    read -r _ <&"${EMULATOR[0]}"
  fi
  sleep "$read_settle_s"
  $editor && open_ch3_editor

  ticks_before=$(cpu_ticks "$program_pid")
  thread_ticks "$program_pid" >"$home/threads.before"
  start=$(now)
  sleep "$seconds"
  ticks_after=$(cpu_ticks "$program_pid")
  thread_ticks "$program_pid" >"$home/threads.after"
  end=$(now)
  stop_run
  # Where the time went: CPU seconds of each thread that used any (the GUI thread is named rmt4 and comes first).
  threads=$(join "$home/threads.before" "$home/threads.after" |
    awk -v hz="$(getconf CLK_TCK)" '$5 > $3 { printf "%s%s %.2f s", sep, $2, ($5 - $3) / hz; sep = ", " }')

  percent=$(awk -v ticks=$((ticks_after - ticks_before)) -v hz="$(getconf CLK_TCK)" -v s="$start" -v e="$end" \
    'BEGIN { printf "%.2f", 100 * ticks / hz / (e - s) }')
}

echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//'), load $(cut -d' ' -f1-3 /proc/loadavg)"
echo "shown: $([[ -n $display ]] && echo "window on $display" || echo offscreen), $($editor && echo "CH3's editor" || echo strips), meters $($quiet && echo still || echo moving)"
results=()
for ((run = 1; run <= runs; run++)); do
  measure_run "$run"
  results+=("$percent")
  echo "run $run: ${results[-1]} % of one core over ${seconds} s (emulator: $peer); threads: ${threads:-none busy}"
done
median=$(printf '%s\n' "${results[@]}" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }')
echo "idle CPU while connected: median ${median} % of one core over ${runs} runs (runs: ${results[*]})"
