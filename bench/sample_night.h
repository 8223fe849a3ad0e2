#pragma once
// A generated recording written into the temporary folder for a benchmark (removed with its
// companion files at the end), the program started in a fresh program folder with it open, and
// a whole screening run driven on the step timer as the program runs it.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/document/qlm2_analyzer_app.h"
#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/main_frame.h"
#include "offscreen_main.h"
#include "app/frame/navigation_state.h"
#include "app/frame/program_settings.h"
#include "platform/system/file_system.h"
#include "platform/testing/ui_testing.h"
#include "sample_recording.h"

namespace benchnight {

struct Recording {
  std::string path;
  std::vector<int> stages;  // the true hypnogram

  Recording(const std::string& name, double hours, int channels, int seed = 11) {
    path = sys::TempFolder() + "/" + name + "_" + std::to_string(::getpid()) + "_" +
           std::to_string(static_cast<int>(hours)) + "h" + std::to_string(channels) + "s" + std::to_string(seed) + ".fyd";
    samples::Options o;
    o.kind = samples::Kind::Human;
    o.hours = hours;
    o.channels = channels;
    o.seed = seed;
    std::string error;
    if (!samples::WriteSampleRecording(o, path, &error)) {
      std::fprintf(stderr, "%s: %s\n", name.c_str(), error.c_str());
      std::abort();
    }
    std::ifstream in(samples::CompanionPath(path, ".stages"));
    for (int s = 0; in >> s;) stages.push_back(s);
  }
  ~Recording() {
    std::error_code ec;
    for (const std::string& p : {path, samples::CompanionPath(path, ".stages"), samples::CompanionPath(path, ".events")})
      std::filesystem::remove(p, ec);
  }
  Recording(const Recording&) = delete;
  Recording& operator=(const Recording&) = delete;
};

// The program with a recording open at the given epoch and page lengths; `error` says why not.
class OpenProgram {
 public:
  OpenProgram(const std::string& recording, int epochSeconds, int pageSeconds) {
    app_ = std::make_unique<CQLM2_AnalyzerApp>();
    app_->SetArguments({"QLM2_Analyzer"});
    if (!app_->InitInstance()) {
      error = "the program did not start";
      app_.reset();
      return;
    }
    EpochSeconds = epochSeconds;
    PageSeconds = pageSeconds;
    if (app_->OpenDocumentFile(recording, false) == nullptr) error = "the recording did not open";
  }
  ~OpenProgram() {
    ScreeningRunning = 0;
    if (app_) app_->ExitInstance();
  }
  OpenProgram(const OpenProgram&) = delete;
  OpenProgram& operator=(const OpenProgram&) = delete;

  CMainFrame& Frame() { return *app_->MainFrame(); }
  CQLM2_AnalyzerDoc& Doc() { return *app_->Document(); }

  // Fresh tables, then one screening run to its end; false when it did not start.
  bool Screen() {
    CQLM2_AnalyzerDoc& doc = Doc();
    doc.Init4ChangeEpochTime(doc.GetDivNum(EpochSeconds), EpochSeconds, doc.RecordInfo.channelCount, 1);
    doc.LastScreenedEpoch = -1;
    return ScreenPrepared();
  }
  // The run alone, on the tables as they are.
  bool ScreenPrepared() {
    CMainFrame& frame = Frame();
    if (frame.StartScreening(0) == 0) return false;
    frame.SetTimer(kTimerScreeningStep, 0);
    while (frame.IsTimerArmed(kTimerScreeningStep)) frame.OnTimer(kTimerScreeningStep);
    return true;
  }

  std::string error;

 private:
  testhooks::TempProgramFolder folder_;
  std::unique_ptr<CQLM2_AnalyzerApp> app_;
};


}  // namespace benchnight
