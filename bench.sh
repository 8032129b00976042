#!/usr/bin/env bash
# Builds lumentag-bench (optimised) and runs it over ../shared/corpus and any
# folders given here, then prints the ratios the README reports. Installs
# missing Debian packages first when run as root.
#
#   ./bench.sh [FOLDER...]            the benchmarks
#   ./bench.sh --library [FOLDER...]  a library of 10,000 photos read by
#                                     lumentag-dump -r, and the peak memory
#                                     for 100,000
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh

ensure_packages "${BUILD_PACKAGES[@]}" "${BENCH_PACKAGES[@]}"
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DLUMENTAG_BENCH=ON -DLUMENTAG_TESTS=OFF >/dev/null
cmake --build build-bench --target lumentag-bench
if [ "${1:-}" = "--library" ]; then
  exec build-bench/lumentag-bench "$@"
fi
# Ten runs of each benchmark, interleaved in random order so that a drift of
# the machine's speed touches all alike; the ratios come from the medians.
exec build-bench/lumentag-bench --benchmark_min_time=0.3 --benchmark_repetitions=10 \
  --benchmark_enable_random_interleaving=true --benchmark_report_aggregates_only=true "$@"
