# Times the steps of a script: wall seconds and the CPU seconds (user + system)
# of everything the step ran, so the slow step shows even on a busy machine.
# Sourced by scripts/test.
#   rmt4_step NAME COMMAND [ARGS...]   runs COMMAND and notes its times
#   rmt4_step_table                    prints them as a table

rmt4_step_names=()
rmt4_step_wall=()
rmt4_step_cpu=()

# CPU ticks this shell and the children it has waited for have used so far.
rmt4_cpu_ticks() {
  local stat
  read -r -a stat </proc/$$/stat
  echo $((stat[13] + stat[14] + stat[15] + stat[16]))
}

rmt4_step() {
  local name=$1 start_wall start_cpu
  shift
  start_wall=$(date +%s.%N)
  start_cpu=$(rmt4_cpu_ticks)
  "$@"
  rmt4_step_names+=("$name")
  rmt4_step_wall+=("$(awk -v a="$start_wall" -v b="$(date +%s.%N)" 'BEGIN { printf "%.0f", b - a }')")
  rmt4_step_cpu+=("$(awk -v t=$(($(rmt4_cpu_ticks) - start_cpu)) -v hz="$(getconf CLK_TCK)" \
    'BEGIN { printf "%.0f", t / hz }')")
}

rmt4_step_table() {
  local i wall=0 cpu=0
  echo "== time per step (seconds)"
  printf '%-10s %6s %6s\n' step wall cpu
  for i in "${!rmt4_step_names[@]}"; do
    printf '%-10s %6s %6s\n' "${rmt4_step_names[$i]}" "${rmt4_step_wall[$i]}" "${rmt4_step_cpu[$i]}"
    wall=$((wall + rmt4_step_wall[i]))
    cpu=$((cpu + rmt4_step_cpu[i]))
  done
  printf '%-10s %6s %6s\n' total "$wall" "$cpu"
}
