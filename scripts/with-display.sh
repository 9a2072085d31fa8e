#!/usr/bin/env bash
# Runs a command on an X display: the one set in DISPLAY, or else a virtual X server (Xvfb) of the
# given size started for the command and stopped after it. Without either, the command runs anyway
# and its window parts report that they were skipped.
# Usage: scripts/with-display.sh WIDTHxHEIGHT command [arguments...]
set -uo pipefail
size=$1
shift
if [ -n "${DISPLAY:-}" ] || ! command -v Xvfb >/dev/null 2>&1; then
    [ -z "${DISPLAY:-}" ] && echo "with-display: no DISPLAY and no Xvfb; window tests and benchmarks are skipped" >&2
    exec "$@"
fi
# The first display number whose socket is free.
n=90
while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
Xvfb ":$n" -screen 0 "${size}x24" -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null' EXIT
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
DISPLAY=":$n" "$@"
