// The trend graphs: a full draw of 20 graphs over 21,600 epochs (a day of 4-s epochs, 12
// lines of two hours) at 1920 pixels (goal 16 ms), a cursor move without redraw (goal 2 ms),
// and the screening of an 8-hour night with eight graphs shown against none (goal: less than
// 20 % slower).
#include <benchmark/benchmark.h>

#include <algorithm>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/document/trend_item_names.h"
#include "app/frame/frame_globals.h"
#include "app/frame/main_frame.h"
#include "app/frame/program_settings.h"
#include "app/trend/lyr_trend_frame.h"
#include "app/trend/lyr_trend_graph_view.h"
#include "app/trend/trend_dummy_view.h"
#include "app/trend/trend_settings.h"
#include "sample_night.h"

namespace {

// 20 EMG graphs of columns over a day of 4-s epochs, each 1920 pixels wide.
struct DayOfGraphs {
  benchnight::Recording rec{"bench_trend_graphs", 24.0, 0};
  benchnight::OpenProgram program{rec.path, 4, 120};
  LyrTrendDummyView* trend = nullptr;

  DayOfGraphs() {
    if (!program.error.empty()) return;
    CQLM2_AnalyzerDoc& doc = program.Doc();
    program.Frame().MoveWindow(ui::Rect{0, 0, 1600, 1000});
    trend = program.Frame().TrendView();
    doc.Params.waveForm.emgChannel = 0;
    for (int e = 0; e < doc.EpochTables.EpochCount(); ++e)
      if (LyrEpochRec* r = doc.EpochTables.Record(e)) r->emg = static_cast<float>((e * 37) % 100);
    SetTrendItemRange(0, 8, 0, 0, 1, 0, 0, 100.0, 0.0);
    for (int g = 0; g < 20; ++g) {
      const auto i = static_cast<std::size_t>(g);
      TrendItem.category[i] = 8;
      TrendItem.subItem[i] = 0;
      TrendItem.word4[i] = 2;
    }
    DocumentLoaded = 1;
    ResultModifiedState = 1;
    trend->Frame()->ApplyDisplaySetting(12, 120, 20);  // 12 x 1800 = 21,600 epochs
    for (int g = 0; g < 20; ++g) trend->TrendArea.GraphView(g)->MoveWindow(ui::Rect{40, 0, 40 + 1921, 40});
  }
};

DayOfGraphs& Day() {
  static DayOfGraphs day;
  return day;
}

void BM_DrawTwentyGraphsOfADay(benchmark::State& state) {
  DayOfGraphs& d = Day();
  if (d.trend == nullptr) {
    state.SkipWithError("the program did not open the recording");
    return;
  }
  for (auto _ : state)
    for (int g = 0; g < 20; ++g) d.trend->TrendArea.GraphView(g)->DrawAll();
  state.counters["epochs"] = d.trend->TrendArea.TableSize();
  state.counters["width"] = d.trend->TrendArea.GraphView(0)->PlotRect().Width();
}
BENCHMARK(BM_DrawTwentyGraphsOfADay)->Unit(benchmark::kMillisecond);

void BM_MoveTheCursorOverTwentyGraphs(benchmark::State& state) {
  DayOfGraphs& d = Day();
  if (d.trend == nullptr) {
    state.SkipWithError("the program did not open the recording");
    return;
  }
  for (int g = 0; g < 20; ++g) d.trend->TrendArea.GraphView(g)->DrawAll();
  std::int32_t epoch = 0;
  for (auto _ : state) {
    epoch = (epoch + 997) % 21600;
    d.trend->SetCursorEpoch(-1, epoch);
    d.trend->DrawCursor();
  }
}
BENCHMARK(BM_MoveTheCursorOverTwentyGraphs)->Unit(benchmark::kMillisecond);

void ScreenNight(benchmark::State& state, int graphs) {
  static benchnight::Recording rec("bench_trend_graphs_night", 8.0, 0);
  benchnight::OpenProgram program(rec.path, 30, 120);
  if (!program.error.empty()) {
    state.SkipWithError(program.error.c_str());
    return;
  }
  static constexpr int kItems[8][2] = {{1, 0}, {4, 1}, {8, 0}, {11, 0}, {18, 1}, {17, 1}, {20, 2}, {13, 0}};
  for (int g = 0; g < 20; ++g) TrendItem.category[static_cast<std::size_t>(g)] = 0;
  for (int g = 0; g < graphs; ++g) {
    TrendItem.category[static_cast<std::size_t>(g)] = static_cast<std::uint16_t>(kItems[g][0]);
    TrendItem.subItem[static_cast<std::size_t>(g)] = static_cast<std::uint16_t>(kItems[g][1]);
  }
  program.Frame().MoveWindow(ui::Rect{0, 0, 1600, 1000});
  program.Frame().TrendView()->Frame()->ApplyDisplaySetting(1, 480, std::max(graphs, 1));
  for (auto _ : state)
    if (!program.Screen()) state.SkipWithError("the run did not start");
}

void BM_ScreenNightWithEightGraphs(benchmark::State& state) { ScreenNight(state, 8); }
BENCHMARK(BM_ScreenNightWithEightGraphs)->Unit(benchmark::kSecond)->Iterations(1);

void BM_ScreenNightWithoutGraphs(benchmark::State& state) { ScreenNight(state, 0); }
BENCHMARK(BM_ScreenNightWithoutGraphs)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) { return benchnight::RunOffscreenBenchmarks(argc, argv); }
