#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer
# into build-asan/ and runs the whole test suite there.
set -euo pipefail
cd "$(dirname "$0")/.."
VQ_BUILD_DIR=build-asan VQ_BUILD_TYPE=Debug \
  VQ_CMAKE_ARGS="-DVQ_SANITIZE=ON -DVQ_BUILD_BENCH=OFF" scripts/setup.sh
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:strict_string_checks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
# Fewer random sequences than the plain run: here they look for memory
# faults, and every step is several times slower.
export VQ_SEQUENCES=${VQ_SEQUENCES:-50}
ctest --test-dir build-asan --output-on-failure -j"${VQ_TEST_JOBS:-2}"
