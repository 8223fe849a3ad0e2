// The re-scoring after OK of the Logic window (CMainFrame::CloseLogicDlg(1) with no Screening
// window): a generated 24-hour day screened in 4-s epochs (21,600 epochs) is staged again by
// the default conditions of stage type 0, then the last-stage rules of mode 0 (none), 1 (the
// Rechtschaffen and Kales rules) or 2 (the stage-change rule) run, and the views are redrawn.
// Goal: at most 100 ms for each mode.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "app/document/qlm2_analyzer_app.h"
#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/main_frame.h"
#include "app/frame/navigation_state.h"
#include "app/frame/program_settings.h"
#include "platform/system/file_system.h"
#include "platform/testing/ui_testing.h"
#include "sample_recording.h"
#include "offscreen_main.h"

namespace {

constexpr int kEpochSeconds = 4;
constexpr int kPageSeconds = 40;

// The program started on the screened day, kept for every run of the benchmark.
struct ScreenedDay {
  std::string path;
  testhooks::TempProgramFolder folder;
  std::unique_ptr<CQLM2_AnalyzerApp> app;
  bool ready = false;

  ScreenedDay() {
    path = sys::TempFolder() + "/bench_logic_rescore_" + std::to_string(::getpid()) + ".fyd";
    samples::Options o;
    o.kind = samples::Kind::Human;
    o.hours = 24.0;
    o.seed = 5;
    std::string error;
    if (!samples::WriteSampleRecording(o, path, &error)) {
      std::fprintf(stderr, "bench_logic_rescore: %s\n", error.c_str());
      return;
    }
    app = std::make_unique<CQLM2_AnalyzerApp>();
    app->SetArguments({"QLM2_Analyzer"});
    if (!app->InitInstance()) return;
    EpochSeconds = kEpochSeconds;
    PageSeconds = kPageSeconds;
    if (app->OpenDocumentFile(path, false) == nullptr) return;
    CQLM2_AnalyzerDoc& doc = *app->Document();
    doc.Params.stageType.stageType = 0;
    WaveFormRecognitionParam& w = doc.Params.waveForm;
    for (auto& band : w.bands) band.channel = 0;
    w.kComplex.channel = 0;
    w.eogLeft.channel = 2;
    w.eogRight.channel = 3;
    w.emgChannel = 4;
    CMainFrame& frame = *app->MainFrame();
    if (frame.StartScreening(0) == 0) return;
    frame.SetTimer(kTimerScreeningStep, 0);
    while (frame.IsTimerArmed(kTimerScreeningStep)) frame.OnTimer(kTimerScreeningStep);
    ScreeningRunning = 0;
    ready = doc.LastScreenedEpoch == doc.EpochTables.EpochCount() - 1;
    std::printf("screened %d epochs of %d s\n", doc.EpochTables.EpochCount(), kEpochSeconds);
  }
  ~ScreenedDay() {
    if (app) app->ExitInstance();
    std::error_code ec;
    for (const std::string& p : {path, samples::CompanionPath(path, ".stages"), samples::CompanionPath(path, ".events")})
      std::filesystem::remove(p, ec);
  }
};

ScreenedDay& Day() {
  static ScreenedDay day;
  return day;
}

void BM_CloseLogicDlgRescore(benchmark::State& state) {
  ScreenedDay& day = Day();
  if (!day.ready) {
    state.SkipWithError("the generated day was not screened");
    return;
  }
  CQLM2_AnalyzerDoc& doc = *day.app->Document();
  CMainFrame& frame = *day.app->MainFrame();
  doc.Params.logicOption.lastStageMode = static_cast<std::uint16_t>(state.range(0));
  for (auto _ : state) frame.CloseLogicDlg(1);
  state.counters["epochs"] = doc.EpochTables.EpochCount();
}
BENCHMARK(BM_CloseLogicDlgRescore)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return benchnight::RunOffscreenBenchmarks(argc, argv); }
