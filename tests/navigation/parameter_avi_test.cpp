#include <algorithm>

#include "app/frame/parameter_bar.h"
#include "app/trend/lyr_dlg_channel_selection.h"
#include "app/video/lyr_dlg_make_avi.h"
#include "platform/testing/ui_testing.h"
#include "platform/ui/control_bar.h"
#include "platform/ui/dialog.h"
#include "tests/navigation/nav_fixture.h"

namespace {

class ParameterSlots : public NavTest {
 protected:
  void SetUp() override {
    NavTest::SetUp();
    CQLM2_AnalyzerDoc& doc = Doc();
    doc.RecordInfo.channelCount = 3;
    doc.ChInfo[0].name = "C3-A2";
    doc.ChInfo[1].name = "O1-A2";
    doc.ChInfo[2].name = "EMG";
    doc.Params.fftBand.channelSwitch = {};
    doc.Params.fftBand.channelSwitch[1] = 1;
    savedCodes_ = ParameterBarCodes;
    savedChannels_ = ParameterBarChannels;
  }
  void TearDown() override {
    ParameterBarCodes = savedCodes_;
    ParameterBarChannels = savedChannels_;
    NavTest::TearDown();
  }
  ui::Control Combo(int slot) {
    return static_cast<ui::DialogBar*>(Frame().ParameterBar)->Item(kParameterBarCombo[slot]);
  }
  decltype(ParameterBarCodes) savedCodes_{};
  decltype(ParameterBarChannels) savedChannels_{};
};

// Picks a row of "Channel Selection" and OK, or cancels.
void AnswerChannel(int row) {
  testhooks::ScriptDialog(LyrDlgChannelSelection::kTemplateId, [row](ui::Dialog& d) {
    if (row < 0) {
      testhooks::ClickControl(d, ui::IDCANCEL);
      return;
    }
    d.Item(LyrDlgChannelSelection::kChannelList).SetCurSel(row);
    testhooks::ClickControl(d, ui::IDOK);
  });
}

}  // namespace

TEST_F(ParameterSlots, ListPositionsAndCodes) {
  CMainFrame& f = Frame();
  const int minPos = f.FindParameterListIndex(26);
  ASSERT_GE(minPos, 0) << "statistics are offered for any recording";
  EXPECT_EQ(f.GetParameterAt(minPos), 26);
  EXPECT_EQ(f.GetParameterAt(-1), 0);
  EXPECT_EQ(f.GetParameterAt(1000), 0);
  EXPECT_EQ(f.FindParameterListIndex(99), -1);
}

TEST_F(ParameterSlots, ChannelIsTakenOrAskedByCode) {
  CMainFrame& f = Frame();
  const int powerPos = f.FindParameterListIndex(14);
  ASSERT_GE(powerPos, 0);
  // One FFT channel: a band code takes it without asking.
  EXPECT_EQ(f.SelectParameter(0, powerPos), 1);
  EXPECT_EQ(ParameterBarCodes[0], 14);
  EXPECT_EQ(ParameterBarChannels[0], 1);

  // Two FFT channels: asked among the FFT channels only (row 1 is channel 2).
  Doc().Params.fftBand.channelSwitch[2] = 1;
  AnswerChannel(1);
  EXPECT_EQ(f.SelectParameter(0, powerPos), 1);
  EXPECT_EQ(ParameterBarChannels[0], 2);

  // Statistics of any channel: all channels listed; Cancel keeps the channel.
  const int maxPos = f.FindParameterListIndex(27);
  AnswerChannel(0);
  EXPECT_EQ(f.SelectParameter(1, maxPos), 1);
  EXPECT_EQ(ParameterBarChannels[1], 0) << "row 0 of every channel is channel 0";
  ParameterBarChannels[1] = 2;
  AnswerChannel(-1);
  EXPECT_EQ(f.SelectParameter(1, maxPos), 0);
  EXPECT_EQ(ParameterBarChannels[1], 2);

  // A code without channel asks nothing.
  EXPECT_EQ(f.SelectParameter(2, f.FindParameterListIndex(0)), 1);
  EXPECT_EQ(ParameterBarCodes[2], 0);
}

TEST_F(ParameterSlots, CombosShowTheChosenChannel) {
  ParameterBarCodes = {32, 26, 0, 0, 0, 0};
  ParameterBarChannels = {2, 0, 0, 0, 0, 0};
  Frame().ReloadParameterCombos();
  const int cv = Frame().FindParameterListIndex(32);
  const int min = Frame().FindParameterListIndex(26);
  EXPECT_EQ(Combo(0).GetCurSel(), cv);
  EXPECT_EQ(Combo(0).GetString(cv), "CV%_ 3:EMG");
  EXPECT_EQ(Combo(1).GetString(min), "Min._ 1:C3-A2");
  EXPECT_EQ(Combo(1).GetString(cv), "CV%") << "other items keep the plain name";
  EXPECT_EQ(Combo(2).GetCurSel(), Frame().FindParameterListIndex(0));

  // Before dropping down, the per-channel items get their plain names back, except
  // while the slot holds a code of 15 to 31.
  ui::Control first = Combo(0);
  Frame().RefreshParameterComboNames(0, first);
  EXPECT_EQ(Combo(0).GetString(cv), "CV%");
  EXPECT_EQ(Combo(0).GetCurSel(), cv);
  ui::Control second = Combo(1);
  Frame().RefreshParameterComboNames(1, second);
  EXPECT_EQ(Combo(1).GetString(min), "Min._ 1:C3-A2");
}

TEST_F(ParameterSlots, WaveValuesAreUnderlinedInTheirColour) {
  Doc().Params.waveForm.bands[WaveFormRecognitionParam::kDelta].channel = 0;
  Doc().Params.waveForm.bands[WaveFormRecognitionParam::kDelta].colour = 0x0000FF;
  Frame().EpochWaveRecords[0].wave[kWaveDelta].durationMs = 7500.0f;
  ParameterBarCodes = {1, 26, 0, 0, 0, 0};
  ParameterBarChannels = {0, 0, 0, 0, 0, 0};
  GoTo(0);
  Frame().UpdateParameterBar();
  auto* bar = static_cast<ui::DialogBar*>(Frame().ParameterBar);
  EXPECT_EQ(bar->GetDlgItemText(kParameterBarValue[0]), " 25.0");
  EXPECT_EQ(Frame().ParameterUnderline[0], 0x0000FF);
  EXPECT_EQ(Frame().ParameterUnderline[1], -1) << "statistics are not underlined";
}

TEST_F(NavTest, FrameKeepsItsSizeWhileTheFilmCaptures) {
  ui::MinMaxInfo info;
  info.maxTrackWidth = 5000;
  Frame().OnGetMinMaxInfo(info);
  EXPECT_EQ(info.maxTrackWidth, 5000) << "no capture: no limits";
  auto* dlg = new LyrDlgMakeAvi(&Frame());
  Frame().MakeAviDlg = dlg;
  Frame().AviRunning = 1;
  Frame().OnGetMinMaxInfo(info);
  const ui::Rect r = Frame().GetWindowRect();
  EXPECT_EQ(info.minTrackWidth, r.Width());
  EXPECT_EQ(info.maxTrackWidth, r.Width());
  EXPECT_EQ(info.maxTrackHeight, r.Height());
  Frame().AviRunning = 0;
  Frame().CloseAviDlg();
  testhooks::ProcessMessages();
}

namespace {

// A film window on a clock of the test's own.
class ScriptedAviDlg : public LyrDlgMakeAvi {
 public:
  using LyrDlgMakeAvi::LyrDlgMakeAvi;
  std::int64_t now = 1000;
  bool captureWorks = true;
  bool writeWorks = true;
  int* writes = nullptr;
  std::int64_t NowMs() const override { return now; }
  bool CaptureFrame() override { return captureWorks && LyrDlgMakeAvi::CaptureFrame(); }
  bool WriteAviFile() override {
    if (writes != nullptr) ++*writes;
    return writeWorks;
  }
};

}  // namespace

TEST_F(NavTest, AviCaptureEndsByLengthEscapeOrFailure) {
  struct Case {
    const char* how;
    bool captureWorks;
    bool writeWorks;
    std::vector<std::string> messages;
  };
  const Case cases[] = {
      {"length", true, true, {"The maximum time came.", "The AVI file was created."}},
      {"escape", true, false, {"The error occurred in creation of an AVI file."}},
      {"failure", false, true, {"The screen capture went wrong.", "The AVI file was created."}},
  };
  for (const Case& c : cases) {
    testhooks::Reset();
    int writes = 0;
    auto* dlg = new ScriptedAviDlg(&Frame());
    dlg->MaxFilmSeconds = 2;
    dlg->captureWorks = c.captureWorks;
    dlg->writeWorks = c.writeWorks;
    dlg->writes = &writes;
    Frame().MakeAviDlg = dlg;
    Frame().AviRunning = 1;
    Frame().SetTimer(kTimerAviCapture, 40);
    for (int step = 0; step < 100 && Frame().MakeAviDlg != nullptr; ++step) {
      if (std::string(c.how) == "escape" && step == 3)
        Frame().HandleNavigationKey(ui::WM_KEYUP, ui::VK_ESCAPE, 0, 0);
      Frame().OnTimer(kTimerAviCapture);
      dlg->now += 40;
    }
    EXPECT_EQ(Frame().MakeAviDlg, nullptr) << c.how << ": the window is closed";
    EXPECT_FALSE(Frame().IsTimerArmed(kTimerAviCapture)) << c.how;
    EXPECT_EQ(Frame().AviRunning, 0) << c.how;
    EXPECT_EQ(writes, 1) << c.how << ": the film is written once";
    std::vector<std::string> shown;
    for (const auto& box : testhooks::ShownMessageBoxes()) shown.push_back(box.text);
    EXPECT_EQ(shown, c.messages) << c.how;
    testhooks::ProcessMessages();
  }
}

TEST_F(NavTest, AviSpeedCheckEndsAfterNinetyStepsWithoutMessage) {
  testhooks::Reset();
  auto* dlg = new ScriptedAviDlg(&Frame());
  Frame().MakeAviDlg = dlg;
  Frame().AviRunning = 1;
  Frame().SetTimer(kTimerAviSpeedCheck, 32);
  int ticks = 0;
  while (Frame().AviRunning != 0 && ticks < 200) {
    Frame().OnTimer(kTimerAviSpeedCheck);
    dlg->now += ticks == 10 ? 70 : 32;
    ++ticks;
  }
  // The first tick only starts the clock; the count passes 90 on the 91st step.
  EXPECT_EQ(ticks, 92);
  EXPECT_EQ(dlg->StepCount, 91);
  EXPECT_EQ(dlg->LargestIntervalMs, 70);
  EXPECT_EQ(dlg->ProgressPos, 101);
  EXPECT_FALSE(Frame().IsTimerArmed(kTimerAviSpeedCheck));
  EXPECT_EQ(Frame().MakeAviDlg, dlg) << "the window stays for the film itself";
  EXPECT_TRUE(testhooks::ShownMessageBoxes().empty());
  Frame().CloseAviDlg();
  testhooks::ProcessMessages();
}
