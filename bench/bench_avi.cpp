// One frame of a film of the main window: the 1600 x 1000 window over a generated 8-hour night,
// grabbed as the capture timer grabs it, then compressed as a Motion-JPEG image (quality 75).
// Goal: 50 ms for both. The grab and the compression are also timed alone.
#include <benchmark/benchmark.h>

#include <string>

#include "app/video/lyr_dlg_make_avi.h"
#include "app/video/mjpeg_frame_encoder.h"
#include "sample_night.h"

namespace {

constexpr int kQuality = 75;

enum class Part { GrabAndEncode, GrabOnly, EncodeOnly };

void RunFilmFrame(benchmark::State& state, Part part) {
  static benchnight::Recording night("bench_avi", 8.0, 12);
  testhooks::SetVirtualScreen(1920, 1200, 508, 318);
  benchnight::OpenProgram program(night.path, 30, 30);
  if (!program.error.empty()) {
    state.SkipWithError(program.error.c_str());
    testhooks::SetVirtualScreen(0, 0, 0, 0);
    return;
  }
  CMainFrame& frame = program.Frame();
  frame.MoveWindow(ui::Rect{0, 0, 1600, 1000});
  testhooks::ProcessMessages();
  LyrDlgMakeAvi film(&frame);
  MjpegFrameEncoder encoder;
  if (!film.CaptureFrame() ||
      !encoder.Open(film.FrameWidth, film.FrameHeight, film.FrameBitsPerPixel, kQuality)) {
    state.SkipWithError("the window could not be grabbed or the encoder did not open");
    testhooks::SetVirtualScreen(0, 0, 0, 0);
    return;
  }
  const std::vector<std::uint8_t> first = film.Frames.front();
  film.FreeFrames();
  std::string jpeg;
  std::size_t bytes = 0;
  for (auto _ : state) {
    if (part != Part::EncodeOnly) {
      if (!film.CaptureFrame()) {
        state.SkipWithError("a grab failed");
        break;
      }
    }
    if (part != Part::GrabOnly) {
      const std::vector<std::uint8_t>& dib = part == Part::EncodeOnly ? first : film.Frames.back();
      if (!encoder.Encode(dib.data(), dib.size(), &jpeg)) {
        state.SkipWithError("the encoder failed");
        break;
      }
      bytes = jpeg.size();
    }
    film.FreeFrames();
  }
  state.counters["width"] = film.FrameWidth;
  state.counters["height"] = film.FrameHeight;
  state.counters["jpeg_KiB"] = static_cast<double>(bytes) / 1024.0;
  testhooks::SetVirtualScreen(0, 0, 0, 0);
}

void BM_GrabAndEncodeOneFrame(benchmark::State& state) { RunFilmFrame(state, Part::GrabAndEncode); }
void BM_GrabOneFrame(benchmark::State& state) { RunFilmFrame(state, Part::GrabOnly); }
void BM_EncodeOneFrame(benchmark::State& state) { RunFilmFrame(state, Part::EncodeOnly); }
BENCHMARK(BM_GrabAndEncodeOneFrame)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_GrabOneFrame)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_EncodeOneFrame)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

int main(int argc, char** argv) { return benchnight::RunOffscreenBenchmarks(argc, argv); }
