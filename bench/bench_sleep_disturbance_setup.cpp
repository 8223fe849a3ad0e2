// OK of the sleep-disturbance setup window in the menu context with a criterion changed, to the
// end of the frame's close: the recognisers run again over a screened 8-hour night. Goal: 1 s.
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
#include "app/settings/lyr_raw_dlg_sleep_disturbance_parent.h"
#include "platform/system/file_system.h"
#include "platform/testing/ui_testing.h"
#include "sample_recording.h"
#include "tests/sleep_disturbance_setup/night_channels.h"
#include "offscreen_main.h"

namespace {

struct Night {
  std::string path;
  Night() {
    path = sys::TempFolder() + "/bench_sd_setup_" + std::to_string(::getpid()) + ".fyd";
    samples::Options o;
    o.kind = samples::Kind::Human;
    o.hours = 8.0;
    o.seed = 11;
    std::string error;
    if (!samples::WriteSampleRecording(o, path, &error)) {
      std::fprintf(stderr, "bench_sleep_disturbance_setup: %s\n", error.c_str());
      std::abort();
    }
  }
  ~Night() {
    std::error_code ec;
    for (const std::string& p : {path, samples::CompanionPath(path, ".stages"), samples::CompanionPath(path, ".events")})
      std::filesystem::remove(p, ec);
  }
};

void BM_SetupOkRecognisesTheNightAgain(benchmark::State& state) {
  static Night night;
  testhooks::TempProgramFolder folder;
  auto app = std::make_unique<CQLM2_AnalyzerApp>();
  app->SetArguments({"QLM2_Analyzer"});
  if (!app->InitInstance()) {
    state.SkipWithError("the program did not start");
    return;
  }
  EpochSeconds = 30;
  PageSeconds = 120;
  CMainFrame& frame = *app->MainFrame();
  CQLM2_AnalyzerDoc& doc = *app->Document();
  if (app->OpenDocumentFile(night.path, false) == nullptr) {
    state.SkipWithError("the recording did not open");
    app->ExitInstance();
    return;
  }
  SetUpNightChannels(doc.Params.sleepDstrb);
  doc.Init4ChangeEpochTime(doc.GetDivNum(EpochSeconds), EpochSeconds, doc.RecordInfo.channelCount, 1);
  if (frame.StartScreening(0) == 0) {
    state.SkipWithError("the run did not start");
    app->ExitInstance();
    return;
  }
  frame.SetTimer(kTimerScreeningStep, 0);
  while (frame.IsTimerArmed(kTimerScreeningStep)) frame.OnTimer(kTimerScreeningStep);

  int round = 0;
  for (auto _ : state) {
    state.PauseTiming();
    frame.OpenDlgDisturbFormRecognition(0);
    LyrRawDlgSleepDisturbanceParent* dlg = frame.SleepDisturbanceParentDlg;
    if (dlg == nullptr) {
      state.SkipWithError("the setup window did not open");
      break;
    }
    // The apnea's shortest duration changes every round, so that every OK runs recognition.
    dlg->m_RespPage.SetDlgItemText(1299, ++round % 2 != 0 ? "20" : "30");
    state.ResumeTiming();
    dlg->ClickButton(1);
    state.PauseTiming();
    testhooks::ProcessMessages();
    state.ResumeTiming();
  }
  state.counters["epochs"] = doc.EpochTables.EpochCount();
  ScreeningRunning = 0;
  app->ExitInstance();
}
BENCHMARK(BM_SetupOkRecognisesTheNightAgain)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) { return benchnight::RunOffscreenBenchmarks(argc, argv); }
