# Sourced by the link benchmarks. Runs `rmt4ctl ARGS... status` RUNS times and
# sets `reads` (seconds from "connected" to the end of the complete read, one
# per run) and `median`.
#   time_complete_reads BUILD RUNS ARGS...
time_complete_reads() {
  local build=$1 runs=$2 out connected complete i
  shift 2
  reads=()
  for ((i = 0; i < runs; i++)); do
    out=$("$build/src/cli/rmt4ctl" "$@" status)
    connected=$(sed -n 's/^connected after: \([0-9.]*\) s/\1/p' <<<"$out")
    complete=$(sed -n 's/^read complete after: \([0-9.]*\) s/\1/p' <<<"$out")
    reads+=("$(awk -v a="$connected" -v b="$complete" 'BEGIN { printf "%.3f", b - a }')")
  done
  median=$(printf '%s\n' "${reads[@]}" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }')
  echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//')"
  echo "complete read after connecting: median ${median} s over ${runs} runs (runs: ${reads[*]})"
}
