#!/usr/bin/env bash
# Runs a command with the controller simulator on COM 1 (build/bin/ports/COM1), and
# stops the simulator when the command ends. Without a built simulator it says so and
# runs the command alone.
set -euo pipefail
cd "$(dirname "$0")/.."
bin=build/bin

if [ ! -x "$bin/zavsim" ]; then
    echo "$bin/zavsim is missing: starting without the controller simulator" >&2
    exec "$@"
fi

"$bin/zavsim" --port 1 &
sim=$!
trap 'kill "$sim" 2>/dev/null || true; wait "$sim" 2>/dev/null || true' EXIT

# The program opens COM 1 at start-up: wait (5 s at most) until the simulator's link
# leads to its terminal.
for _ in $(seq 100); do
    [ -e "$bin/ports/COM1" ] && break
    kill -0 "$sim" 2>/dev/null || { echo "the simulator ended early" >&2; exit 1; }
    sleep 0.05
done
[ -e "$bin/ports/COM1" ] || echo "the simulator has not linked ports/COM1; going on" >&2

"$@"
