// One raw page through the wave painter: 32 channels x 30 s x 500 Hz into a 1920 x 1080
// image, one painter per channel as the page drawing builds them. Goal: 8 ms or less (two
// pages per display frame). The plain polyline of the same points is the reference.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

#include "common/draw/fyn_draw_wave.h"
#include "platform/draw/dc.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kChannels = 32;
constexpr int kRate = 500;
constexpr int kSeconds = 30;
constexpr int kSamples = kRate * kSeconds;

struct Page {
  std::vector<float> data;  // channel after channel
  std::vector<std::int32_t> base;
  std::vector<double> yScale;
  std::vector<std::uint32_t> colour;
  std::vector<std::int16_t> show;
};

Page MakePage() {
  Page p;
  std::mt19937 rng(12345);
  std::normal_distribution<double> noise(0.0, 3.0);
  p.data.resize(static_cast<std::size_t>(kChannels) * kSamples);
  const int band = kHeight / kChannels;
  for (int c = 0; c < kChannels; ++c) {
    for (int i = 0; i < kSamples; ++i) {
      const double t = static_cast<double>(i) / kRate;
      p.data[static_cast<std::size_t>(c) * kSamples + i] =
          static_cast<float>(10.0 * std::sin(2 * M_PI * 10 * t) + 4.0 * std::sin(2 * M_PI * 1.3 * t + c) + noise(rng));
    }
    p.base.push_back(c * band + band / 2);
    p.yScale.push_back(1.0);
    p.colour.push_back(draw::Rgb(0, 0, c * 7));
    p.show.push_back(1);
  }
  return p;
}

_FynDrawWaveParam ChannelParam(Page& page, draw::Dc& dc, int c, std::int16_t mode) {
  _FynDrawWaveParam p;
  p.dc = &dc;
  p.chNum = 1;
  p.showFlags = &page.show[c];
  p.data = page.data.data() + static_cast<std::size_t>(c) * kSamples;
  p.firstIndex = 0;
  p.lastIndex = kSamples - 1;
  p.sampFreq = kRate;
  p.baseLines = &page.base[c];
  p.xScale = static_cast<double>(kWidth) / kSeconds;
  p.yScales = &page.yScale[c];
  p.drawMode = mode;
  p.colors = &page.colour[c];
  p.rect = {0, 0, kWidth - 1, kHeight - 1};
  return p;
}

void DrawPage(benchmark::State& state, std::int16_t mode) {
  Page page = MakePage();
  draw::Image img(kWidth, kHeight, 32);
  draw::Dc dc(img);
  for (auto _ : state) {
    dc.FillSolidRect(draw::Rect{0, 0, kWidth, kHeight}, draw::Rgb(255, 255, 255));
    for (int c = 0; c < kChannels; ++c) {
      const _FynDrawWaveParam p = ChannelParam(page, dc, c, mode);
      FynDrawWave wave(&p);
      wave.DrawWave();
    }
    benchmark::DoNotOptimize(img.ScanLine(0));
  }
  state.SetItemsProcessed(state.iterations() * kChannels * kSamples);
}

// Every sample, as the page drawing does for pages under two hours.
void BM_PageEverySample(benchmark::State& state) { DrawPage(state, 0); }
BENCHMARK(BM_PageEverySample)->Unit(benchmark::kMillisecond);

// One [min, max] stroke per column.
void BM_PageAutomaticReduction(benchmark::State& state) { DrawPage(state, 1); }
BENCHMARK(BM_PageAutomaticReduction)->Unit(benchmark::kMillisecond);

// Reference: the same points, one polyline per channel.
void BM_PagePlainPolyline(benchmark::State& state) {
  Page page = MakePage();
  std::vector<std::vector<draw::Point>> traces(kChannels);
  for (int c = 0; c < kChannels; ++c) {
    for (int i = 0; i < kSamples; ++i) {
      const float v = page.data[static_cast<std::size_t>(c) * kSamples + i];
      traces[c].push_back({static_cast<int>(static_cast<double>(i) / kRate * kWidth / kSeconds),
                           page.base[c] - static_cast<int>(v)});
    }
  }
  draw::Image img(kWidth, kHeight, 32);
  draw::Dc dc(img);
  for (auto _ : state) {
    dc.FillSolidRect(draw::Rect{0, 0, kWidth, kHeight}, draw::Rgb(255, 255, 255));
    for (int c = 0; c < kChannels; ++c) {
      dc.SelectPen(draw::Pen{draw::PS_SOLID, 1, page.colour[c]});
      dc.Polyline(traces[c]);
    }
    benchmark::DoNotOptimize(img.ScanLine(0));
  }
  state.SetItemsProcessed(state.iterations() * kChannels * kSamples);
}
BENCHMARK(BM_PagePlainPolyline)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
