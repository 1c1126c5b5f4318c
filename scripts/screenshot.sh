#!/usr/bin/env bash
# Renders the desktop program's windows into docs/screenshots/*.png: the main
# window, the port-number dialog, and the progress window in the middle of a
# firmware load against the simulated device. Needs no display: the windows
# are drawn offscreen.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
root=$(repo_root)
build=${BUILD_DIR:-"$root/build"}
install_missing_packages
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" --parallel "$(nproc)" --target vortaboot_screenshots
mkdir -p "$root/docs/screenshots"
QT_QPA_PLATFORM=offscreen "$build/tests/app/vortaboot_screenshots" "$root/docs/screenshots"
