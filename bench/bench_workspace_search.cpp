// The workspace's search panes over 24 hours of 4-s epochs (21,600): a stage search with
// 5,000 hits and the event list of 21,600 events, each search alone (goal: 20 ms) and with
// its rows put into the pane's list and the list painted with its first rows (goal: 50 ms).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/program_settings.h"
#include "app/workspace/lyr_workspace_search_views.h"
#include "app/workspace/workspace_searches.h"
#include "platform/testing/ui_testing.h"
#include "platform/ui/app.h"
#include "offscreen_main.h"
#include "offscreen_pane.h"

namespace {

constexpr int kEpochs = 21600;

// A day of 4-s epochs: every fourth epoch up to the 20,000th scored stage 2 (5,000 hits), the
// rest stage 1; one event per epoch.
CQLM2_AnalyzerDoc& Day() {
  static std::unique_ptr<CQLM2_AnalyzerDoc> doc = [] {
    EpochSeconds = 4;
    PageSeconds = 40;
    auto d = std::make_unique<CQLM2_AnalyzerDoc>();
    d->RecordSeconds = kEpochs * 4;
    d->RecordInfo.channelCount = 1;
    d->ChInfo[0].rate = 100;
    d->EpochTables.SetNew(kEpochs, 0, 1, 0, 1);
    for (int e = 0; e < kEpochs; ++e) d->EpochTables.SetStage(e, e % 4 == 0 && e < 20000 ? 2 : 1);
    d->EventNames = {"Arousal", "Leg movement"};
    d->EventRate = 100;
    for (int e = 0; e < kEpochs; ++e) d->Events.push_back({e % 2, e * 400 + 150});
    return d;
  }();
  return *doc;
}

using benchnight::PaneOn;

void BM_StageSearch(benchmark::State& state) {
  CQLM2_AnalyzerDoc& doc = Day();
  for (auto _ : state) {
    bool cut = false;
    const SearchRows rows = FindStageEpochs(doc, 2, &cut);
    if (rows.Count() != 5000 || cut) state.SkipWithError("expected 5,000 hits");
    benchmark::DoNotOptimize(rows.cells.data());
  }
}
BENCHMARK(BM_StageSearch)->Unit(benchmark::kMillisecond);

void BM_EventList(benchmark::State& state) {
  CQLM2_AnalyzerDoc& doc = Day();
  for (auto _ : state) {
    const SearchRows rows = ListEvents(doc);
    if (rows.Count() != kEpochs) state.SkipWithError("expected every event");
    benchmark::DoNotOptimize(rows.cells.data());
  }
}
BENCHMARK(BM_EventList)->Unit(benchmark::kMillisecond);

void BM_StageSearchShown(benchmark::State& state) {
  CQLM2_AnalyzerDoc& doc = Day();
  LyrWorkspaceSearchEventView& pane = PaneOn<LyrWorkspaceSearchEventView>(doc);
  for (auto _ : state) {
    bool cut = false;
    pane.ShowRows(FindStageEpochs(doc, 2, &cut));
    benchmark::DoNotOptimize(testhooks::RenderWindow(pane));
  }
}
BENCHMARK(BM_StageSearchShown)->Unit(benchmark::kMillisecond);

void BM_EventListShown(benchmark::State& state) {
  CQLM2_AnalyzerDoc& doc = Day();
  LyrWorkspaceSearchEventView& pane = PaneOn<LyrWorkspaceSearchEventView>(doc);
  for (auto _ : state) {
    pane.UpdateEventList();
    benchmark::DoNotOptimize(testhooks::RenderWindow(pane));
  }
}
BENCHMARK(BM_EventListShown)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return benchnight::RunOffscreenBenchmarks(argc, argv); }
