#!/usr/bin/env bash
# The fleet download against simulated rooms on loopback: the time to download one show to
# ROOMS rooms at once against the time to download it to one room, each the median of REPEAT
# runs: without faults, with dropped replies, and with late replies. Prints one line per case
# with the ratio and the number of rooms that failed.
#
#   bench/fleet_download.sh [BUILD_DIR]   (environment: ROOMS=50 REPEAT=5 SIZE_KB=100 DROP=0.05 DELAY_MS=5)
#
# With dropped replies each simulator gets its own seed (the faults differ from room to room),
# and "one room" is the median over the first REPEAT rooms alone (room r in run r), so the ratio
# includes the spread: the fleet waits for its unluckiest room. "one seed" gives every room the
# same faults (the last --seed counts), which leaves the fleet's own cost.
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

# One simulator with seed $1 (and the options after it) alone, as the rooms file $work/alone.txt.
start_one_sim() {
  stop_sims
  local seed=$1
  shift
  "$sim" --udp 127.0.0.1:0 --seed "$seed" "$@" 2> "$work/alone.err" > /dev/null &
  pids+=($!)
  until grep -q ready "$work/alone.err" 2>/dev/null; do sleep 0.05; done
  echo "room$seed udp:$(grep -o 'udp 127.0.0.1:[0-9]*' "$work/alone.err" | cut -d' ' -f2)" > "$work/alone.txt"
}

# The number of the room that took longest in the last fleet download.
slowest_room() {
  tr -d '\n\t ' < "$work/last.json" | grep -o '"room":"room[0-9]*","seconds":[0-9.e-]*' |
    sed 's/"room":"room\([0-9]*\)","seconds":\(.*\)/\2 \1/' | sort -g | tail -1 | cut -d' ' -f2
}

# Seconds for one fleet download; the rooms that failed are added up in $work/failed.
timed_download() {
  local start end
  start=$(date +%s.%N)
  "$ctl" fleet download "$work/show.K_F" --kind 1 --rooms "$1" --parallel "$rooms" --json > "$work/last.json" 2> /dev/null || true
  end=$(date +%s.%N)
  grep -o '"failed": [0-9]*' "$work/last.json" | head -1 | cut -d' ' -f2 >> "$work/failed"
  awk -v a="$start" -v b="$end" 'BEGIN { print b - a }'
}

median() {
  sort -g | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# Fresh simulators before every download, so each run meets the faults of its seeds from the
# start: room r alone and room r in the fleet see the same faults.
measure() {
  local label=$1
  shift
  local one=() all=() slow=()
  : > "$work/failed"
  for ((r = 1; r <= repeat; r++)); do
    start_sims "$@"
    one+=("$(timed_download "$work/room$r.txt")")
    start_sims "$@"
    all+=("$(timed_download "$work/rooms.txt")")
    # The fleet's slowest room again, alone with the same faults.
    start_one_sim "$(slowest_room)" "$@"
    slow+=("$(timed_download "$work/alone.txt")")
  done
  local m1 mn ms
  m1=$(printf '%s\n' "${one[@]}" | median)
  mn=$(printf '%s\n' "${all[@]}" | median)
  ms=$(printf '%s\n' "${slow[@]}" | median)
  printf '%-16s one room %6.3f s  %d rooms %6.3f s  ratio %5.2f   slowest room alone %6.3f s  ratio %5.2f   failed rooms %d of %d\n' \
    "$label" "$m1" "$rooms" "$mn" "$(awk -v a="$mn" -v b="$m1" 'BEGIN { print a / b }')" \
    "$ms" "$(awk -v a="$mn" -v b="$ms" 'BEGIN { print a / b }')" \
    "$(awk '{ n += $1 } END { print n + 0 }' "$work/failed")" "$((repeat * (rooms + 2)))"
  printf '%-16s   one room: %s\n%-16s   %d rooms: %s\n%-16s   slowest alone: %s\n' \
    "" "${one[*]}" "" "$rooms" "${all[*]}" "" "${slow[*]}"
}

echo "fleet download of ${size_kb} KB to ${rooms} simulated rooms on loopback, $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg)"
measure "no faults"
measure "drop $drop" --drop "$drop"
# Every room with the same faults: the fleet's own cost, without waiting for the unluckiest room.
measure "drop, one seed" --drop "$drop" --seed 1
# A controller that answers a few milliseconds late, as one on Wi-Fi does.
measure "delay ${DELAY_MS:-5} ms" --delay-ms "${DELAY_MS:-5}"
