#!/usr/bin/env bash
# Sets up the dependencies, builds everything and runs all tests: the unit and
# integration tests through ctest, then each fuzz target briefly, then the
# tests again under the sanitizers.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KOVRA_BUILD_DIR:-$root/build}

"$root/scripts/setup-deps.sh"
KOVRA_BUILD_DIR=$build "$root/scripts/build.sh"

export QT_QPA_PLATFORM=offscreen
jobs=${KOVRA_JOBS:-$(nproc 2>/dev/null || echo 2)}
(cd "$build" && ctest --output-on-failure -j "$jobs")

# The system-wide arrow keys on X11 need an X server: run those tests under
# Xvfb when the machine has it (the run above covers the fallback).
if command -v xvfb-run >/dev/null 2>&1 && [ -x "$build/tests/kovra_tests_platform" ]; then
  echo "test: X11 arrow keys under Xvfb"
  QT_QPA_PLATFORM=xcb xvfb-run -a "$build/tests/kovra_tests_platform" --gtest_filter='X11GlobalHotKeys.*'
fi

if [ -x "$root/scripts/fuzz.sh" ]; then
  "$root/scripts/fuzz.sh"
fi

# --- Sanitizers ---------------------------------------------------------------
# Every test again under AddressSanitizer and UndefinedBehaviorSanitizer, and
# the threaded picture pipeline's tests under ThreadSanitizer, each in a tree
# of its own (build-asan, build-tsan; see scripts/sanitize.sh).
if [ -x "$root/scripts/sanitize.sh" ]; then
  "$root/scripts/sanitize.sh"
fi
