#!/usr/bin/env bash
# Builds everything and runs every test: the main build (GCC) with the core, integration and
# UI tests, then the core tests and fuzz targets again under AddressSanitizer and
# UndefinedBehaviorSanitizer (clang, libFuzzer).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

jobs=$(nproc)
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$jobs"
(cd build && ctest --output-on-failure -j"$jobs")

# Debug keeps the assertions; -O1 keeps the sanitized run of the file-robustness tests short.
CC=clang CXX=clang++ cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" \
  -DRZ_BUILD_QT=OFF -DRZ_BUILD_BENCH=OFF -DRZ_SANITIZE=ON -DRZ_FUZZ=ON
cmake --build build-asan -j"$jobs"
(cd build-asan && ctest --output-on-failure -j"$jobs")
