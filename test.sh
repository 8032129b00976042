#!/usr/bin/env bash
# Builds Lumentag and runs every test, installing missing Debian packages
# first when run as root.
#
#   ./test.sh                the test suite, then again under AddressSanitizer
#                            and UndefinedBehaviorSanitizer (the fuzz replays
#                            included)
#   ./test.sh --fuzz SECONDS replays the kept fuzz inputs, then runs each
#                            libFuzzer target for SECONDS seconds
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh

# Sanitizer reports fail the run. Leak stacks are unwound in full (Qt is built
# without frame pointers), so that the suppressions can name Qt's own leaks.
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:fast_unwind_on_malloc=0
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan-suppressions.txt"

run_suite() {  # build folder, then extra CMake options
  local dir=$1
  shift
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMENTAG_TESTS=ON "$@" >/dev/null
  cmake --build "$dir"
  ctest --test-dir "$dir" --output-on-failure -j2
}

fuzz() {
  local seconds=$1 dir=build-fuzz target
  ensure_packages "${BUILD_PACKAGES[@]}" "${FUZZ_PACKAGES[@]}"
  CC=clang CXX=clang++ cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DLUMENTAG_TESTS=ON -DLUMENTAG_FUZZ=ON >/dev/null
  cmake --build "$dir" --target fuzz-document fuzz-file fuzz-makernote fuzz-jpeg fuzz-picture fuzz-xmp \
    fuzz-iptc make-hostile-files
  "$dir/make-hostile-files" "$dir/hostile"
  mkdir -p "$dir/artifacts"
  for target in document file makernote jpeg picture xmp iptc; do
    local inputs=("fuzz/corpus/${target/file/document}")
    case $target in
      makernote) inputs+=("$dir/hostile/makernote") ;;
      xmp | iptc) ;;
      *) inputs+=("$dir/hostile" ../shared/corpus) ;;
    esac
    echo "== fuzz-$target: replaying the kept inputs"
    "$dir/fuzz-$target" -runs=0 -max_len=65536 "${inputs[@]}" 2>&1 | tail -n 2
    echo "== fuzz-$target: fuzzing for $seconds s"
    mkdir -p "$dir/work/$target"
    "$dir/fuzz-$target" "$dir/work/$target" "${inputs[@]}" -max_total_time="$seconds" -timeout=1 \
      -rss_limit_mb=2048 -max_len=65536 -print_final_stats=1 -artifact_prefix="$dir/artifacts/" \
      2>&1 | grep -E "^(stat::|Done|#[0-9]+\s+DONE)|ERROR|SUMMARY" || true
    if ls "$dir/artifacts/"* >/dev/null 2>&1; then
      echo "fuzz-$target found a failing input: $(ls "$dir/artifacts/")" >&2
      exit 1
    fi
  done
}

if [ "${1:-}" = "--fuzz" ]; then
  fuzz "${2:?usage: ./test.sh --fuzz SECONDS}"
  exit 0
fi

ensure_packages "${BUILD_PACKAGES[@]}" "${INSTALL_CHECK_PACKAGES[@]}"
run_suite build
echo "== The same suite under AddressSanitizer and UndefinedBehaviorSanitizer"
run_suite build-asan -DLUMENTAG_SANITIZE=ON
