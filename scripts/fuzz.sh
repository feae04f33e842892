#!/usr/bin/env bash
# Runs every libFuzzer target (or the ones named) one after another, each for SECONDS
# (default 60) starting from its seeds in fuzz/corpus/<target>. Builds the sanitizer build
# (build-asan, the one scripts/test.sh uses) first.
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]
#
# Environment:
#   RZ_FUZZ_RUNS=N   also stop a target after N executions (whichever comes first)
#   RZ_FUZZ_MERGE=1  afterwards add the new inputs that reach new code to fuzz/corpus/<target>
#                    (minimised by libFuzzer's merge; existing seeds are kept)
#   RZ_FUZZ_NICE=N   run the fuzzers at this niceness (default 10: the machine stays usable)
#   RZ_FUZZ_NO_BUILD=1  use the targets as they are built (a long campaign while editing)
#
# New inputs go to build-asan/fuzz/corpus-<target>, findings to build-asan/fuzz/findings/,
# each target's output to build-asan/fuzz/logs/<target>.log. The last lines give executions
# and findings per target; the status is non-zero when any target found something.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
if ! [[ "$seconds" =~ ^[0-9]+$ ]] || [ "$seconds" -eq 0 ]; then
  echo "usage: scripts/fuzz.sh [SECONDS] [TARGET...]" >&2
  exit 2
fi
shift || true

if [ "${RZ_FUZZ_NO_BUILD:-0}" != 1 ]; then
  bash scripts/install-deps.sh
  CC=clang CXX=clang++ cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" \
    -DRZ_BUILD_QT=OFF -DRZ_BUILD_BENCH=OFF -DRZ_SANITIZE=ON -DRZ_FUZZ=ON >/dev/null
fi

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for src in fuzz/fuzz_*.cpp; do
    targets+=("$(basename "$src" .cpp)")
  done
fi
if [ "${RZ_FUZZ_NO_BUILD:-0}" != 1 ]; then
  cmake --build build-asan -j"$(nproc)" --target "${targets[@]}"
fi

# Several targets write scratch files for every input; memory-backed storage makes them
# several times faster.
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then
  export TMPDIR=/dev/shm
fi

out=build-asan/fuzz
mkdir -p "$out/logs" "$out/findings"
summary=()
failed=0
for t in "${targets[@]}"; do
  seeds=fuzz/corpus/$t
  scratch=$out/corpus-$t
  log=$out/logs/$t.log
  mkdir -p "$seeds" "$scratch"
  echo "== $t: ${seconds}s" >&2
  rc=0
  nice -n "${RZ_FUZZ_NICE:-10}" "$out/$t" -max_total_time="$seconds" -runs="${RZ_FUZZ_RUNS:--1}" \
    -timeout=30 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$out/findings/$t-" "$scratch" "$seeds" >"$log" 2>&1 || rc=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  if [ "$rc" -ne 0 ]; then
    failed=1
    finding=$(grep -m1 -E '^==[0-9]+==ERROR|^SUMMARY|runtime error|deadly signal|timeout' "$log" || echo "exit $rc")
    summary+=("$t: ${runs:-?} executions, FOUND: $finding (see $log)")
  else
    summary+=("$t: ${runs:-?} executions, nothing found")
  fi
  if [ "${RZ_FUZZ_MERGE:-0}" = 1 ]; then
    nice -n "${RZ_FUZZ_NICE:-10}" "$out/$t" -merge=1 -timeout=30 -rss_limit_mb=2048 "$seeds" "$scratch" \
      >>"$log" 2>&1 || true
  fi
done

printf '%s\n' "${summary[@]}"
exit "$failed"
