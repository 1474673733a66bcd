#!/usr/bin/env bash
# Builds the libFuzzer targets of every parser of outside bytes (pictures,
# machine replies, the configuration file, typed text) in a clang tree of their own
# and runs each one briefly on seeds that the tree makes itself.
# Exits non-zero when a target crashes; skips (exit 0) when clang is missing.
#   KOVRA_FUZZ_BUILD_DIR  build tree (default: build-fuzz next to the sources)
#   KOVRA_FUZZ_SECONDS    time per target (default 10)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KOVRA_FUZZ_BUILD_DIR:-$root/build-fuzz}
seconds=${KOVRA_FUZZ_SECONDS:-10}
jobs=${KOVRA_JOBS:-$(nproc 2>/dev/null || echo 2)}
targets=(bmp ico pcx jpeg png gif bitmap_image reply config text)

if ! command -v clang >/dev/null 2>&1 || ! command -v clang++ >/dev/null 2>&1; then
  echo "fuzz: skipped: clang is not installed (the fuzz targets need clang's libFuzzer)"
  exit 0
fi
probe=$(mktemp -d)
trap 'rm -rf "$probe"' EXIT
printf 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }\n' > "$probe/p.cpp"
if ! clang++ -fsanitize=fuzzer,address,undefined "$probe/p.cpp" -o "$probe/p" >/dev/null 2>&1; then
  echo "fuzz: skipped: clang cannot link libFuzzer with the address and undefined-behaviour sanitizers here"
  exit 0
fi

generator=()
if command -v ninja >/dev/null 2>&1; then generator=(-G Ninja); fi
if [ ! -f "$build/CMakeCache.txt" ]; then
  CC=clang CXX=clang++ cmake -S "$root" -B "$build" "${generator[@]}" \
    -DKOVRA_FUZZ_ONLY=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" -j "$jobs" --target kovra_fuzz_seeds "${targets[@]/#/fuzz_}"

seeds="$build/fuzz-seeds"
rm -rf "$seeds"
QT_QPA_PLATFORM=offscreen "$build/fuzz/kovra_fuzz_seeds" "$seeds"

export ASAN_OPTIONS=${ASAN_OPTIONS:-abort_on_error=1:detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
failed=()
for t in "${targets[@]}"; do
  corpus="$build/fuzz-corpus/$t"     # grows from run to run
  crashes="$build/fuzz-crashes"
  mkdir -p "$corpus" "$crashes"
  log="$build/fuzz-$t.log"
  echo "fuzz: $t for ${seconds}s"
  if "$build/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
       -print_final_stats=1 -artifact_prefix="$crashes/$t-" "$corpus" "$seeds/$t" >"$log" 2>&1; then
    grep -E '^stat::number_of_executed_units|^#[0-9]+ *DONE' "$log" | tail -n 1 | sed "s/^/fuzz: $t: /" || true
  else
    echo "fuzz: $t FAILED; its log: $log"
    grep -E 'ERROR|SUMMARY|Test unit written|runtime error' "$log" | head -n 10 | sed 's/^/  /' || true
    failed+=("$t")
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz: ${#failed[@]} failed, $(( ${#targets[@]} - ${#failed[@]} )) passed: ${failed[*]} (inputs in $build/fuzz-crashes)"
  exit 1
fi
echo "fuzz: all ${#targets[@]} targets ran without a crash"
