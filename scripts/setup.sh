#!/usr/bin/env bash
# Installs what the build needs (Debian packages), then configures and
# builds into build/ (or $VQ_BUILD_DIR). Safe to run again: it installs only
# what is missing and rebuilds only what changed.
set -euo pipefail
cd "$(dirname "$0")/.."

PACKAGES=(
  cmake make g++ pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-serialport-dev qt6-svg-dev libqt6sql6-sqlite libgl-dev
  qt6-translations-l10n fonts-arphic-ukai fonts-arphic-uming
  qt6-tools-dev qt6-l10n-tools  # lupdate, lrelease and their CMake functions for the English interface
  util-linux e2fsprogs  # flock, setpriv and chattr, which the tests call
  poppler-utils  # pdftotext and pdfinfo read the exported channel card back
  dpkg-dev librsvg2-bin file  # the package: dependency scan, icons drawn from the SVG
  desktop-file-utils appstream  # validate the package's desktop entry and metainfo
)
scripts/install-packages.sh "${PACKAGES[@]}"

BUILD_DIR=${VQ_BUILD_DIR:-build}
cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=${VQ_BUILD_TYPE:-RelWithDebInfo} ${VQ_CMAKE_ARGS:-} >/dev/null
# VQ_TARGETS narrows the build (starting the program needs no tests).
targets=()
for target in ${VQ_TARGETS:-}; do targets+=(--target "$target"); done
cmake --build "$BUILD_DIR" -j"$(nproc)" "${targets[@]}"
