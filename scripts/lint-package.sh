#!/usr/bin/env bash
# Debian's own checks on the built package: any error or warning fails,
# unless packaging/lintian-overrides names it with the reason in a comment
# right above it.
#
#   scripts/lint-package.sh vq4471r_<version>-<revision>_<arch>.deb
set -euo pipefail
cd "$(dirname "$0")/.."
deb=${1:?usage: scripts/lint-package.sh PACKAGE.deb}
scripts/install-packages.sh lintian

overrides=packaging/lintian-overrides
if [ -f "$overrides" ]; then
  # An override without its reason is a warning nobody looked at.
  awk 'NF == 0 { reason = 0; next }
       /^#/ { reason = 1; next }
       !reason { print FILENAME ":" FNR ": override without a reason above it: " $0; bad = 1 }
       END { exit bad }' "$overrides"
fi
lintian --fail-on error,warning --tag-display-limit 0 "$deb"
echo "lintian: no error or warning left unexplained in $(basename "$deb")"
