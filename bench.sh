#!/usr/bin/env bash
# Builds the benchmark programs optimised and runs them (or the one named).
set -euo pipefail
cd "$(dirname "$0")"
./scripts/deps.sh
BUILD_DIR=${BUILD_DIR:-build-bench}
cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Release -DQLM_BUILD_TESTS=OFF >/dev/null
cmake --build "$BUILD_DIR" -j "$(nproc)"
for b in "$BUILD_DIR"/bin/bench_*; do
  [ -x "$b" ] || continue
  if [ $# -eq 0 ] || [[ "$(basename "$b")" == *"$1"* ]]; then
    echo "== $(basename "$b")"
    "$b" "${@:2}"
  fi
done
