#!/usr/bin/env bash
# Runs every libFuzzer harness under fuzz/ for SECONDS each (default 60),
# one after the other, and fails on any finding.
#
#   scripts/fuzz.sh 20     # the short run CI does
#   scripts/fuzz.sh 120    # the long run: 2 to 9 million executions each
#
# Installs clang and the libFuzzer runtime when they are missing, builds the
# harnesses into build-fuzz/, and fuzzes a copy of each seed corpus in a
# scratch folder, so the committed corpus never grows and no artefact lands
# in the repository. The scratch folder is removed after a clean run and
# kept (its path printed) when something was found.
set -euo pipefail
cd "$(dirname "$0")/.."

SECONDS_EACH=${1:-60}
if ! [[ "$SECONDS_EACH" =~ ^[1-9][0-9]*$ ]]; then
  echo "usage: $0 [SECONDS]" >&2
  exit 2
fi
HARNESSES=(fuzz_frame_decode fuzz_channel_file fuzz_numeric_text fuzz_csv)

scripts/install-packages.sh clang libclang-rt-dev

BUILD_DIR=${VQ_FUZZ_BUILD_DIR:-build-fuzz}
VQ_FUZZ_BUILD_DIR=$BUILD_DIR fuzz/build.sh >/dev/null
BIN_DIR=$(cd "$BUILD_DIR" && pwd)

WORK=$(mktemp -d "${TMPDIR:-/tmp}/vq-fuzz.XXXXXX")
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}

failed=0
for name in "${HARNESSES[@]}"; do
  dir="$WORK/$name"
  mkdir -p "$dir/corpus"
  cp fuzz/corpus/"$name"/* "$dir/corpus/"
  status=0
  (cd "$dir" && "$BIN_DIR/$name" corpus \
      -max_total_time="$SECONDS_EACH" -timeout=10 -rss_limit_mb=2048 \
      -print_final_stats=1 -close_fd_mask=1 -artifact_prefix="$dir/" \
      >"$dir/log" 2>&1) || status=$?
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$dir/log" | tail -n 1)
  findings=$(find "$dir" -maxdepth 1 -type f \
      \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' -o -name 'oom-*' \) | wc -l)
  # A failed run without an artefact is still a finding.
  if [ "$status" -ne 0 ] && [ "$findings" -eq 0 ]; then
    findings=1
  fi
  echo "fuzz $name: ${executions:-0} executions, $findings findings"
  if [ "$findings" -ne 0 ]; then
    failed=1
    grep -E '^(invariant broken|input \(|SUMMARY|==[0-9]+==ERROR)' "$dir/log" | head -n 6 >&2 || true
  fi
done

if [ "$failed" -ne 0 ]; then
  echo "findings, logs and reproducers kept in $WORK" >&2
  exit 1
fi
rm -rf "$WORK"
