// Polyline drawing into a full-screen image: 32 channels of 15,000 points each, the
// load of a dense raw page. Baseline for the wave painter.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

#include "platform/draw/dc.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kChannels = 32;
constexpr int kPoints = 15000;

// Seeded synthetic EEG-like traces: two sines and noise, one band per channel.
std::vector<std::vector<draw::Point>> MakeTraces() {
  std::mt19937 rng(12345);
  std::normal_distribution<double> noise(0.0, 3.0);
  std::vector<std::vector<draw::Point>> traces(kChannels);
  const int band = kHeight / kChannels;
  for (int c = 0; c < kChannels; ++c) {
    const int base = c * band + band / 2;
    traces[c].reserve(kPoints);
    for (int i = 0; i < kPoints; ++i) {
      const double t = i / 500.0;
      const double v = 10.0 * std::sin(2 * M_PI * 10 * t) + 4.0 * std::sin(2 * M_PI * 1.3 * t + c) + noise(rng);
      traces[c].push_back({static_cast<int>(static_cast<long long>(i) * kWidth / kPoints), base - static_cast<int>(v)});
    }
  }
  return traces;
}

// One call per channel.
void BM_PolylineWhole(benchmark::State& state) {
  const auto traces = MakeTraces();
  draw::Image img(kWidth, kHeight, 32);
  draw::Dc dc(img);
  for (auto _ : state) {
    dc.FillSolidRect(draw::Rect{0, 0, kWidth, kHeight}, draw::Rgb(255, 255, 255));
    for (int c = 0; c < kChannels; ++c) {
      dc.SelectPen(draw::Pen{draw::PS_SOLID, 1, draw::Rgb(0, 0, c * 7)});
      dc.Polyline(traces[c]);
    }
    benchmark::DoNotOptimize(img.ScanLine(0));
  }
  state.SetItemsProcessed(state.iterations() * kChannels * kPoints);
}
BENCHMARK(BM_PolylineWhole)->Unit(benchmark::kMillisecond);

// Runs of 51 points joined end to start, each with its own pen, as the wave painter hands them over.
void BM_PolylineRunsOf51(benchmark::State& state) {
  const auto traces = MakeTraces();
  draw::Image img(kWidth, kHeight, 32);
  draw::Dc dc(img);
  for (auto _ : state) {
    dc.FillSolidRect(draw::Rect{0, 0, kWidth, kHeight}, draw::Rgb(255, 255, 255));
    for (int start = 0; start < kPoints; start += 50) {
      const int count = std::min(51, kPoints - start);
      for (int c = 0; c < kChannels; ++c) {
        dc.SelectPen(draw::Pen{draw::PS_SOLID, 1, draw::Rgb(0, 0, c * 7)});
        dc.Polyline(traces[c].data() + start, count);
      }
    }
    benchmark::DoNotOptimize(img.ScanLine(0));
  }
  state.SetItemsProcessed(state.iterations() * kChannels * kPoints);
}
BENCHMARK(BM_PolylineRunsOf51)->Unit(benchmark::kMillisecond);

// The same traces folded into one [min, max] stroke per column (two points a column).
void BM_PolylineFoldedMinMax(benchmark::State& state) {
  const auto traces = MakeTraces();
  std::vector<std::vector<draw::Point>> folded(kChannels);
  for (int c = 0; c < kChannels; ++c) {
    const auto& t = traces[c];
    for (std::size_t i = 0; i < t.size();) {
      int lo = t[i].y, hi = t[i].y;
      std::size_t j = i;
      for (; j < t.size() && t[j].x == t[i].x; ++j) {
        lo = std::min(lo, t[j].y);
        hi = std::max(hi, t[j].y);
      }
      folded[c].push_back({t[i].x, lo});
      folded[c].push_back({t[i].x, hi});
      i = j;
    }
  }
  draw::Image img(kWidth, kHeight, 32);
  draw::Dc dc(img);
  for (auto _ : state) {
    dc.FillSolidRect(draw::Rect{0, 0, kWidth, kHeight}, draw::Rgb(255, 255, 255));
    for (int c = 0; c < kChannels; ++c) {
      dc.SelectPen(draw::Pen{draw::PS_SOLID, 1, draw::Rgb(0, 0, c * 7)});
      dc.Polyline(folded[c]);
    }
    benchmark::DoNotOptimize(img.ScanLine(0));
  }
  state.SetItemsProcessed(state.iterations() * kChannels * kPoints);
}
BENCHMARK(BM_PolylineFoldedMinMax)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
