#!/usr/bin/env bash
# Builds the libFuzzer targets of tests/fuzz with clang (AddressSanitizer) in build-fuzz and
# runs each on its seed corpus for a fixed time. A crash, leak or sanitizer report fails.
set -euo pipefail
cd "$(dirname "$0")/.."

BUILD_DIR=${FUZZ_BUILD_DIR:-build-fuzz}
FUZZ_SECONDS=${FUZZ_SECONDS:-30}
CC=clang CXX=clang++ cmake -S . -B "$BUILD_DIR" -DQLM_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$BUILD_DIR" -j "${JOBS:-$(nproc)}"

status=0
for src in tests/fuzz/fuzz_*.cpp; do
  [ -e "$src" ] || continue
  name=$(basename "$src" .cpp)
  area=${name#fuzz_}
  corpus="$BUILD_DIR/corpus/$area"
  artifacts="$BUILD_DIR/artifacts/$area/"
  rm -rf "$corpus"
  mkdir -p "$corpus" "$artifacts"
  if [ -x "$BUILD_DIR/bin/seed_$area" ]; then
    "$BUILD_DIR/bin/seed_$area" "$corpus"
  fi
  echo "fuzzing $name for ${FUZZ_SECONDS}s"
  if ! "$BUILD_DIR/bin/$name" -max_total_time="$FUZZ_SECONDS" -print_final_stats=1 \
      -artifact_prefix="$artifacts" "$corpus" > "$BUILD_DIR/$name.log" 2>&1; then
    echo "fuzz target $name failed; input and report in $artifacts and $BUILD_DIR/$name.log"
    tail -40 "$BUILD_DIR/$name.log"
    status=1
  else
    grep -E '^stat::number_of_executed_units' "$BUILD_DIR/$name.log" || true
  fi
done
exit $status
