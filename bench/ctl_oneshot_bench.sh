#!/usr/bin/env bash
# What a show script feels: `rmt4ctl --net ADDRESS get 136` and `set 136=V`
# end to end (start, connect, read or write, exit) against the console
# emulator on loopback, RUNS times each; prints the machine and the medians.
#
#   bench/ctl_oneshot_bench.sh [RUNS]   (default 15; build/release, or the folder in RMT4_BUILD)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${RMT4_BUILD:-$root/build/release}
runs=${1:-15}
address=127.0.0.11
ctl=$build/src/cli/rmt4ctl

coproc EMULATOR { "$build/emulator/rmt4-console" --address "$address" --tcp-port 0 --udp-port 0; }
trap 'echo quit >&"${EMULATOR[1]}" 2>/dev/null || true; wait' EXIT
read -r ready <&"${EMULATOR[0]}"
tcp=$(sed -n 's/.*tcp=\([0-9]*\).*/\1/p' <<<"$ready")
udp=$(sed -n 's/.*udp=\([0-9]*\).*/\1/p' <<<"$ready")
export RMT4_LOCAL_ADDRESS=127.0.0.1 RMT4_TCP_PORT=$tcp RMT4_UDP_PORT=$udp

# Seconds one command takes from start to exit; a failed run stops the benchmark.
seconds_of() {
  local start end
  start=$(date +%s.%N)
  "$ctl" --net "$address" "$@" >/dev/null
  end=$(date +%s.%N)
  awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f", b - a }'
}

median_of() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

gets=() sets=()
for ((i = 0; i < runs; i++)); do
  gets+=("$(seconds_of get 136)")
  sets+=("$(seconds_of set "136=$((i % 2 ? 300 : 200))")")
done
echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//')"
echo "get 136: median $(median_of "${gets[@]}") s over ${runs} runs (runs: ${gets[*]})"
echo "set 136: median $(median_of "${sets[@]}") s over ${runs} runs (runs: ${sets[*]})"
echo "goal: median under 0.3 s"
