#!/usr/bin/env bash
# Builds the tests with sanitizers in trees of their own and runs them:
#  - AddressSanitizer and UndefinedBehaviorSanitizer: the whole ctest suite
#    (build-asan);
#  - ThreadSanitizer: the tests of the threaded picture pipeline (build-tsan),
#    with scripts/tsan.supp silencing the races inside Qt's own thread pool.
# Those trees build no benchmarks and no fuzz targets.
# Exits non-zero when a test fails or a sanitizer reports anything.
#   KOVRA_ASAN_BUILD_DIR, KOVRA_TSAN_BUILD_DIR   the trees (default build-asan, build-tsan)
#   KOVRA_SANITIZERS   "asan tsan" (default), or one of them
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
asan_build=${KOVRA_ASAN_BUILD_DIR:-$root/build-asan}
tsan_build=${KOVRA_TSAN_BUILD_DIR:-$root/build-tsan}
which=${KOVRA_SANITIZERS:-asan tsan}
jobs=${KOVRA_JOBS:-$(nproc 2>/dev/null || echo 2)}

# shellcheck source=scripts/cmake-options.sh
. "$root/scripts/cmake-options.sh"

# configure TREE FLAGS: a tree of the tests alone, optimised a little (-O1)
# so the pixel loops stay quick under instrumentation.
configure() {
  local tree=$1 flags=$2
  if [ ! -f "$tree/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$tree" "${generator[@]}" "${launcher[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" -DCMAKE_CXX_FLAGS="$flags" \
      -DCMAKE_EXE_LINKER_FLAGS="$flags" -DKOVRA_BUILD_BENCH=OFF -DKOVRA_BUILD_FUZZ=OFF >/dev/null
  fi
}

failed=()

if [[ " $which " == *" asan "* ]]; then
  echo "sanitize: AddressSanitizer + UndefinedBehaviorSanitizer, every test ($asan_build)"
  configure "$asan_build" "-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
  # Everything the tests use (a test folder added later comes along). The
  # artwork generator and the man pages' --help runs happen during the build:
  # with the sanitizers in them, and leaks of their own not counted (build
  # steps, not the program).
  ASAN_OPTIONS=detect_leaks=0 cmake --build "$asan_build" -j "$jobs"
  if ! (cd "$asan_build" && QT_QPA_PLATFORM=offscreen \
        ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1 \
        UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        ctest --output-on-failure -j "$jobs"); then
    failed+=(asan)
  fi
fi

if [[ " $which " == *" tsan "* ]]; then
  echo "sanitize: ThreadSanitizer, the threaded picture pipeline ($tsan_build)"
  configure "$tsan_build" "-fsanitize=thread -fno-omit-frame-pointer"
  cmake --build "$tsan_build" -j "$jobs" --target kovra_tests_rendering kovra_tests_picture
  # The pipeline's own threads: the picture flow's worker, the streamed
  # renderings and the row stretcher they use. Qt's pool threads run
  # without glib's event dispatcher, whose allocations between threads are
  # as invisible to ThreadSanitizer as Qt's own.
  tsan() {
    QT_QPA_PLATFORM=offscreen QT_NO_GLIB=1 \
      TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$root/scripts/tsan.supp:report_signal_unsafe=0" \
      "$@"
  }
  if ! tsan "$tsan_build/tests/kovra_tests_rendering" --gtest_filter='RowStretcher*' \
     || ! tsan "$tsan_build/tests/kovra_tests_picture"; then
    failed+=(tsan)
  fi
fi

if [ ${#failed[@]} -gt 0 ]; then
  echo "sanitize: FAILED: ${failed[*]}"
  exit 1
fi
echo "sanitize: clean"
