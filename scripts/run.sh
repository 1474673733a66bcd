#!/usr/bin/env bash
# Sets up, builds, and runs the program's main job. With an engraver attached
# (KOVRA_REAL_MACHINE=1) the program starts alone and finds it by its scan.
# Otherwise kovra-sim plays the machine on a private port directory: with a
# display the program starts there and finds the simulator by its own scan;
# without one, the command-line engraving of a sample picture runs the whole
# road. Either way the simulator's burned picture is left in $KOVRA_OUT.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KOVRA_BUILD_DIR:-$root/build}
out=${KOVRA_OUT:-$root/build/run}

"$root/scripts/setup-deps.sh"
KOVRA_BUILD_DIR=$build "$root/scripts/build.sh" kovra kovra-sim

if [ "${KOVRA_REAL_MACHINE:-0}" = 1 ]; then
  exec "$build/app/kovra" "$@"
fi

mkdir -p "$out"
ports=$(mktemp -d)
burned="$out/burned.png"
transcript="$out/transcript.txt"
rm -f "$burned"
sim_pace=--paced
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] || [ "${QT_QPA_PLATFORM:-}" = offscreen ]; then sim_pace=--fast; fi
"$build/sim/kovra-sim" --port COM3 --port-dir "$ports" "$sim_pace" --burned "$burned" --transcript "$transcript" &
sim=$!
cleanup() { kill "$sim" 2>/dev/null || true; wait "$sim" 2>/dev/null || true; rm -rf "$ports"; }
trap cleanup EXIT
# Wait for the simulator's port to appear.
for _ in $(seq 1 100); do [ -e "$ports/COM3" ] && break; sleep 0.05; done
export KOVRA_PORT_DIR=$ports
# Only the simulator's port: the scan leaves real devices alone.
export KOVRA_PORT_TABLE=0

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ "${QT_QPA_PLATFORM:-}" != offscreen ]; then
  echo "run: the program starts; kovra-sim plays the machine on COM3 ($ports)"
  if [ $# -eq 0 ]; then
    # The sample picture opens as if dropped: pick a rendering, then
    # "Send Image To Machine" and "Start".
    sample="$out/sample.png"
    "$build/app/kovra" sample "$sample"
    set -- "$sample"
  fi
  "$build/app/kovra" "$@" || true
else
  sample="$out/sample.png"
  "$build/app/kovra" sample "$sample"
  echo "run: no display; engraving the sample picture $sample from the command line"
  QT_QPA_PLATFORM=offscreen "$build/app/kovra" engrave "$sample" --effect dither --burn-time 40
fi
cleanup
trap - EXIT
if [ -f "$burned" ]; then
  echo "run: the simulator's burned picture is $burned (frame transcript: $transcript)"
else
  echo "run: no picture was burned this time (the simulator writes $burned when an engraving finishes)"
fi
