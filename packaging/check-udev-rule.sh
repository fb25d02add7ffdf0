#!/usr/bin/env bash
# Checks that the cable rule gives access to the four USB-serial chips of
# programming cables and to nothing else: every rule line is a tty, names one
# literal vendor and product (no patterns), and only grants uaccess and tells
# ModemManager to keep away.
#
#   packaging/check-udev-rule.sh [RULES_FILE]
set -euo pipefail
RULES=${1:-$(dirname "$0")/70-vq4471r-cable.rules}
EXPECTED="0403:6001 067b:2303 10c4:ea60 1a86:7523"

fail() { echo "$RULES:$number: $*" >&2; exit 1; }

found=()
number=0
while IFS= read -r line || [ -n "$line" ]; do
  number=$((number + 1))
  [[ "$line" =~ ^[[:space:]]*(#|$) ]] && continue
  # A continued line would hide keys from this check.
  [[ "$line" == *'\' ]] && fail "continued line"
  subsystem=0 vendor='' product='' uaccess=0 ignore=0
  IFS=',' read -ra keys <<<"$line"
  for key in "${keys[@]}"; do
    key=$(echo "$key" | sed 's/^[[:space:]]*//; s/[[:space:]]*$//')
    case "$key" in
      'SUBSYSTEM=="tty"') subsystem=1 ;;
      'TAG+="uaccess"') uaccess=1 ;;
      'ENV{ID_MM_DEVICE_IGNORE}="1"') ignore=1 ;;
      ATTRS\{idVendor\}==\"????\") vendor=${key:18:4} ;;
      ATTRS\{idProduct\}==\"????\") product=${key:19:4} ;;
      *) fail "unexpected key: $key" ;;
    esac
  done
  [ "$subsystem" -eq 1 ] || fail 'not restricted to SUBSYSTEM=="tty"'
  [[ "$vendor" =~ ^[0-9a-f]{4}$ && "$product" =~ ^[0-9a-f]{4}$ ]] \
    || fail "vendor and product must be four literal lower-case hex digits each"
  [ "$uaccess" -eq 1 ] || fail 'no TAG+="uaccess"'
  [ "$ignore" -eq 1 ] || fail 'no ENV{ID_MM_DEVICE_IGNORE}="1"'
  found+=("$vendor:$product")
done <"$RULES"

actual=$(printf '%s\n' "${found[@]}" | sort | tr '\n' ' ' | sed 's/ $//')
if [ "$actual" != "$EXPECTED" ]; then
  echo "$RULES: matches [$actual], expected exactly [$EXPECTED]" >&2
  exit 1
fi
# Newer udev checks the syntax itself.
if command -v udevadm >/dev/null 2>&1 && udevadm verify --help >/dev/null 2>&1; then
  udevadm verify "$RULES"
fi
echo "$RULES: $actual"
