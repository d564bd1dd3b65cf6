#!/usr/bin/env bash
# Link benchmarks against the console emulator on loopback:
#  - complete read: `rmt4ctl status` RUNS times; median seconds from the TCP
#    connection (status "connected") to the end of the complete read;
#  - edit to wire: median time from an edit to its WriteParams frame leaving.
#
#   bench/link_bench.sh [RUNS]        (after scripts/test has built build/release)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${RMT4_BUILD:-$root/build/release}
runs=${1:-7}
address=127.0.0.9

source "$root/bench/lib/build_benchmark.sh"
build_benchmark "$build" edit_to_wire_bench

coproc EMULATOR { "$build/emulator/rmt4-console" --address "$address" --tcp-port 0 --udp-port 0; }
trap 'echo quit >&"${EMULATOR[1]}" 2>/dev/null || true; wait' EXIT
read -r ready <&"${EMULATOR[0]}"
tcp=$(sed -n 's/.*tcp=\([0-9]*\).*/\1/p' <<<"$ready")
udp=$(sed -n 's/.*udp=\([0-9]*\).*/\1/p' <<<"$ready")
export RMT4_LOCAL_ADDRESS=127.0.0.1 RMT4_TCP_PORT=$tcp RMT4_UDP_PORT=$udp

source "$root/bench/lib/complete_read_timing.sh"
time_complete_reads "$build" "$runs" --net "$address"
# The bytes on the wire take microseconds on loopback, and the read's pauses
# end as soon as everything they wait for has arrived; rmt4ctl prints
# hundredths of a second.
echo "lower bound: the wire time on loopback, below the 0.01 s resolution"

"$build/bench/edit_to_wire_bench" "$address" 60
