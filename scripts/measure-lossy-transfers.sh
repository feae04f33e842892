#!/usr/bin/env bash
# Downloads and uploads of a 100 KB show between rz760ctl and rz760-sim on a serial link of
# 115200 baud (a pseudo-terminal), clean and with replies dropped or corrupted, one seed of
# the simulator's fault generator per run. Each download is checked by uploading the file
# back over the same lossy link and comparing it byte by byte; that upload is the upload
# measured for the link. Prints the successes per link and the median times as ratios to
# the clean link's medians. Not a test: it takes about an hour with 20 seeds.
#
#   scripts/measure-lossy-transfers.sh [SEEDS] [BUILD_DIR]
#
# FIRST_SEED=N starts at seed N instead of 1, so several runs with their own BUILD_DIR can
# share the seeds out and run side by side (the line speed, not the processor, bounds them).
#
# Needs a build (cmake --build build --target rz760ctl rz760-sim); the two programs are copied
# first, so the build may go on meanwhile. Every run's figures are kept in
# BUILD_DIR/lossy-transfers/runs.csv, the output of every run that failed beside it. The links
# take turns seed by seed, so a change in the machine's load falls on all of them alike.
set -euo pipefail
cd "$(dirname "$0")/.."
seeds=${1:-20}
build=${2:-build}
for program in "$build/src/ctl/rz760ctl" "$build/src/sim/rz760-sim"; do
  [ -x "$program" ] || { echo "missing $program: build it first" >&2; exit 2; }
done

work="$build/lossy-transfers"
rm -rf "$work"
mkdir -p "$work"
cp "$build/src/ctl/rz760ctl" "$build/src/sim/rz760-sim" "$work/"
ctl="$work/rz760ctl"
sim="$work/rz760-sim"
csv="$work/runs.csv"
echo "link,seed,download_exit,download_s,upload_exit,upload_s,identical" >"$csv"

# 100 KB like a show file: stretches of levels between runs of zeros, the same every time.
make_show() {
  local x=7 i n block
  : >"$1"
  for ((i = 0; i < 200; i++)); do
    block=""
    for ((n = 0; n < 512; n++)); do
      x=$(((x * 1103515245 + 12345) % 2147483648))
      if (((n / 64 + i) % 3 == 0)); then block+='\x00'; else block+=$(printf '\\x%02x' $((x >> 16 & 255))); fi
    done
    printf "$block" >>"$1"
  done
}
show="$work/SHOW.K_F"
make_show "$show"

sim_pid=""
stop_sim() {
  if [ -n "$sim_pid" ]; then
    kill "$sim_pid" 2>/dev/null || true
    wait "$sim_pid" 2>/dev/null || true
    sim_pid=""
  fi
}
trap stop_sim EXIT

seconds_since() { awk -v a="$1" -v b="$(date +%s%N)" 'BEGIN { printf "%.2f", (b - a) / 1e9 }'; }

# One seed on one link: download, then upload back and compare.
run() {
  local name=$1 seed=$2
  shift 2
  local pty="$work/pty" log="$work/sim.log" back="$work/back.K_F"
  rm -f "$back"
  "$sim" --pty "$pty" --baud 115200 --seed "$seed" "$@" >/dev/null 2>"$log" &
  sim_pid=$!
  for _ in $(seq 100); do grep -q ready "$log" && break; sleep 0.1; done

  local start down_exit=0 up_exit=0 down_s up_s identical=no
  start=$(date +%s%N)
  "$ctl" --link "serial:$pty" download "$show" --kind 1 >"$work/download.out" 2>&1 || down_exit=$?
  down_s=$(seconds_since "$start")
  start=$(date +%s%N)
  "$ctl" --link "serial:$pty" upload --kind 1 -o "$back" >"$work/upload.out" 2>&1 || up_exit=$?
  up_s=$(seconds_since "$start")
  cmp -s "$show" "$back" && identical=yes
  stop_sim
  if [ "$down_exit$up_exit$identical" != "00yes" ]; then
    cat "$work/download.out" "$work/upload.out" "$log" >"$work/failed-$name-$seed.txt"
  fi
  echo "$name,$seed,$down_exit,$down_s,$up_exit,$up_s,$identical" >>"$csv"
  echo "$name seed $seed: download exit $down_exit ${down_s}s, upload exit $up_exit ${up_s}s, identical $identical"
}

first=${FIRST_SEED:-1}
for ((seed = first; seed < first + seeds; seed++)); do
  run clean "$seed"
  run drop0.1 "$seed" --drop 0.1
  run drop0.3 "$seed" --drop 0.3
  run corrupt0.05 "$seed" --corrupt 0.05
done

# A download counts when it exited 0 and the file came back identical; an upload when it
# exited 0 with the identical file.
awk -F, '
  function median(list, n,   sorted, i, j, t) {
    for (i = 1; i <= n; i++) sorted[i] = list[i]
    for (i = 2; i <= n; i++) for (j = i; j > 1 && sorted[j - 1] > sorted[j]; j--) { t = sorted[j]; sorted[j] = sorted[j - 1]; sorted[j - 1] = t }
    return n % 2 ? sorted[(n + 1) / 2] : (sorted[n / 2] + sorted[n / 2 + 1]) / 2
  }
  NR > 1 {
    if (!($1 in runs)) order[++links] = $1
    k = ++runs[$1]
    down[$1, k] = $4; up[$1, k] = $6
    downOk[$1] += ($3 == 0 && $7 == "yes")
    upOk[$1] += ($5 == 0 && $7 == "yes")
  }
  END {
    printf "%-12s %5s %12s %14s %12s %14s\n", "link", "runs", "downloads ok", "download time", "uploads ok", "upload time"
    for (l = 1; l <= links; l++) {
      name = order[l]; n = runs[name]
      delete d; delete u
      for (k = 1; k <= n; k++) { d[k] = down[name, k]; u[k] = up[name, k] }
      md = median(d, n); mu = median(u, n)
      if (name == "clean") { cleanDown = md; cleanUp = mu }
      printf "%-12s %5d %12d %7.1fs x%-5.2f %12d %7.1fs x%-5.2f\n", name, n, downOk[name], md, md / cleanDown, upOk[name], mu, mu / cleanUp
    }
  }' "$csv"
