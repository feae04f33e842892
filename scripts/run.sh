#!/usr/bin/env bash
# Builds the tool and starts it. Arguments are passed to the tool (for example
# --data-dir DIR).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target rz760-tool

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display found. Run it under a virtual display: xvfb-run -s '-screen 0 1400x900x24' scripts/run.sh" >&2
  exit 1
fi
exec build/src/app/rz760-tool "$@"
