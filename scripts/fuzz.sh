#!/usr/bin/env bash
# scripts/fuzz.sh [SECONDS [TARGET...]]
# Builds the libFuzzer targets of fuzz/ with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs each (or the TARGETs named) for
# SECONDS (default 60), two at a time. Corpora grow in fuzz/corpus/<target>/; an input that crashes a
# target is kept in fuzz/regressions/<target>/, where the test suite replays
# it. Logs go to build-fuzz/logs/. Exits non-zero when a target crashed.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
root=$(repo_root)
seconds=${1:-60}
build="$root/build-fuzz"
targets=(reply_reader firmware_image settings_file ini_file)
[ $# -gt 1 ] && targets=("${@:2}")

install_missing_packages "$root/scripts/packages.txt"
install_missing_packages "$root/scripts/fuzz-packages.txt"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++-14 -DVORTABOOT_FUZZ=ON \
  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
cmake --build "$build" --parallel 2 --target "${targets[@]/#/fuzz_}"

# Inputs long enough for a few firmware pages, or for a device table and a
# whole settings file.
max_len() {
  case $1 in
    firmware_image) echo 6200 ;;
    settings_file) echo 4400 ;;
    *) echo 4096 ;;
  esac
}

run_target() {
  local target=$1
  mkdir -p "$root/fuzz/corpus/$target" "$root/fuzz/regressions/$target"
  "$build/fuzz/fuzz_$target" "$root/fuzz/corpus/$target" \
    -max_total_time="$seconds" -max_len="$(max_len "$target")" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$root/fuzz/regressions/$target/" >"$build/logs/$target.log" 2>&1
}

mkdir -p "$build/logs"
failed=0
for ((i = 0; i < ${#targets[@]}; i += 2)); do
  pids=()
  for target in "${targets[@]:i:2}"; do
    run_target "$target" &
    pids+=("$!")
  done
  for pid in "${pids[@]}"; do wait "$pid" || failed=1; done
done

for target in "${targets[@]}"; do
  runs=$(grep -o 'stat::number_of_executed_units: [0-9]*' "$build/logs/$target.log" | grep -o '[0-9]*$' || echo "?")
  verdict=$(grep -q -E '^==[0-9]+==|deadly signal|Timeout|ERROR: libFuzzer' "$build/logs/$target.log" && echo "FINDING, see $build/logs/$target.log" || echo "nothing found")
  echo "$target: $runs executions in ${seconds}s, $verdict"
done
exit "$failed"
