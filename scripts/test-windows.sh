#!/usr/bin/env bash
# The Windows stage of the test command: builds the Windows program
# (scripts/build-windows.sh) and tests it as Windows programs under Wine, in
# a Wine prefix of its own (build-windows/wine) with the metric-compatible
# fonts Debian ships in its Fonts folder:
#  1. every test that is not about Linux itself, through ctest (the installer
#     among them: installed, used and uninstalled), counted;
#  2. an engraving through Wine's serial stack: kovra-sim on a pseudo-terminal
#     linked into the prefix as COM3, kovra.exe engrave finding it by its own
#     scan; the burned picture and the frames received must equal those of
#     the Linux build's engraving of the same picture;
#  3. the benchmarks' ratios: the transfer through Wine's COM port against the
#     line, and the picture pipeline against the Linux build's.
# Without a Windows toolchain prefix it says so and the stage is skipped
# (exit 0); with one, any failure fails it.
#   KOVRA_BUILD_DIR   the Linux build to compare with (default build/)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=scripts/windows-env.sh
. "$root/scripts/windows-env.sh"
linux_build=${KOVRA_BUILD_DIR:-$root/build}
jobs=${KOVRA_JOBS:-$(nproc 2>/dev/null || echo 2)}
stage_start=$SECONDS
step_start=$SECONDS
took() { echo "windows: $1 took $((SECONDS - step_start)) s"; step_start=$SECONDS; }

if ! kovra_windows_prefix; then
  echo "test: the Windows stage was SKIPPED: $KOVRA_WIN_MISSING"
  exit 0
fi
"$root/scripts/build-windows.sh"
KOVRA_BUILD_DIR=$linux_build "$root/scripts/build.sh" kovra kovra-sim kovra-bench-image
took "building"

# --- The Wine prefix ----------------------------------------------------------
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine64 || command -v wine)
run="$KOVRA_WIN_PREFIX/share/wintc/wine-run"
export WINEPREFIX="$win_build/wine" WINEDEBUG=-all
# No Mono or Gecko to offer: nothing here needs them.
export WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  "$wine" wineboot -i >/dev/null 2>&1
fi
# One server for the whole stage: every test process starts faster.
"${wine%/*}/wineserver" -p 600 </dev/null >/dev/null 2>&1 || true
trap '"${wine%/*}/wineserver" -k >/dev/null 2>&1 || true' EXIT
fonts="$WINEPREFIX/drive_c/windows/Fonts"
for face in /usr/share/fonts/truetype/crosextra/Carlito-*.ttf /usr/share/fonts/truetype/liberation2/LiberationSans-*.ttf \
            /usr/share/fonts/opentype/noto/NotoSansCJK-*.ttc; do
  [ -e "$fonts/${face##*/}" ] || ln -s "$face" "$fonts/${face##*/}"
done
# The window fonts by the names the program asks for, as on a Windows PC.
"$wine" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Calibri /d Carlito /f >/dev/null 2>&1
"$wine" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Arial /d 'Liberation Sans' /f >/dev/null 2>&1
took "preparing the Wine prefix"

# --- 1. The tests under Wine -----------------------------------------------------
log="$win_build/ctest-wine.log"
status=0
(cd "$win_build" && QT_QPA_PLATFORM=offscreen QT_QPA_FONTDIR='C:\windows\Fonts' \
  ctest --output-on-failure -j "$jobs") > "$log" 2>&1 || status=$?
summary=$(grep -E "tests passed, [0-9]+ tests? failed out of [0-9]+" "$log" || true)
total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$summary")
failed=$(sed -E 's/.* passed, ([0-9]+) tests? failed.*/\1/' <<<"$summary")
if [ "$status" -ne 0 ] || [ -z "$summary" ] || [ "$failed" != 0 ]; then
  tail -n 60 "$log"
  echo "test: the Windows tests under Wine FAILED (${summary:-no summary}; the whole log: $log)" >&2
  exit 1
fi
echo "test: $total tests ran under Wine as Windows programs, $((total - failed)) passed"
took "the tests under Wine"

# --- 2. One engraving through Wine's COM3, against the Linux build's -------------
work="$win_build/engrave-check"
rm -rf "$work"
mkdir -p "$work/ports"
"$linux_build/app/kovra" sample "$work/sample.png"
sim="$linux_build/sim/kovra-sim"
engrave() { # name, the simulator's port folder and link name, the engraving command...
  local name=$1 dir=$2 link=$3
  shift 3
  "$sim" --port COM3 --port-dir "$dir" --link-name "$link" --fast --exit-after-carve \
    --burned "$work/$name-burned.png" --transcript "$work/$name-frames.txt" > "$work/$name-sim.log" 2>&1 &
  local pid=$!
  for _ in $(seq 1 100); do [ -e "$dir/$link" ] && break; sleep 0.05; done
  if ! "$@" > "$work/$name-engrave.log" 2>&1; then
    kill "$pid" 2>/dev/null || true
    cat "$work/$name-engrave.log"
    echo "test: the $name engraving FAILED" >&2
    exit 1
  fi
  wait "$pid"
}
engrave linux "$work/ports" COM3 env KOVRA_PORT_DIR="$work/ports" KOVRA_PORT_TABLE=0 KOVRA_CONFIG_DIR="$work/linux-config" \
  "$linux_build/app/kovra" engrave "$work/sample.png"
engrave windows "$WINEPREFIX/dosdevices" com3 env KOVRA_CONFIG_DIR="$work/windows-config" \
  "$run" "$win_build/app/kovra.exe" engrave "Z:$work/sample.png"
if ! cmp -s "$work/linux-burned.png" "$work/windows-burned.png" || ! cmp -s "$work/linux-frames.txt" "$work/windows-frames.txt"; then
  diff "$work/linux-frames.txt" "$work/windows-frames.txt" | head -20 || true
  echo "test: the engraving through Wine's COM3 differs from the Linux build's (see $work)" >&2
  exit 1
fi
echo "test: an engraving through Wine's COM3 received the same frames and picture ($(wc -l < "$work/windows-frames.txt")" \
     "lines of the transcript) and burned the same picture as the Linux build's, byte for byte"
took "the engraving through Wine's COM3"

# --- 3. The benchmarks' ratios ------------------------------------------------------
(cd "$win_build" && QT_QPA_PLATFORM=offscreen "$run" bench/kovra-bench-link.exe) | grep -v '^0x' || true
# The picture pipeline, file to both renderings: each build's best median of
# two runs, taken in turns so a busy machine slows both alike; and what a
# fresh 1 MB block costs each build, which is where the two differ most.
best_of() { # program..., prints "picture ms" lines, then "fresh ms"
  for _ in 1 2; do "$@" JPEG 2>/dev/null; done |
    awk '$2 == "JPEG" && /scale/ { print $1, $3 } /^fresh memory:/ { print "fresh", $(NF - 2) }' |
    sort -k1,1 -k2,2n | awk '!seen[$1]++'
}
linux_ms=$(QT_QPA_PLATFORM=offscreen best_of "$linux_build/bench/kovra-bench-image")
windows_ms=$(QT_QPA_PLATFORM=offscreen best_of "$run" "$win_build/bench/kovra-bench-image.exe")
echo "picture pipeline, file to both renderings (ms), the Windows build under Wine against the Linux build:"
join <(sort <<<"$linux_ms") <(sort <<<"$windows_ms") | awk '
  $1 == "fresh" { fresh = sprintf("  a fresh 1 MB block, allocated, written and freed: Linux %.3f ms, Windows %.3f ms\n" \
                                  "  (the Windows heap gives such blocks back to the system; glibc keeps them)", $2, $3); next }
  { printf "  %-10s JPEG  Linux %8.2f  Windows %8.2f  ratio %.2f (goal <= 1.5)\n", $1, $2, $3, $3 / $2 }
  END { if (fresh != "") print fresh }'
took "the benchmarks"
echo "windows: the stage took $((SECONDS - stage_start)) s"
