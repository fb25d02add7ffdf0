#!/usr/bin/env bash
# Sets everything up and prints the link and start-up figures.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
build/bench_link
build/bench_startup
