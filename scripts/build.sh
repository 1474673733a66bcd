#!/usr/bin/env bash
# Configures and builds the program into build/ (or $KOVRA_BUILD_DIR).
# Extra arguments are build targets (default: everything).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KOVRA_BUILD_DIR:-$root/build}
# shellcheck source=scripts/cmake-options.sh
. "$root/scripts/cmake-options.sh"
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" "${generator[@]}" "${launcher[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
jobs=${KOVRA_JOBS:-$(nproc 2>/dev/null || echo 2)}
if [ $# -gt 0 ]; then
  for t in "$@"; do cmake --build "$build" --target "$t" -j "$jobs"; done
else
  cmake --build "$build" -j "$jobs"
fi
