#!/usr/bin/env bash
# Builds Lumentag and starts it on a bundled sample (installs missing Debian
# packages first when run as root). Without a display it prints the tags of
# the bundled samples.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh

ensure_packages "${BUILD_PACKAGES[@]}"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  cmake --build build --target lumentag
  exec build/lumentag samples/canon-powershot-s40.jpg
fi
cmake --build build --target lumentag-dump
exec build/lumentag-dump --image samples/*.jpg
