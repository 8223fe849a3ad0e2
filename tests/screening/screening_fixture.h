#pragma once
// The started program with a generated human night open (one hour, 64 Hz, 30-s epochs shown
// in pages of four epochs: 120 epochs, 30 pages), and helpers that drive a screening run as
// the message loop would: the step timer fired until it is no longer armed.
#include <unistd.h>

#include <filesystem>
#include <string>

#include "app/frame/navigation_state.h"
#include "app/frame/program_settings.h"
#include "app/scoring/lyr_dlg_screening.h"
#include "platform/ui/app.h"
#include "sample_recording.h"
#include "tests/app_shell/app_fixture.h"

class ScreeningTest : public AppTest {
 protected:
  static constexpr int kEpochs = 120;
  static constexpr int kPerPage = 4;

  static void SetUpTestSuite() {
    night_ = new std::string((std::filesystem::temp_directory_path() /
                              ("qlm_screening_night_" + std::to_string(::getpid()) + ".fyd"))
                                 .string());
    samples::Options o;
    o.kind = samples::Kind::Human;
    o.hours = 1.0;
    o.rateHz = 64;
    o.seed = 3;
    std::string error;
    ASSERT_TRUE(samples::WriteSampleRecording(o, *night_, &error)) << error;
  }
  static void TearDownTestSuite() {
    for (const char* ext : {"", ".stages", ".events"}) {
      std::error_code ec;
      std::filesystem::remove(ext[0] ? samples::CompanionPath(*night_, ext) : *night_, ec);
    }
    delete night_;
  }

  void SetUp() override {
    AppTest::SetUp();
    ASSERT_TRUE(Start());
    savedEpoch_ = EpochSeconds;
    savedPage_ = PageSeconds;
    EpochSeconds = 30;
    PageSeconds = 30 * kPerPage;
    ASSERT_NE(ui::App::Current()->OpenDocumentFile(*night_, false), nullptr) << testing::PrintToString(BoxTexts());
    ASSERT_EQ(DocumentLoaded, 1);
    Frame().KeyRepeatPauseMs = 0;
    testhooks::Reset();
  }
  void TearDown() override {
    if (Frame().ScreeningDlg != nullptr) Frame().CloseScreeningSettingDlgs();
    testhooks::ProcessMessages();
    EpochSeconds = savedEpoch_;
    PageSeconds = savedPage_;
    LearningSampleMode = 0;
    ScreeningIndex = -1;
    ScreeningParameterOnly = 0;
    AppTest::TearDown();
  }

  // Fires the step timer while it is armed; returns the ticks (at most `limit`).
  int RunTimer(int limit = 10000) {
    int ticks = 0;
    while (Frame().IsTimerArmed(kTimerScreeningStep) && ticks < limit) {
      if (!testhooks::FireTimer(Frame(), kTimerScreeningStep)) break;
      ++ticks;
    }
    // Posted clean-ups (closed windows) run once the run has ended; a timer still armed
    // would fire there too.
    if (!Frame().IsTimerArmed(kTimerScreeningStep)) testhooks::ProcessMessages();
    return ticks;
  }

  LyrDlgScreening& OpenScreening() {
    Frame().OnScreening();
    EXPECT_NE(Frame().ScreeningDlg, nullptr);
    return *Frame().ScreeningDlg;
  }

  std::string OutPath(const std::string& name) const { return folder_->Path() + "/" + name; }

  static std::string* night_;
  int savedEpoch_ = 0;
  int savedPage_ = 0;
};

inline std::string* ScreeningTest::night_ = nullptr;
