#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
#   --sanitize  the same suite built in build-sanitize/ under AddressSanitizer
#               and UndefinedBehaviorSanitizer; any finding fails its test.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
root=$(repo_root)
install_missing_packages
if [ "${1:-}" = "--sanitize" ]; then
  build="$root/build-sanitize"
  export ASAN_OPTIONS="detect_leaks=1:detect_stack_use_after_return=1"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
  configure_and_build "$build" \
    -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer" \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1"
else
  build="$root/build"
  configure_and_build "$build"
fi
ctest --test-dir "$build" --output-on-failure --parallel "$(nproc)" --timeout 300
