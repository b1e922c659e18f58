#!/usr/bin/env bash
# Configures and builds into build/ (or build-sanitize/ with --sanitize).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
dir=build
extra=()
if [ "${1:-}" = "--sanitize" ]; then
  dir=build-sanitize
  extra=(-DPV37_SANITIZE=ON -DPV37_BENCH=OFF)
fi
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${extra[@]}" >/dev/null
cmake --build "$dir" -j "$(nproc)"
