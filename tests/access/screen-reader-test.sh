#!/usr/bin/env bash
# Starts the program with the virtual mice under Xvfb, inside a D-Bus session of its own
# with the accessibility bus, and lets screen_reader.py read it as a screen reader does.
# Usage: screen-reader-test.sh <corvane executable> <scratch folder>
set -euo pipefail
program=$1
scratch=$2
here=$(cd "$(dirname "$0")" && pwd)

for tool in Xvfb dbus-run-session /usr/bin/python3; do
  command -v "$tool" >/dev/null || { echo "$tool is missing (scripts/setup installs it)"; exit 77; }
done
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "pyatspi is missing (scripts/setup installs it)"; exit 77; }

rm -rf "$scratch"
mkdir -p "$scratch/home" "$scratch/data" "$scratch/config" "$scratch/runtime"
chmod 700 "$scratch/runtime"

export HOME=$scratch/home XDG_DATA_HOME=$scratch/data XDG_CONFIG_HOME=$scratch/config
export XDG_RUNTIME_DIR=$scratch/runtime
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 NO_AT_BRIDGE=0
export CORVANE_PROGRAM=$program CORVANE_SCRATCH=$scratch
# On a real X server the keyboard map comes from libxkbcommon-x11, whose strndup of a
# string the X server sent without a terminating NUL trips ASan's strict string checks;
# the program's own code keeps them everywhere else.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}strict_string_checks=0"

# A display number of our own: the first free one from 90.
display=90
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do
  display=$((display + 1))
done
Xvfb ":$display" -screen 0 1366x768x24 -nolisten tcp >"$scratch/xvfb.log" 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
for _ in $(seq 1 100); do
  [ -e "/tmp/.X11-unix/X$display" ] && break
  sleep 0.1
done
export DISPLAY=":$display"

dbus-run-session -- /usr/bin/python3 "$here/screen_reader.py" "$@"
