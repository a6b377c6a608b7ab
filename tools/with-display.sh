#!/usr/bin/env bash
# Runs a command with an X display: the caller's, or a private Xvfb server.
set -euo pipefail
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec "$@"
fi
# The server picks a free number itself and says which (-displayfd): runs
# started side by side never race for the same one.
fifo=$(mktemp -u "${TMPDIR:-/tmp}/with-display.XXXXXX")
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill $xvfb_pid 2>/dev/null || true; rm -f "$fifo"' EXIT
number=""
read -r -t 20 number <"$fifo" || true
[ -n "$number" ] || { echo "with-display: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$number"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
"$@"
