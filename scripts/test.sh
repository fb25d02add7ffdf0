#!/usr/bin/env bash
# Sets everything up and runs every test (no display needed).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "${VQ_BUILD_DIR:-build}" --output-on-failure -j"${VQ_TEST_JOBS:-2}"
