# Sourced by the benchmark scripts. The benchmark programs are built only on
# request: turns them on in BUILD and builds the ones named.
#   build_benchmark BUILD TARGET...
build_benchmark() {
  local build=$1
  shift
  cmake -S "$root" -B "$build" -DRMT4_BUILD_BENCHMARKS=ON >/dev/null
  cmake --build "$build" --target "$@" >/dev/null
}
