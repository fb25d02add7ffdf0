#!/usr/bin/env bash
# Sets everything up, starts the radio simulator on a pseudo-terminal and
# the program on it as port 1; the simulator stops when the program ends.
# Its memory is kept in radiosim-memory.txt between runs.
set -euo pipefail
cd "$(dirname "$0")/.."
VQ_TARGETS="vq4471r vq4471r-radiosim" scripts/setup.sh
link=$(mktemp -u /tmp/vq4471r-radio.XXXXXX)
build/vq4471r-radiosim --link "$link" --memory radiosim-memory.txt >/dev/null &
sim=$!
trap 'kill $sim 2>/dev/null; wait $sim 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -e "$link" ] && break; sleep 0.1; done
build/vq4471r --com1 "$link" --com2 /dev/null "$@"
