#!/usr/bin/env bash
# Sets everything up, then the long runs: 10 000 random operation sequences
# of 40 steps against the model, and 500 and more SIGKILLs of the window and
# the command line at random instants. Prints what each found. Takes hours;
# VQ_SEQUENCES and VQ_KILLS make it shorter. VQ_SEED replays a run.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
export QT_QPA_PLATFORM=offscreen
# Qt Test ends a test function after 5 minutes unless told otherwise.
export QTEST_FUNCTION_TIMEOUT=${QTEST_FUNCTION_TIMEOUT:-86400000}
export VQ_SEQUENCES=${VQ_SEQUENCES:-10000} VQ_KILLS=${VQ_KILLS:-100}
work=$(mktemp -d "${TMPDIR:-/tmp}/vq-soak.XXXXXX")
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data
start=$SECONDS
build/tests/tst_sequences randomSequences 2>&1 | grep -E 'QINFO|FAIL|Totals|^[A-Za-z] [0-9]'
echo "== sequences: $((SECONDS - start)) s"
# The kills run in a session of their own: a stray kill reaches no further.
setsid build/tests/tst_kills killedAtRandomInstants 2>&1 | grep -E 'QINFO|FAIL|Loc|Totals'
setsid build/tests/tst_faultmatrix killedAtAnyMoment 2>&1 | grep -E 'FAIL|Loc|Totals'
echo "== kills: $((SECONDS - start)) s"
