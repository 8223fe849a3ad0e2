// The hypnogram strip and the trend table over a 24-hour recording of 4-s epochs (21,600
// epochs): twelve hypnogram lines of 1,800 epochs drawn whole (goal: at most 5 ms), and the
// trend table of 20 graphs written to a file (goal: at most 1 s).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <random>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/program_settings.h"
#include "app/trend/lyr_trend_stage_area.h"
#include "app/trend/trend_dummy_view.h"
#include "app/trend/trend_text_output.h"
#include "platform/draw/dc.h"
#include "platform/draw/image.h"
#include "platform/ui/window.h"
#include "offscreen_main.h"

namespace {

constexpr int kEpochs = 21600;
constexpr int kEpochSeconds = 4;

CQLM2_AnalyzerDoc& Night() {
  static std::unique_ptr<CQLM2_AnalyzerDoc> doc = [] {
    auto d = std::make_unique<CQLM2_AnalyzerDoc>();
    EpochSeconds = kEpochSeconds;
    d->RecordSeconds = kEpochs * kEpochSeconds;
    d->RecordInfo.channelCount = 8;
    d->EpochTables.SetNew(kEpochs, kEpochSeconds, 8, 1, 1);
    d->EpochTables.AllocateRprsntTable();
    d->EpochTables.AllocateRprsntPosition(kEpochSeconds);
    d->Params.stageType.stageType = 0;
    auto& sd = d->Params.sleepDstrb;
    sd.airFlow.channel = 1;
    sd.positionChannel = 3;
    sd.positionsInUse = 5;
    for (int c = 0; c < 5; ++c) {
      sd.positions[static_cast<std::size_t>(c)].name = "P" + std::to_string(c);
      sd.positions[static_cast<std::size_t>(c)].from = c;
      sd.positions[static_cast<std::size_t>(c)].to = c + 1;
    }
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> stage(1, 7), coin(0, 99);
    int code = 1;
    for (int e = 0; e < kEpochs; ++e) {
      if (coin(rng) < 10) code = stage(rng);
      d->EpochTables.SetStage(e, static_cast<std::uint8_t>(coin(rng) < 2 ? code + 20 : code));
      float* p = d->EpochTables.Rprsnt(kRprsntPosition, e);
      for (int i = 0; i < 8; ++i) p[i] = static_cast<float>(coin(rng) % 5);
    }
    auto& list = d->RecognitionTables.AirFlowPPAmp();
    for (int p = 0; p < kEpochs * 16; p += 8) list.entries.push_back({p, 1.0f + static_cast<float>(coin(rng)) / 100.0f});
    list.count = static_cast<std::int32_t>(list.entries.size());
    return d;
  }();
  EpochSeconds = kEpochSeconds;
  return *doc;
}

void BM_HypnogramTwelveLines(benchmark::State& state) {
  CQLM2_AnalyzerDoc& doc = Night();
  DocumentLoaded = 1;
  TrendSettingWord1 = 12;
  SetTrendTimeScale(kEpochs * kEpochSeconds / 60 / 12);  // 1,800 epochs per line
  ui::Window top;
  top.Create(nullptr, 0, ui::Rect{0, 0, 1366, 18 + 12 * 40}, false);
  auto host = std::make_unique<LyrTrendDummyView>();
  host->SetDocument(&doc);
  ui::CreateContext ctx;
  ctx.currentDocument = &doc;
  LyrTrendStageAreaDummyView& area = host->StageArea;
  area.CreateView(&top, 1, ctx, ui::Rect{0, 0, 1366, 18 + 12 * 40});
  area.ApplyDisplaySetting();
  draw::Image image(1326, 40, 32);
  draw::Dc dc(image);
  for (auto _ : state) {
    for (int line = 0; line < 12; ++line) area.LineView(line)->OnDraw(dc);
    benchmark::DoNotOptimize(image.GetPixel(5, 5));
  }
  area.DestroyWindow();
  host.reset();
  top.DestroyWindow();
}
BENCHMARK(BM_HypnogramTwelveLines)->Unit(benchmark::kMillisecond);

void BM_TrendTableTwentyGraphs(benchmark::State& state) {
  CQLM2_AnalyzerDoc& doc = Night();
  const int items[20][2] = {{8, 0},  {1, 0},  {2, 0},  {3, 0},  {4, 1},  {17, 1}, {14, 1}, {14, 3}, {18, 1}, {9, 2},
                            {10, 1}, {20, 0}, {23, 0}, {24, 0}, {12, 0}, {11, 0}, {14, 0}, {14, 2}, {14, 4}, {17, 0}};
  TrendSettingWord2 = 20;
  for (int g = 0; g < 20; ++g) {
    TrendItem.category[static_cast<std::size_t>(g)] = static_cast<std::uint16_t>(items[g][0]);
    TrendItem.subItem[static_cast<std::size_t>(g)] = static_cast<std::uint16_t>(items[g][1]);
  }
  OutputToClipboard = 0;
  OutputMaxLines = -1;
  const std::string path = (std::filesystem::temp_directory_path() / "bench_trend_table.txt").string();
  for (auto _ : state) benchmark::DoNotOptimize(WriteTrendTextTable(doc, path, 0, kEpochs - 1, 1, nullptr));
  std::filesystem::remove(path);
}
BENCHMARK(BM_TrendTableTwentyGraphs)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return benchnight::RunOffscreenBenchmarks(argc, argv); }
