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

# The simulator prints its port line once the link ports/COM1 leads to its terminal;
# the program opens COM 1 at start-up, so it starts only after that line.
exec 3< <(exec "$bin/zavsim" --port 1)
sim=$!
trap 'kill "$sim" 2>/dev/null || true; wait "$sim" 2>/dev/null || true' EXIT
ready=0
while IFS= read -r -t 10 line <&3; do
    echo "$line"
    case "$line" in "zavsim: port COM1"*) ready=1; break ;; esac
done
[ "$ready" = 1 ] || echo "the simulator did not link ports/COM1; going on without it" >&2

"$@"
