#!/usr/bin/env bash
# Builds lumentag-bench (optimised) and runs it over ../shared/corpus and any
# folders given here, then prints the ratios the README reports. Installs
# missing Debian packages first when run as root.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh

ensure_packages "${BUILD_PACKAGES[@]}" "${BENCH_PACKAGES[@]}"
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DLUMENTAG_BENCH=ON -DLUMENTAG_TESTS=OFF >/dev/null
cmake --build build-bench --target lumentag-bench
exec build-bench/lumentag-bench --benchmark_min_time=2 "$@"
