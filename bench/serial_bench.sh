#!/usr/bin/env bash
# Complete read over a serial port: `rmt4ctl --serial PATH status` RUNS times
# against the emulator's pseudo-terminal, the console's side paced like the
# real line (12800 bytes/s); median seconds from "connected" to the end of the
# complete read, next to the time the console's bytes of that read take on
# such a line.
#
#   bench/serial_bench.sh [RUNS]        (after scripts/test has built build/release)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${RMT4_BUILD:-$root/build/release}
runs=${1:-7}
bytes_per_second=12800
log=$(mktemp)

# Traffic is logged so the bytes of one complete read can be counted.
coproc EMULATOR {
  "$build/emulator/rmt4-console" --address 127.0.0.10 --tcp-port 0 --udp-port 0 --pty \
    --pace-bps "$bytes_per_second" --verbose 2>"$log"
}
trap 'echo quit >&"${EMULATOR[1]}" 2>/dev/null || true; wait; rm -f "$log"' EXIT
read -r serial <&"${EMULATOR[0]}"
read -r _ready <&"${EMULATOR[0]}"
port=${serial#serial: }

source "$root/bench/lib/complete_read_timing.sh"
time_complete_reads "$build" "$runs" --serial "$port"

# The console's bytes of the first run's complete read: from the device query
# that opens it to the first mode-name request that follows it.
read_bytes=$(awk '$2 == "serial" && $3 == "rx" { if ($6 == "00" && !done) { on = 1; n = 0 } if ($6 == "04" && on) { on = 0; done = 1 } }
                  $2 == "serial" && $3 == "tx" && on { n += NF - 3 }
                  END { print n }' "$log")
awk -v bytes="$read_bytes" -v rate="$bytes_per_second" -v median="$median" 'BEGIN {
  bound = bytes / rate
  printf "wire-time lower bound: %.3f s (%d bytes from the console at %d bytes/s)\n", bound, bytes, rate
  printf "ratio median / bound: %.2f\n", median / bound
}'
