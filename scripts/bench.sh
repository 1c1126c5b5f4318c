#!/usr/bin/env bash
# Measures the three jobs against the simulator paced at 19200 baud and
# compares each with the time the wire itself needs. Prints figures; never
# fails the build.
#
#   ./scripts/bench.sh [PAGES]     (default 32 pages = 64 KiB of firmware)
set -euo pipefail
source "$(dirname "$0")/lib.sh"
root=$(repo_root)
pages=${1:-32}
install_missing_packages
install_missing_packages "$root/scripts/packages-bench.txt"
configure_and_build "$root/build" >/dev/null

bin=$root/build/src
work=$(mktemp -d)
sim_pid=
cleanup() {
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
export VORTABOOT_PORTS=$work/ports
mkdir -p "$VORTABOOT_PORTS" "$work/out"

start_sim() {
  "$bin/sim/vortaboot-sim" --pace 19200 --log "$work/$1.log" >"$work/sim.out" 2>&1 &
  sim_pid=$!
  for _ in $(seq 100); do grep -q COM "$work/sim.out" && return 0; sleep 0.05; done
  echo "the simulator did not start" >&2; exit 1
}

stop_sim() { kill "$sim_pid"; wait "$sim_pid" 2>/dev/null || true; sim_pid=; }

# Seconds the line needs for one job, from the simulator's log: each request
# crosses the half-duplex wire once, as the echo the line returns, then the
# reply; 11 bits a byte at 19200 bit/s, plus the 2 ms pause before each
# transaction.
wire_floor() {
  awk '$2 == "echo" || $2 == "tx" { bytes += NF - 2 }
       $2 == "rx" { requests++ }
       END { printf "%.3f", bytes * 11 / 19200 + requests * 0.002 }' "$1"
}

measure() {  # NAME, then the command line arguments
  local name=$1; shift
  start_sim "$name"
  /usr/bin/time -f '%e %U %S %M' -o "$work/$name.time" \
    "$bin/cli/vortaboot-cli" "$@" --wait 30 >"$work/$name.out" 2>/dev/null
  stop_sim
  read -r wall user sys rss <"$work/$name.time"
  local floor; floor=$(wire_floor "$work/$name.log")
  awk -v n="$name" -v w="$wall" -v f="$floor" -v u="$user" -v s="$sys" -v r="$rss" \
    'BEGIN { printf "| %-15s | %7.2f | %7.2f | %6.3f | %5.2f %% | %6d |\n", n, w, f, w / f, 100 * (u + s) / w, r }'
}

"$bin/sim/vortaboot-sim" --make-rom "$work/bench.rom" --pages "$pages" >/dev/null
echo "Against vortaboot-sim --pace 19200; $(nproc) cores, $(uname -sr)."
echo
echo "| job             | wall, s | wire, s | ratio  | CPU     | peak RSS, KiB |"
echo "|-----------------|---------|---------|--------|---------|---------------|"
measure read-settings read-settings --dir "$work/out"
measure write-settings write-settings "$(ls "$work"/out/*.pset)"
measure load-firmware load-firmware "$work/bench.rom"

# The window, offscreen, with the simulated device on COM1 (without a port
# it would stop at the "no free port" box): from launch to shown, and its
# memory when idle.
window() {
  start_sim window
  local launched; launched=$(date +%s%N)
  XDG_RUNTIME_DIR=$work QT_QPA_PLATFORM=offscreen \
    timeout 30 "$root/build/bench/vortaboot-window-bench" "$launched" 2>/dev/null
  stop_sim
}
chmod 700 "$work"
echo
window | awk '/shown_ms/ { printf "Window: shown %.0f ms after launch", $2 }
              /peak_rss_kib/ { printf "; peak RSS when idle %d KiB\n", $2 }'
