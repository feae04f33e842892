#!/usr/bin/env bash
# Builds the tool and the controller simulator, starts the simulator on loopback UDP and then
# the tool, pointed at it. Pressing "未连接" in the title bar connects to the simulator.
#
#   scripts/run.sh [--data-dir DIR] [other tool options]
#
# The data root (default ./run-data) gets an AppSet/SYSTEM.INI whose WIFI_IP/WIFI_Port name
# the simulator, unless it already names a controller of its own; the simulator is stopped
# when the tool ends. Its events are written to <data root>/rz760-sim.log.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$(pwd)
bash scripts/install-deps.sh

data_dir="$repo/run-data"
args=()
while [ $# -gt 0 ]; do
  case "$1" in
    --data-dir) data_dir="$2"; shift 2 ;;
    --data-dir=*) data_dir="${1#--data-dir=}"; shift ;;
    *) args+=("$1"); shift ;;
  esac
done

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display found. Run it under a virtual display:" >&2
  echo "  xvfb-run -s '-screen 0 1400x900x24' scripts/run.sh $*" >&2
  exit 1
fi

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target rz760-tool rz760-sim

mkdir -p "$data_dir/AppSet/Sys_config"
data_dir=$(cd "$data_dir" && pwd)
system_file="$data_dir/AppSet/SYSTEM.INI"
work_file="$data_dir/AppSet/Sys_config/WORK_SET"
sim_log="$data_dir/rz760-sim.log"
# Written beside the settings when this script points them at the simulator, so a later run
# knows the address is its own and not the user's.
sim_marker="$data_dir/AppSet/.rz760-sim-address"

# The value of key=value in a settings file (last match), without the CR of the line end.
setting() { [ -f "$1" ] && grep -a "^$2=" "$1" | tail -n 1 | cut -d= -f2- | tr -d '\r' || true; }
# Replaces key=value or appends it, keeping the CR LF line ends of the settings files.
set_setting() {
  local file=$1 key=$2 value=$3 tmp
  tmp=$(mktemp "$file.XXXXXX")
  if [ -f "$file" ]; then
    grep -av "^$key=" "$file" | sed 's/\r$//; s/$/\r/' >"$tmp" || true
  fi
  printf '%s=%s\r\n' "$key" "$value" >>"$tmp"
  mv "$tmp" "$file"
}

sim_pid=
stop_sim() {
  if [ -n "$sim_pid" ] && kill -0 "$sim_pid" 2>/dev/null; then
    kill "$sim_pid" 2>/dev/null || true
    wait "$sim_pid" 2>/dev/null || true
  fi
}
trap stop_sim EXIT INT TERM

own_controller=$(setting "$system_file" WIFI_IP)
if [ -n "$own_controller" ] && [ -f "$sim_marker" ] \
   && [ "$own_controller:$(setting "$system_file" WIFI_Port)" = "$(cat "$sim_marker")" ]; then
  own_controller=
fi
if [ -n "$own_controller" ]; then
  echo "Using the controller named in $system_file (WIFI_IP=$own_controller); no simulator started."
else
  # Port 0: the simulator takes a free port and reports it in its first event line.
  build/src/sim/rz760-sim --udp 127.0.0.1:0 --events >"$sim_log" 2>"$sim_log.err" &
  sim_pid=$!
  port=
  for _ in $(seq 1 100); do
    port=$(grep -ao '"udp":"[^"]*"' "$sim_log" 2>/dev/null | head -n 1 | sed 's/.*:\([0-9]*\)"$/\1/' || true)
    [ -n "$port" ] && break
    kill -0 "$sim_pid" 2>/dev/null || break
    sleep 0.1
  done
  if [ -z "$port" ]; then
    echo "The simulator did not start:" >&2
    cat "$sim_log.err" >&2
    exit 1
  fi
  set_setting "$system_file" WIFI_IP 127.0.0.1
  set_setting "$system_file" WIFI_Port "$port"
  printf '127.0.0.1:%s' "$port" >"$sim_marker"
  echo "Simulated controller on udp 127.0.0.1:$port (events in $sim_log)."
fi
if [ -z "$(setting "$work_file" "连接方式")" ]; then
  set_setting "$work_file" "连接方式" Wifi
fi

status=0
build/src/app/rz760-tool --data-dir "$data_dir" ${args[@]+"${args[@]}"} || status=$?
exit "$status"
