#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
root=$(repo_root)
install_missing_packages
configure_and_build "$root/build"
ctest --test-dir "$root/build" --output-on-failure --parallel "$(nproc)" --timeout 300
