#pragma once
// The program started on a generated human night with the settings made for it (as
// `./run.sh` starts it): the night is written once for the whole test program.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/frame/navigation_state.h"
#include "app/frame/resume_file.h"
#include "app_shell/app_fixture.h"
#include "platform/system/file_system.h"
#include "sample_recording.h"
#include "sample_settings.h"

struct SampleNight {
  std::string folder;
  std::string path;
  std::vector<int> stages;  // the true hypnogram, one code per 30-s epoch

  explicit SampleNight(double hours) {
    folder = sys::TempFolder() + "/sample_night_" + std::to_string(::getpid());
    std::filesystem::create_directories(folder);
    path = folder + "/night.fyd";
    samples::Options o;
    o.kind = samples::Kind::Human;
    o.hours = hours;
    o.seed = 1;
    std::string error;
    if (!samples::WriteSampleRecording(o, path, &error)) ADD_FAILURE() << error;
    std::ifstream in(samples::CompanionPath(path, ".stages"));
    for (int s = 0; in >> s;) stages.push_back(s);
  }
  ~SampleNight() {
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
  }
  // Two hours hold every stage of the maker's cycle.
  static const SampleNight& Shared() {
    static SampleNight night(2.0);
    return night;
  }
};

// A virtual screen of that size for the life of the object.
struct FixedScreen {
  FixedScreen(int width, int height) { testhooks::SetVirtualScreen(width, height, width * 254 / 960, height * 254 / 960); }
  ~FixedScreen() { testhooks::SetVirtualScreen(0, 0, 0, 0); }
};

class SampleNightTest : public AppTest {
 protected:
  // Writes the sample's settings beside the program, starts it and opens the night.
  bool StartOnNight() {
    std::string error;
    if (!samples::WriteSampleSettings(samples::Kind::Human, ResumeFile::Path(), &error)) {
      ADD_FAILURE() << error;
      return false;
    }
    if (!Start()) return false;
    return app_->OpenDocumentFile(SampleNight::Shared().path, false) != nullptr;
  }
  // Screens the whole recording with the settings in force, step by step as the timer runs it.
  void Screen() {
    ASSERT_EQ(Frame().StartScreening(0), 1);
    Frame().SetTimer(kTimerScreeningStep, 0);
    while (Frame().IsTimerArmed(kTimerScreeningStep)) Frame().OnTimer(kTimerScreeningStep);
  }
};
