#!/usr/bin/env bash
# The link layer under faults, full counts, against rmt4-console on loopback:
# 100 cable pulls over the network and 100 over a serial line (a change made
# on the console during each outage must reach the mirror; descriptors and
# threads must not drift), 1000 edits over a link that drops and corrupts
# replies (none silently lost) and 200 stops at random moments (each under
# 1 s). One run of each; the program prints medians and maxima over its
# pulls, edits and stops. Exits 1 when any of them failed.
#
#   bench/link_faults.sh BUILD [SEED]     (BUILD: a built build folder)
set -euo pipefail
usage="usage: bench/link_faults.sh BUILD [SEED]"
build=$(cd "${1:?$usage}" && pwd)
seed=${2:-1}
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
run pulls 100 --net
run pulls 100 --serial
run lossy 1000
run stops 200
exit "$failed"
