#!/usr/bin/env bash
# Builds everything and runs the whole test suite (add --sanitize for the ASan+UBSan build).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh "$@"
dir=build
[ "${1:-}" = "--sanitize" ] && dir=build-sanitize
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir "$dir" --output-on-failure -j "$(nproc)"
