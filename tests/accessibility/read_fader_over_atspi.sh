#!/usr/bin/env bash
# Starts the emulated console on 127.0.0.3 and, under a virtual X server with
# its own session bus and accessibility bus, RMT-4 Remote pointed at it; then
# a screen reader's view of the window (AT-SPI) must find "CH3 fader" and read
# its value in words, and follow it when rmt4ctl moves the fader. Usage: read_fader_over_atspi.sh RMT4 RMT4_CONSOLE RMT4CTL
set -euo pipefail

program=$1
console=$2
ctl=$3
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/../../scripts/lib/emulated_console.sh"
# Debian's Python, where python3-gi and the AT-SPI bindings live.
python=/usr/bin/python3

for tool in Xvfb dbus-run-session "$python"; do
  if ! command -v "$tool" >/dev/null; then
    echo "read_fader_over_atspi: $tool is missing (scripts/test installs xvfb, dbus, at-spi2-core, gir1.2-atspi-2.0, python3-gi)" >&2
    exit 1
  fi
done
if ! "$python" -c "import gi; gi.require_version('Atspi', '2.0')" 2>/dev/null; then
  echo "read_fader_over_atspi: the AT-SPI bindings are missing (gir1.2-atspi-2.0, python3-gi)" >&2
  exit 1
fi

work=$(mktemp -d)
console_pid=
xvfb_pid=
cleanup() {
  for pid in $console_pid $xvfb_pid; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  rm -rf "$work"
}
trap cleanup EXIT

# Loopback only: the console's own address, free ports, the search sent to it alone.
console_address=127.0.0.3
rmt4_start_console "$console" "$console_address" "$work"

# A home of its own: settings, scenes, logs and the single-instance lock stay in the work folder.
mkdir -m 700 "$work/home" "$work/runtime"
export HOME=$work/home XDG_RUNTIME_DIR=$work/runtime RMT4_DATA_DIR=$work/home/data
export LANG=C.UTF-8 LC_ALL=C.UTF-8
# The virtual X server picks a free display itself and names it once it takes connections;
# it must not reset when the accessibility bus launcher, its first client, leaves.
Xvfb -displayfd 4 -screen 0 1280x800x24 -nolisten tcp -noreset 4>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  kill -0 "$xvfb_pid" 2>/dev/null || break
  sleep 0.05
done
if [ ! -s "$work/display" ]; then
  echo "read_fader_over_atspi: the virtual X server did not start:" >&2
  cat "$work/xvfb.log" >&2
  exit 1
fi
export DISPLAY=:$(head -n1 "$work/display")
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1

if ! dbus-run-session -- "$python" "$here/read_fader.py" "$program" "$ctl" "$console_address"; then
  echo "read_fader_over_atspi: the virtual X server on $DISPLAY said:" >&2
  cat "$work/xvfb.log" >&2
  exit 1
fi
