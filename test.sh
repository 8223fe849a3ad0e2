#!/usr/bin/env bash
# Installs what is missing, builds everything with the sanitizers, and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/deps.sh

BUILD_DIR=${BUILD_DIR:-build-test}
JOBS=${JOBS:-$(nproc)}
cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Debug -DQLM_SANITIZE=ON -DQLM_WERROR=ON >/dev/null
cmake --build "$BUILD_DIR" -j "$JOBS"
ctest --test-dir "$BUILD_DIR" --output-on-failure -j "$JOBS"

# Fuzz targets (clang's libFuzzer) run for a fixed time each on their seed corpora.
if [ -x scripts/fuzz.sh ]; then
  ./scripts/fuzz.sh
fi
