#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program (under a virtual X server
# when there is no display).
set -euo pipefail
cd "$(dirname "$0")"
./scripts/deps.sh

BUILD_DIR=${BUILD_DIR:-build}
cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQLM_BUILD_TESTS=OFF >/dev/null
cmake --build "$BUILD_DIR" -j "$(nproc)"

BIN="$BUILD_DIR/bin"
args=("$@")
if [ ${#args[@]} -eq 0 ] && [ -x "$BIN/make_sample_recording" ]; then
  sample="$BUILD_DIR/samples/night.fyd"
  if [ ! -f "$sample" ]; then
    mkdir -p "$BUILD_DIR/samples"
    "$BIN/make_sample_recording" --kind human --hours 8 --seed 1 --out "$sample"
  fi
  # Settings made for the sample night (30-s epochs, R&K stages, its EEG, EOG and EMG channels),
  # only when the program has no settings file yet: the user's own are never replaced.
  "$BIN/make_sample_recording" --kind human --settings "$BIN/QLM2_Analyzer.RSM"
  args=("$sample")
fi

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$BIN/QLM2_Analyzer" "${args[@]}"
else
  exec xvfb-run -a -s "-screen 0 1600x1000x24" "$BIN/QLM2_Analyzer" "${args[@]}"
fi
