#!/usr/bin/env bash
# Renders the main window of the generated human night into build/screenshots/ under Xvfb
# when there is no display: the first page, the first page in REM sleep, a scored page with
# events, overlays and a mark strip, and the frame with its bars after paging by keys.
set -euo pipefail
cd "$(dirname "$0")/.."

BUILD_DIR=${BUILD_DIR:-build}
cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQLM_BUILD_TESTS=OFF >/dev/null
cmake --build "$BUILD_DIR" -j "${JOBS:-4}" --target QLM2_Analyzer make_sample_recording raw_screenshots >/dev/null

BIN="$BUILD_DIR/bin"
sample="$BUILD_DIR/samples/night.fyd"
if [ ! -f "$sample" ]; then
  mkdir -p "$BUILD_DIR/samples"
  "$BIN/make_sample_recording" --kind human --hours 8 --seed 1 --out "$sample"
fi
# The program reads a leading "/" as a switch of its command line: pass the file relative.
sample=$(realpath --relative-to=. "$sample")
out="$BUILD_DIR/screenshots"
mkdir -p "$out"
if [ -n "${DISPLAY:-}" ]; then
  "$BIN/raw_screenshots" "$sample" "$out"
else
  xvfb-run -a -s "-screen 0 1600x1000x24" "$BIN/raw_screenshots" "$sample" "$out"
fi
