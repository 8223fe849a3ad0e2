// Wave-form recognition of one 30-s page of 8 EEG channels at 500 Hz, every wave type
// set up (the seven bands, K-complex, both eye channels and EMG), as the current page
// row of a screening run. Goal: 2 ms or less a page, so that screening a day is
// dominated by reading the recording.
#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

#include "app/document/analysis_param_blocks.h"
#include "app/document/epoch_parameter.h"
#include "app/raw/wave_recognition.h"

namespace {

constexpr int kRate = 500;
constexpr int kSeconds = 30;
constexpr int kChannels = 8;

// Sleep-like EEG: delta, theta, alpha and spindle components with noise.
std::vector<float> MakeEeg(unsigned seed) {
  std::mt19937 rng(seed);
  std::normal_distribution<double> noise(0.0, 8.0);
  std::vector<float> x(std::size_t(kRate) * kSeconds);
  for (std::size_t i = 0; i < x.size(); ++i) {
    const double t = double(i) / kRate;
    double v = 60 * std::sin(2 * std::numbers::pi * 1.2 * t) + 20 * std::sin(2 * std::numbers::pi * 6.0 * t);
    if (std::fmod(t, 6.0) < 1.5) v += 35 * std::sin(2 * std::numbers::pi * 10.0 * t);
    if (std::fmod(t, 9.0) < 1.0) v += 25 * std::sin(2 * std::numbers::pi * 13.0 * t);
    x[i] = static_cast<float>(v + noise(rng));
  }
  return x;
}

void BM_RecognizePage(benchmark::State& state) {
  WaveFormRecognitionParam param;
  SetDefaultWaveFormRecognitionParam(0, &param, kChannels);
  const double bands[7][2] = {{0.5, 2}, {8, 13}, {4, 8}, {11.5, 15}, {15, 25}, {25, 35}, {2, 4}};
  for (int b = 0; b < 7; ++b) {
    BandWaveRecord& r = param.bands[std::size_t(b)];
    r.channel = b;
    r.frequencyMinHz = bands[b][0];
    r.frequencyMaxHz = bands[b][1];
    r.amplitudeMin = 10;
    r.amplitudeMax = 500;
    r.peakDetectLevel = 15;
    r.halfWaveCount = 4;
    r.emgCancel = 1;
  }
  param.kComplex.channel = 0;
  param.eogRight.channel = 6;
  param.eogLeft.channel = 7;
  param.emgChannel = 7;
  param.precision = static_cast<std::uint16_t>(state.range(0));  // 1 normal, 0 high (filtered)

  std::vector<std::vector<float>> eeg;
  for (int ch = 0; ch < kChannels; ++ch) eeg.push_back(MakeEeg(unsigned(ch) + 1));
  LyrEpochParameter doc;
  doc.SetNew(2880, 0, kChannels, 1, 1);
  std::vector<LyrEpochRec> frame(1);

  WaveRecognitionContext ctx;
  ctx.param = &param;
  ctx.channelCount = kChannels;
  ctx.epochSeconds = 30;
  ctx.pageSeconds = kSeconds;
  ctx.recordingEpochs = 2880;
  ctx.currentPageRow = true;
  ctx.screening = true;
  ctx.frameRecords = frame;
  ctx.document = &doc;
  ctx.eyeGeometry = EyeScreenGeometry{1920, 360.0, 1920 / 36.0};

  RawPageRecognition rec;
  std::vector<WaveChannelPage> pages(kChannels);
  for (int ch = 0; ch < kChannels; ++ch) {
    pages[std::size_t(ch)].samples = eeg[std::size_t(ch)];
    pages[std::size_t(ch)].rate = kRate;
  }
  for (auto _ : state) {
    rec.RecognizeRow(ctx, pages);
    benchmark::DoNotOptimize(rec.Table().Count());
  }
  state.counters["waves"] = double(rec.Table().Count());
}
BENCHMARK(BM_RecognizePage)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
