// Peak resident memory of the program with the 24-hour, 32-channel, 500 Hz recording open on
// 30-s epochs and pages: the program started as it starts (frame, views, per-epoch arrays), the
// recording opened through the document's open (every per-epoch and recognition table, the
// marks, the page window with a band-pass and the notch on every channel), then paged forward
// by the Page Down key with one and with five page rows. Goal: below 250 MiB.
//
// Counters: rss_started_MiB, rss_open_MiB, peak_rss_MiB (the whole run, generation of the
// recording file excluded: it runs in a child process first), last_page (the page reached).
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "app/document/qlm2_analyzer_app.h"
#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/main_frame.h"
#include "app/frame/program_settings.h"
#include "platform/system/registry_store.h"
#include "platform/testing/ui_testing.h"
#include "platform/ui/messages.h"
#include "recording_24h.h"

namespace {

double PeakRssMiB() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return static_cast<double>(u.ru_maxrss) / 1024.0;
}

// Resident memory now (VmRSS), MiB.
double CurrentRssMiB() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::strtod(line.c_str() + 6, nullptr) / 1024.0;
  return 0.0;
}

void OpenAndPage(benchmark::State& state) {
  const std::string path = bench24h::Recording();
  testhooks::TempProgramFolder folder;
  sys::SetRegistryFileForTesting(folder.Path() + "/registry.txt");
  double started = 0.0, opened = 0.0;
  int pages = 0;
  for (auto _ : state) {
    auto app = std::make_unique<CQLM2_AnalyzerApp>();
    app->SetArguments({"QLM2_Analyzer"});
    if (!app->InitInstance()) {
      state.SkipWithError("the program did not start");
      return;
    }
    started = CurrentRssMiB();
    EpochSeconds = 30;
    PageSeconds = 30;
    CQLM2_AnalyzerDoc& doc = *app->Document();
    for (LyrChInfo& ch : doc.ChInfo) {
      ch.filterKind = 1;
      ch.filterMode = 2;
      ch.cut1Hz = 0.5;
      ch.cut2Hz = 35.0;
      ch.notch = 1;
      ch.lineFrequencyHz = 50.0;
    }
    if (!doc.OnOpenDocument(path)) {
      state.SkipWithError("the recording did not open");
      return;
    }
    opened = CurrentRssMiB();
    CMainFrame& frame = *app->MainFrame();
    frame.KeyRepeatPauseMs = 0;
    for (std::uint16_t rows : {1, 5}) {
      doc.PageRows = rows;
      doc.SetPageData();
      for (int k = 0; k < 60; ++k) frame.HandleNavigationKey(ui::WM_KEYDOWN, ui::VK_NEXT, 0, 0);
    }
    pages = doc.CurrentPage;
    benchmark::DoNotOptimize(doc.RecordInfo.pageBuffers[2].data());
    doc.OnNewDocument();
    app->ExitInstance();
  }
  sys::SetRegistryFileForTesting("");
  state.counters["rss_started_MiB"] = started;
  state.counters["rss_open_MiB"] = opened;
  state.counters["peak_rss_MiB"] = PeakRssMiB();
  state.counters["last_page"] = pages;
}
BENCHMARK(OpenAndPage)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  // The recording is written by a child, so that the writer's buffers do not count.
  const pid_t child = fork();
  if (child == 0) {
    bench24h::Recording();
    _exit(0);
  }
  if (child > 0) waitpid(child, nullptr, 0);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
