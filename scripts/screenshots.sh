#!/usr/bin/env bash
# Renders the main window of the generated human night into build/screenshots/ under Xvfb
# when there is no display: the first page, the first page in REM sleep, a scored page with
# events, overlays and a mark strip, and the frame with its bars after paging by keys; in
# English, then in Japanese into build/screenshots/ja/.
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
# Once in English and once in Japanese (build/screenshots/ja/).
mkdir -p "$out/ja"
for lang in en_US.UTF-8 ja_JP.UTF-8; do
  dir="$out"
  [ "$lang" = ja_JP.UTF-8 ] && dir="$out/ja"
  if [ -n "${DISPLAY:-}" ]; then
    LANG=$lang LC_ALL= "$BIN/raw_screenshots" "$sample" "$dir"
  else
    LANG=$lang LC_ALL= xvfb-run -a -s "-screen 0 1600x1000x24" "$BIN/raw_screenshots" "$sample" "$dir"
  fi
done
