# Starts the console emulator on a loopback address with free ports and points
# RMT-4 Remote (and rmt4ctl) at it. Sourced by the demo and by tests.

# rmt4_start_console EMULATOR ADDRESS FOLDER: runs EMULATOR on ADDRESS, its
# input a fifo in FOLDER held open on descriptor 3 for its life, and waits
# until it takes connections. Sets console_pid (the caller stops it) and
# exports the RMT4_* settings that send the program's search to ADDRESS alone.
rmt4_start_console() {
  local emulator=$1 address=$2 folder=$3 ready=
  mkfifo "$folder/console.in"
  "$emulator" --address "$address" --tcp-port 0 --udp-port 0 \
    <"$folder/console.in" >"$folder/console.out" 2>"$folder/console.log" &
  console_pid=$!
  exec 3>"$folder/console.in"
  for _ in $(seq 100); do
    ready=$(grep -m1 '^ready ' "$folder/console.out" || true)
    [ -n "$ready" ] && break
    kill -0 "$console_pid" 2>/dev/null || break
    sleep 0.1
  done
  if [ -z "$ready" ]; then
    echo "the console emulator did not start:" >&2
    cat "$folder/console.log" >&2
    return 1
  fi
  export RMT4_CONNECTION_KIND=2 RMT4_LOCAL_ADDRESS=127.0.0.1 RMT4_BROADCAST_ADDRESS=$address
  RMT4_TCP_PORT=$(sed -n 's/.*tcp=\([0-9]*\).*/\1/p' <<<"$ready")
  RMT4_UDP_PORT=$(sed -n 's/.*udp=\([0-9]*\).*/\1/p' <<<"$ready")
  export RMT4_TCP_PORT RMT4_UDP_PORT
}
