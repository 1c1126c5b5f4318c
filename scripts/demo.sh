#!/usr/bin/env bash
# The three steps of the program against a simulated device: builds, starts
# vortaboot-sim as COM1 in a private ports folder, then reads the settings,
# loads a firmware image and writes the settings back with vortaboot-cli.
# The files of the run stay in a temporary folder, named at the end.
#
#   ./scripts/demo.sh            # build folder: build/ (BUILD_DIR to change)
#   ./scripts/demo.sh --gui      # the same device in the desktop window
set -euo pipefail
# shellcheck source-path=SCRIPTDIR
source "$(dirname "$0")/lib.sh"
root=$(repo_root)
build=${BUILD_DIR:-"$root/build"}

install_missing_packages
configure_and_build "$build"

sim="$build/src/sim/vortaboot-sim"
cli="$build/src/cli/vortaboot-cli"
work=$(mktemp -d "${TMPDIR:-/tmp}/vortaboot-demo.XXXXXX")
export VORTABOOT_PORTS="$work/ports"
sim_pid=""

stop_simulator() {
  [ -n "$sim_pid" ] || return 0
  kill -TERM "$sim_pid" 2>/dev/null || true
  wait "$sim_pid" 2>/dev/null || true
  sim_pid=""
}
trap stop_simulator EXIT
# Ctrl-C goes to the step running (the simulator, started in the background,
# ignores it); a step that ends interrupted ends the demo, see step().
trap 'exit 130' INT
trap 'exit 143' TERM

# The device answers at 19200 baud's pace and only from its fifth poll on,
# as one switched on a moment after the job began waiting.
start_simulator() {
  "$sim" --com 1 --pace 19200 --answer-after 4 --log "$work/line.log" \
    --settings "$work/device-settings.bin" --program "$work/device-program.bin" \
    >"$work/sim.out" 2>"$work/sim.err" &
  sim_pid=$!
  for _ in $(seq 100); do
    if grep -q '^vortaboot-sim: COM1 -> ' "$work/sim.out"; then
      cat "$work/sim.out"
      return 0
    fi
    kill -0 "$sim_pid" 2>/dev/null || break
    sleep 0.1
  done
  echo "Имитатор не запустился:" >&2
  cat "$work/sim.err" >&2
  exit 1
}

failures=0
step() {
  local title=$1
  shift
  echo
  echo "== $title"
  local status=0
  "$@" || status=$?
  if [ "$status" -eq 130 ]; then
    echo "-- прервано"
    exit 130
  elif [ "$status" -eq 0 ]; then
    echo "-- готово"
  else
    echo "-- не получилось, код завершения $status"
    failures=$((failures + 1))
  fi
}

# The desktop window on the simulated COM1 until the user closes it. Settings
# files land beside the program, as they do for every start of it.
if [ "${1:-}" = "--gui" ]; then
  start_simulator
  "$sim" --make-rom "$work/firmware.rom" --pages 8
  echo "Образ прошивки для шага 2: $work/firmware.rom"
  echo "Файлы настроек сохраняются в $build/src/app"
  "$build/src/app/vortaboot" || echo "Окно завершилось с кодом $?" >&2
  stop_simulator
  echo "Файлы демонстрации: $work"
  exit 0
fi

start_simulator
"$sim" --make-rom "$work/firmware.rom" --pages 8

step "Шаг 1: считать настройки из МК" "$cli" read-settings --port 1 --dir "$work" --wait 20
settings_file=$(find "$work" -maxdepth 1 -name '*.pset' | head -n 1)
step "Шаг 2: загрузить прошивку firmware.rom" "$cli" load-firmware "$work/firmware.rom" --port 1 --wait 20
if [ -n "$settings_file" ]; then
  step "Шаг 3: записать настройки $(basename "$settings_file") в МК" \
    "$cli" write-settings "$settings_file" --port 1 --wait 20
else
  echo
  echo "== Шаг 3 пропущен: шаг 1 не сохранил файл настроек"
  failures=$((failures + 1))
fi

stop_simulator
echo
echo "Память программ устройства: $(($(stat -c %s "$work/device-program.bin") / 2052)) стр."
echo "Блок 0, байты 16-19: $(od -An -tx1 -j16 -N4 "$work/device-settings.bin" | xargs)"
echo "Кадров на линии: $(grep -c ' rx ' "$work/line.log") запросов, $(grep -c ' tx ' "$work/line.log") ответов"
echo "Файлы демонстрации: $work"
[ "$failures" -eq 0 ]
