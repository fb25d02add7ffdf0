#!/usr/bin/env bash
# Sets everything up and prints the link, start-up, finder, history, multi-radio write, paste, row-operation, rule check and band chart figures.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
build/bench_link
build/bench_startup
build/bench_finder
build/bench_history
build/bench_fleet
build/bench_paste
build/bench_chart
