#!/usr/bin/env bash
# The soak (not part of CI): the tool's link classes stream live frames to rz760-sim over UDP
# with 5 % of its replies dropped and 1 % corrupted, download a 100 KB show every 2 minutes,
# and print resident memory and frame counters every minute, then a summary line.
#
#   scripts/soak.sh [MINUTES]          (default 30)
#
# Further rz760-soak options may follow the minutes (see build/bench/rz760-soak --help).
# Output also goes to build/soak/soak.log; the simulator's events to build/soak/sim-events.jsonl.
set -euo pipefail
cd "$(dirname "$0")/.."
minutes=${1:-30}
shift || true
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target rz760-soak rz760-sim
rm -rf build/soak
mkdir -p build/soak
build/bench/rz760-soak --sim build/src/sim/rz760-sim --work build/soak --minutes "$minutes" \
  --drop 0.05 --corrupt 0.01 "$@" | tee build/soak/soak.log
