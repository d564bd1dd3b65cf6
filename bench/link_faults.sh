#!/usr/bin/env bash
# The link layer under faults, full counts, against rmt4-console on loopback:
# 100 cable pulls over the network and 100 over a serial line (a change made
# on the console during each outage must reach the mirror; descriptors and
# threads must not drift), 1000 edits over a link that drops and corrupts
# replies (none silently lost) and 200 stops at random moments (each under
# 1 s). Then an eight-hour show on the link's virtual clock against the
# console in the process (a few minutes of real time): an edit a second,
# console changes, scene uploads, mode recalls, a pull every ten minutes and
# 2 % of the frames lost or garbled; no edit silently lost, the mirror equal
# to the console, no growth from the first hour to the end. One run of each
# (or of the RUNs named); the program prints medians and maxima over its
# pulls, edits and stops, and the soak's figures. Exits 1 when any failed.
#
#   bench/link_faults.sh BUILD [SEED [RUN...]]     (BUILD: a built build folder;
#                                                 RUN: pulls, lossy, stops or soak)
set -euo pipefail
usage="usage: bench/link_faults.sh BUILD [SEED [RUN...]]"
build=$(cd "${1:?$usage}" && pwd)
seed=${2:-1}
runs=("${@:3}")
[[ ${#runs[@]} -gt 0 ]] || runs=(pulls lossy stops soak)
program="$build/tests/faults/link_faults"
[[ -x $program ]] || { echo "link_faults.sh: $program is not built" >&2; exit 1; }

# Each run leads a process group of its own, so its emulator ends with it.
run_pid=
stop_run() {
  if [[ -n $run_pid ]]; then
    kill -TERM -- "-$run_pid" 2>/dev/null || true
    wait "$run_pid" 2>/dev/null || true
    run_pid=
  fi
}
trap stop_run EXIT
trap 'exit 130' INT TERM

failed=0
run() {
  echo "-- link_faults --seed $seed $*"
  setsid "$program" --seed "$seed" "$@" &
  run_pid=$!
  wait "$run_pid" || failed=1
  run_pid=
}

echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//')"
for name in "${runs[@]}"; do
  case $name in
    pulls) run pulls 100 --net; run pulls 100 --serial ;;
    lossy) run lossy 1000 ;;
    stops) run stops 200 ;;
    soak) run soak $((8 * 60)) ;;
    *) echo "$usage" >&2; exit 2 ;;
  esac
done
exit "$failed"
