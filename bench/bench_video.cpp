// Video player speed over 640 x 480 sample files at 30000/1001 frames per second: MPEG-2 with a
// key frame every 15 frames and H.264 with one every 60. Showing a time in another file opens
// and positions that file; a frame step forward or back stays in the decoded group.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/video/cvp_info_exchange.h"
#include "offscreen_main.h"
#include "platform/system/file_io.h"
#include "sample_video.h"

namespace {

constexpr int kFrames = 150;  // 5 s a file
constexpr double kFileSeconds = kFrames * 1001.0 / 30000.0;

struct Set {
  std::filesystem::path folder;
  std::string rangeFile;
};

// Two files of a codec, one after the other, written once.
const Set& SetOf(int codec) {
  static Set sets[2];
  Set& s = sets[codec];
  if (!s.rangeFile.empty()) return s;
  s.folder = std::filesystem::temp_directory_path() / ("qlm_bench_video_" + std::to_string(codec));
  std::filesystem::create_directories(s.folder / "set");
  std::vector<VideoFileRecord> records;
  for (int i = 0; i < 2; ++i) {
    SampleVideoSpec spec;
    spec.path = (s.folder / "set" / ("v" + std::to_string(i) + ".mpg")).string();
    if (codec == 1) spec.path = (s.folder / "set" / ("v" + std::to_string(i) + ".mp4")).string();
    spec.codec = codec == 0 ? "mpeg2video" : "libx264";
    spec.width = 640;
    spec.height = 480;
    spec.rateNum = 30000;
    spec.rateDen = 1001;
    spec.frames = kFrames;
    spec.keyInterval = codec == 0 ? 15 : 60;
    WriteSampleVideo(spec);
    const double start = i * (kFileSeconds + 1.0);
    records.push_back({start, start + kFileSeconds, "set/" + std::filesystem::path(spec.path).filename().string(),
                       {{0.0, kFileSeconds}}});
  }
  s.rangeFile = (s.folder / "set" / "set.hdr").string();
  sys::WriteFileAtomic(s.rangeFile, EncodeRangeFile(0, records));
  return s;
}

// A recording sampled at 500 Hz at most that covers both files, without windows.
struct Host : CVPHost {
  double HighestSamplingRate() override { return 500.0; }
  double RecordingSeconds() override { return 3 * kFileSeconds; }
};

struct Player {
  Host host;
  CVPInfoExchange video;
  explicit Player(int codec) {
    video.Host = &host;
    video.LoadVideoDll();
    video.InitVideoDll();
    video.SetRangeFilePath(SetOf(codec).rangeFile);
    video.LoadRangeFile();
    video.OpenVideo(0);
  }
};

void ShowInAnotherFile(benchmark::State& state) {
  Player p(static_cast<int>(state.range(0)));
  const double times[2] = {2.1, kFileSeconds + 1.0 + 2.7};
  int i = 0;
  for (auto _ : state) {
    p.video.ShowVideoAtTime(times[i]);
    i ^= 1;
  }
  state.SetLabel(state.range(0) == 0 ? "MPEG-2, key every 15" : "H.264, key every 60");
}

void StepFrame(benchmark::State& state) {
  const bool forward = state.range(1) == 0;
  Player p(static_cast<int>(state.range(0)));
  const double from = forward ? 0.5 : kFileSeconds - 0.5;
  p.video.ShowVideoAtTime(from);
  int steps = 0;
  for (auto _ : state) {
    p.video.StepFrame(forward ? 5 : 4);
    if (++steps == 100) {
      state.PauseTiming();
      p.video.ShowVideoAtTime(from);
      steps = 0;
      state.ResumeTiming();
    }
  }
  state.SetLabel(std::string(state.range(0) == 0 ? "MPEG-2" : "H.264") + (forward ? " forward" : " back"));
}

}  // namespace

BENCHMARK(ShowInAnotherFile)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(StepFrame)->Args({0, 0})->Args({0, 1})->Args({1, 0})->Args({1, 1})->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) { return benchnight::RunOffscreenBenchmarks(argc, argv); }
