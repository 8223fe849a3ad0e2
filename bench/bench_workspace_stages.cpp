// The stage graph and the vigilance-state pane over 24 hours of 4-s epochs (21,600): the
// stage graph's table (30-minute divisions) put into its list, its drawing, and the
// vigilance state computed in 1-hour divisions into both lists (goal: 10 ms each), and that
// computation alone.
#include <benchmark/benchmark.h>

#include <memory>

#include "app/document/analysis_param_blocks.h"
#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/program_settings.h"
#include "app/workspace/lyr_workspace_stage_graph_view.h"
#include "app/workspace/lyr_workspace_vsp_view.h"
#include "app/workspace/workspace_settings.h"
#include "platform/draw/dc.h"
#include "platform/draw/image.h"
#include "platform/ui/app.h"
#include "offscreen_main.h"
#include "offscreen_pane.h"

namespace {

constexpr int kEpochs = 21600;

// A day of 4-s epochs whose stage changes every 1 to 7 epochs (about 5,400 episodes).
CQLM2_AnalyzerDoc& Day() {
  static std::unique_ptr<CQLM2_AnalyzerDoc> doc = [] {
    EpochSeconds = 4;
    PageSeconds = 40;
    DocumentLoaded = 1;
    auto d = std::make_unique<CQLM2_AnalyzerDoc>();
    d->RecordSeconds = kEpochs * 4;
    d->RecordInfo.channelCount = 1;
    d->ChInfo[0].rate = 100;
    d->EpochTables.SetNew(kEpochs, 0, 1, 0, 1);
    SetDefaultStageTypeParam(&d->Params.stageType);
    d->Params.stageType.stageType = 0;
    int code = 1;
    for (int e = 0; e < kEpochs;) {
      const int run = 1 + (e * 7919) % 7;
      for (int k = 0; k < run && e < kEpochs; ++k, ++e) d->EpochTables.SetStage(e, static_cast<std::uint8_t>(code));
      code = code % 7 + 1;
    }
    return d;
  }();
  return *doc;
}

using benchnight::PaneOn;

LyrWorkspaceStageGraphView& Graph() {
  CQLM2_AnalyzerDoc& doc = Day();
  LyrWorkspaceStageGraphView& g = PaneOn<LyrWorkspaceStageGraphView>(doc);
  g.FirstEpoch = 0;
  g.LastEpoch = kEpochs - 1;
  g.StageItemFlags = {};
  for (int i = 0; i < 7; ++i) g.StageItemFlags[static_cast<std::size_t>(i)] = 1;
  StageGraphTimeDivision = 30;
  StageGraphType = 1;
  return g;
}

void BM_StageGraphTable(benchmark::State& state) {
  LyrWorkspaceStageGraphView& g = Graph();
  for (auto _ : state) {
    g.OutputText(2);
    if (g.TableRows() != 48) state.SkipWithError("expected 48 half-hours");
  }
}
BENCHMARK(BM_StageGraphTable)->Unit(benchmark::kMillisecond);

void BM_StageGraphDraw(benchmark::State& state) {
  LyrWorkspaceStageGraphView& g = Graph();
  draw::Image img(1000, 600, 32);
  draw::Dc dc(img);
  for (auto _ : state) {
    dc.FillSolidRect(draw::RectFromSize(0, 0, 1000, 600), 0xFFFFFF);
    g.DrawGraph(dc, draw::RectFromSize(0, 0, 1000, 600));
    benchmark::DoNotOptimize(img.GetPixel(500, 300));
  }
}
BENCHMARK(BM_StageGraphDraw)->Unit(benchmark::kMillisecond);

void BM_VigilanceApply(benchmark::State& state) {
  CQLM2_AnalyzerDoc& doc = Day();
  LyrWorkspaceVSPView& vsp = PaneOn<LyrWorkspaceVSPView>(doc);
  TextOutputTimeDivision = 3600 / 4;
  VigilanceTrimmingMode = 0;
  for (auto _ : state) {
    if (vsp.Apply(0, kEpochs - 1, 0, nullptr) != 1 || vsp.Divisions.size() != 24)
      state.SkipWithError("expected 24 hours computed");
  }
}
BENCHMARK(BM_VigilanceApply)->Unit(benchmark::kMillisecond);

// The same computation without the lists: the episodes of the 24 hours.
void BM_VigilanceEpisodes(benchmark::State& state) {
  CQLM2_AnalyzerDoc& doc = Day();
  LyrWorkspaceVSPView& vsp = PaneOn<LyrWorkspaceVSPView>(doc);
  const VspEpochs epochs = vsp.Epochs();
  for (auto _ : state) {
    std::size_t episodes = 0;
    for (int h = 0; h < 24; ++h) episodes += FindEpisodes(epochs, h * 900, h * 900 + 899, 4, 0, 0).episodes.size();
    benchmark::DoNotOptimize(episodes);
  }
}
BENCHMARK(BM_VigilanceEpisodes)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return benchnight::RunOffscreenBenchmarks(argc, argv); }
