#!/usr/bin/env bash
# The fleet download against simulated rooms on loopback: the time to download one show to
# ROOMS rooms at once against the time to download it to one room, each the median of REPEAT
# runs, without and with dropped replies. Prints one line per case with the ratio.
#
#   bench/fleet_download.sh [BUILD_DIR]      (environment: ROOMS=50 REPEAT=5 SIZE_KB=100 DROP=0.05)
#
# With dropped replies each simulator gets its own seed (the faults differ from room to room),
# and "one room" is the median over the first REPEAT rooms alone, so the ratio includes the
# spread: the fleet waits for its unluckiest room.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
rooms=${ROOMS:-50}
repeat=${REPEAT:-5}
size_kb=${SIZE_KB:-100}
drop=${DROP:-0.05}
ctl=$build/src/ctl/rz760ctl
sim=$build/src/sim/rz760-sim
[[ -x $ctl && -x $sim ]] || { echo "build rz760ctl and rz760-sim first ($build)" >&2; exit 2; }

work=$(mktemp -d)
pids=()
stop_sims() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  pids=()
}
trap 'stop_sims; rm -rf "$work"' EXIT

# A show-sized file of bytes without zero runs, so the packing saves nothing.
head -c $((size_kb * 1024)) /dev/urandom | tr '\000' '\001' > "$work/show.K_F"

# Starts ROOMS simulators with the given options (each with seed = its number) and writes the
# rooms file for all of them and one for each single room.
start_sims() {
  stop_sims
  : > "$work/rooms.txt"
  for ((i = 1; i <= rooms; i++)); do
    "$sim" --udp 127.0.0.1:0 --seed "$i" "$@" 2> "$work/sim$i.err" > /dev/null &
    pids+=($!)
  done
  for ((i = 1; i <= rooms; i++)); do
    until grep -q ready "$work/sim$i.err" 2>/dev/null; do sleep 0.05; done
    port=$(grep -o 'udp 127.0.0.1:[0-9]*' "$work/sim$i.err" | cut -d' ' -f2)
    echo "room$i udp:$port" >> "$work/rooms.txt"
    echo "room$i udp:$port" > "$work/room$i.txt"
  done
}

# Seconds for one fleet download; fails the script when a room failed.
timed_download() {
  local start end
  start=$(date +%s.%N)
  "$ctl" fleet download "$work/show.K_F" --kind 1 --rooms "$1" --parallel "$rooms" > "$work/last.out" \
    || { cat "$work/last.out" >&2; exit 1; }
  end=$(date +%s.%N)
  awk -v a="$start" -v b="$end" 'BEGIN { print b - a }'
}

median() {
  sort -g | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

measure() {
  local label=$1
  shift
  start_sims "$@"
  local one=() all=()
  for ((r = 1; r <= repeat; r++)); do
    one+=("$(timed_download "$work/room$r.txt")")
    all+=("$(timed_download "$work/rooms.txt")")
  done
  local m1 mn
  m1=$(printf '%s\n' "${one[@]}" | median)
  mn=$(printf '%s\n' "${all[@]}" | median)
  printf '%-22s one room %7.3f s   %d rooms %7.3f s   ratio %5.2f   (medians of %d; one room: %s; %d rooms: %s)\n' \
    "$label" "$m1" "$rooms" "$mn" "$(awk -v a="$mn" -v b="$m1" 'BEGIN { print a / b }')" "$repeat" "${one[*]}" "$rooms" "${all[*]}"
}

echo "fleet download of ${size_kb} KB to ${rooms} simulated rooms on loopback, $(nproc) cores"
measure "no faults"
measure "drop $drop" --drop "$drop"
