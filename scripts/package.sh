#!/usr/bin/env bash
# Builds the Debian package vq4471r_<version>-<revision>_<arch>.deb in the repository's
# top folder: the three programs (Release, stripped), the desktop entry,
# metainfo, icons, the cable's udev rule and the manual pages.
#
#   scripts/package.sh
#   sudo apt-get install ./vq4471r_*.deb
#
# Installs what the build needs when it is missing, and builds into
# build-package/ (or $VQ_PACKAGE_BUILD_DIR) without tests or benchmarks.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-packages.sh \
  cmake make g++ pkg-config \
  qt6-base-dev qt6-base-dev-tools qt6-serialport-dev qt6-svg-dev libgl-dev \
  dpkg-dev file librsvg2-bin

BUILD_DIR=${VQ_PACKAGE_BUILD_DIR:-build-package}
cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DVQ_PACKAGE=ON -DVQ_BUILD_TESTS=OFF -DVQ_BUILD_BENCH=OFF >/dev/null
cmake --build "$BUILD_DIR" -j"$(nproc)"
# A package left from an older version would otherwise look like this one.
rm -f "$BUILD_DIR"/vq4471r_*.deb
(cd "$BUILD_DIR" && cpack -G DEB >/dev/null)
deb=$(find "$BUILD_DIR" -maxdepth 1 -name 'vq4471r_*.deb' -print -quit)
[ -n "$deb" ] || { echo "cpack made no package" >&2; exit 1; }
cp "$deb" .
echo "$(basename "$deb")"
