#!/usr/bin/env bash
# Builds the program for Windows x86-64 into build-windows/ (or
# $KOVRA_WINDOWS_BUILD_DIR): kovra.exe, its tests, the benchmarks and the
# installer kovra-setup-<version>.exe. A cross build with Debian's MinGW-w64
# against the prefix with Qt for Windows (see scripts/windows-env.sh); the
# generators that run during the build are built for this machine in
# build-windows/host-tools. Extra arguments are build targets.
# Exit status 3: no Windows toolchain prefix (nothing was built).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=scripts/windows-env.sh
. "$root/scripts/windows-env.sh"

if ! kovra_windows_prefix; then
  echo "build-windows: $KOVRA_WIN_MISSING" >&2
  exit 3
fi
"$root/scripts/setup-deps.sh" --windows

# shellcheck source=scripts/cmake-options.sh
. "$root/scripts/cmake-options.sh"
toolchain="$KOVRA_WIN_PREFIX/share/wintc/mingw-w64.cmake"
if [ ! -f "$win_build/CMakeCache.txt" ] || ! grep -q "^CMAKE_TOOLCHAIN_FILE:.*=$toolchain\$" "$win_build/CMakeCache.txt"; then
  rm -f "$win_build/CMakeCache.txt"
  cmake -S "$root" -B "$win_build" "${generator[@]}" "${launcher[@]}" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain"
fi
jobs=${KOVRA_JOBS:-$(nproc 2>/dev/null || echo 2)}
if [ $# -gt 0 ]; then
  for t in "$@"; do cmake --build "$win_build" --target "$t" -j "$jobs"; done
else
  cmake --build "$win_build" -j "$jobs"
fi
