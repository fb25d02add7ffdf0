#!/usr/bin/env bash
# Sets everything up and starts the program. Extra arguments go to it, e.g.
#   scripts/start.sh --com1 /dev/ttyUSB0
set -euo pipefail
cd "$(dirname "$0")/.."
VQ_TARGETS="vq4471r vq4471r-cli vq4471r-radiosim" scripts/setup.sh
exec build/vq4471r "$@"
