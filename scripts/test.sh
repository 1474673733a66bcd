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
# The X11 tests need an X server; they run right after this under Xvfb, so
# this offscreen pass leaves them out rather than listing them as skipped.
(cd "$build" && ctest --output-on-failure -j "$jobs" -E '\.X11')

# What only an X server shows: the system-wide arrow keys, the program's
# window class and icon, and the windows' titles and frames (the frames under
# a real window manager). The setup
# installs Xvfb and the window manager, so these never go unrun.
if ! command -v xvfb-run >/dev/null 2>&1 || ! command -v openbox >/dev/null 2>&1; then
  echo "test: xvfb-run and openbox are needed for the X11 tests" >&2
  exit 1
fi
echo "test: X11 arrow keys under Xvfb"
QT_QPA_PLATFORM=xcb xvfb-run -a "$build/tests/kovra_tests_platform" --gtest_filter='X11GlobalHotKeys.*'
echo "test: X11 the program's window class and icon under Xvfb"
QT_QPA_PLATFORM=xcb xvfb-run -a "$build/tests/kovra_tests_integration_linux" --gtest_filter='X11Program.*'
# The manager is started and has taken the screen before the tests begin
# (scripts/with-window-manager.sh); then again with a title bar much taller
# than openbox's own, as the common desktops draw them.
echo "test: X11 window titles and frames under Xvfb with a window manager"
QT_QPA_PLATFORM=xcb xvfb-run -a bash "$root/scripts/with-window-manager.sh" \
  "$build/tests/kovra_tests_shell" --gtest_filter='X11Windows.*'
echo "test: X11 window frames with a tall title bar"
tall_title=$(mktemp -d)
sed -E 's#<size>[0-9]+</size>#<size>36</size>#' /etc/xdg/openbox/rc.xml > "$tall_title/rc.xml"
KOVRA_OPENBOX_CONFIG=$tall_title/rc.xml QT_QPA_PLATFORM=xcb xvfb-run -a bash "$root/scripts/with-window-manager.sh" \
  "$build/tests/kovra_tests_shell" --gtest_filter='X11Windows.OuterGeometryUnderAWindowManager'
rm -rf "$tall_title"

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

# --- Windows ------------------------------------------------------------------
# The Windows build, its tests as Windows programs under Wine (the installer
# among them), an engraving through Wine's serial ports compared with this
# build's, and the benchmarks' ratios (scripts/test-windows.sh). Said and
# skipped when no Windows toolchain prefix is at hand.
KOVRA_BUILD_DIR=$build "$root/scripts/test-windows.sh"
