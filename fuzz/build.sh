#!/usr/bin/env bash
# Builds the libFuzzer harnesses with AddressSanitizer and
# UndefinedBehaviorSanitizer into build-fuzz/ (or $VQ_FUZZ_BUILD_DIR).
# The code under test is plain C++, so no Qt and no CMake are involved.
set -euo pipefail
cd "$(dirname "$0")/.."

CXX=${CXX_FUZZ:-clang++}
OUT=${VQ_FUZZ_BUILD_DIR:-build-fuzz}
FLAGS=(-std=c++20 -O1 -g -fno-omit-frame-pointer
       -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined
       -Wall -Wextra -Isrc)

DECIMAL=(src/channels/Decimal.cpp src/channels/FrequencyRules.cpp)
FRAME=("${DECIMAL[@]}" src/channels/ValueDomains.cpp src/radio/ChannelFrame.cpp)
FILE=("${DECIMAL[@]}" src/files/Utf8.cpp src/files/ChannelFile.cpp)
CSV=("${DECIMAL[@]}" src/channels/ValueDomains.cpp src/channels/ValueRules.cpp src/channels/ChannelJudge.cpp src/channels/PickerRules.cpp
     src/files/Utf8.cpp src/files/DelimitedText.cpp src/files/CsvText.cpp src/files/CsvColumns.cpp
     src/files/CsvImport.cpp src/files/OwnCsv.cpp src/files/CommonCsvReader.cpp src/files/CommonCsvWriter.cpp)

mkdir -p "$OUT"
build() {
  local name=$1; shift
  "$CXX" "${FLAGS[@]}" "fuzz/$name.cpp" "$@" -o "$OUT/$name"
}
# Two harnesses at a time: the machine's cores are shared. Each job is
# waited for by its own pid, so every failed compile counts (a bare wait -n
# under && would stop looking after the first failure).
build fuzz_frame_decode "${FRAME[@]}" &
first=$!
build fuzz_channel_file "${FILE[@]}" &
second=$!
failed=0
wait "$first" || failed=1
build fuzz_numeric_text "${DECIMAL[@]}" &
third=$!
wait "$second" || failed=1
build fuzz_csv "${CSV[@]}" || failed=1
wait "$third" || failed=1
if [ "$failed" -ne 0 ]; then
  echo "fuzz/build.sh: a harness failed to build" >&2
  exit 1
fi
echo "built: $OUT/fuzz_frame_decode $OUT/fuzz_channel_file $OUT/fuzz_numeric_text $OUT/fuzz_csv"
