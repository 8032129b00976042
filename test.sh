#!/usr/bin/env bash
# Builds Lumentag and runs every test (installs missing Debian packages first
# when run as root).
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh

ensure_packages "${BUILD_PACKAGES[@]}"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMENTAG_TESTS=ON >/dev/null
cmake --build build
ctest --test-dir build --output-on-failure -j2
