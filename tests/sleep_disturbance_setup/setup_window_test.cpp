// The setup window in the running program on a screened generated night: OK and Cancel in
// both contexts, Preview, the level measured from a stretch marked on the raw page, and the
// arousal threshold tuned on the shown page.
#include <algorithm>
#include <vector>

#include "app/frame/frame_globals.h"
#include "app/raw/raw_dummy_view.h"
#include "app/raw/raw_mouse.h"
#include "app/settings/lyr_raw_dlg_sleep_disturbance_cnfrm.h"
#include "app/settings/lyr_raw_dlg_sleep_disturbance_parent.h"
#include "app/settings/sleep_disturbance_page_common.h"
#include "platform/ui/command.h"
#include "night_channels.h"
#include "tests/screening/screening_fixture.h"

namespace {

constexpr std::uint32_t kCmdSleepDisturbance = 32801;
constexpr int kAirflow = 6;
constexpr int kLeg = 11;

class SetupWindow : public ScreeningTest {
 protected:
  void TearDown() override {
    if (Frame().SleepDisturbanceParentDlg != nullptr) Frame().CloseSleepDisturbanceParentDlg(2);
    testhooks::ProcessMessages();
    ArousalThresholdPreview = 0;
    RawPreview.thresholdConfirmationRunning = false;
    ScreeningTest::TearDown();
  }

  // The night's channels put to the recognisers, then screened to its end.
  void ScreenNight() {
    SleepDstrbParam& s = Doc().Params.sleepDstrb;
    SetUpNightChannels(s);
    // A run takes the settings of its screening condition.
    Doc().ScreeningConditions[0].sleepDisturbance = s;
    ASSERT_NE(Doc().Init4ChangeEpochTime(kEpochs, EpochSeconds, Doc().RecordInfo.channelCount, 1), 0);
    ASSERT_EQ(Frame().StartScreening(0), 1);
    Frame().SetTimer(kTimerScreeningStep, 0);
    RunTimer();
    ASSERT_EQ(Doc().LastScreenedEpoch, kEpochs - 1);
    testhooks::Reset();
  }

  LyrRawDlgSleepDisturbanceParent& OpenSetup() {
    EXPECT_TRUE(ui::ExecuteCommand(Frame(), kCmdSleepDisturbance));
    LyrRawDlgSleepDisturbanceParent* dlg = Frame().SleepDisturbanceParentDlg;
    EXPECT_NE(dlg, nullptr);
    return *dlg;
  }

  std::vector<std::uint8_t> BlockImage() {
    std::vector<std::uint8_t> image(SleepDstrbParam::kSize);
    Doc().Params.sleepDstrb.Store(std::span<std::uint8_t, SleepDstrbParam::kSize>(image.data(), image.size()));
    return image;
  }

  // Apnea runs (codes 1-3) of the respiration table, in 0.25-s points.
  std::vector<int> ApneaRuns() {
    std::vector<int> runs;
    const auto& t = Doc().RecognitionTables.RespRcgnz();
    int run = 0;
    for (std::size_t i = 0; i <= t.size(); ++i) {
      const bool apnea = i < t.size() && t[i] >= 1 && t[i] <= 3;
      if (apnea) ++run;
      else if (run > 0) runs.push_back(run), run = 0;
    }
    return runs;
  }

  LyrRawAreaView& CurrentRow() { return *Frame().RawView()->Row(2)->AreaView(); }

  // Marks x0 .. x1 on the channel's band of the current page with the left button.
  void Mark(int channel, int x0, int x1) {
    LyrRawAreaView& view = CurrentRow();
    int top = 0, bottom = 0;
    ASSERT_TRUE(view.GetChannelBand(channel, &top, &bottom));
    const int y = (top + bottom) / 2;
    view.OnMouseMove(0, ui::Point{x0, y});
    view.OnLButtonDown(ui::MK_LBUTTON, ui::Point{x0, y});
    view.OnMouseMove(ui::MK_LBUTTON, ui::Point{x1, y});
    view.OnLButtonUp(0, ui::Point{x1, y});
  }
};

// Menu context: OK with nothing touched runs nothing; a changed apnea duration runs the
// recognisers over the night with it.
TEST_F(SetupWindow, MenuOkRunsRecognitionOnlyAfterAChange) {
  ScreenNight();
  auto& resp = Doc().RecognitionTables.RespRcgnz();
  ASSERT_FALSE(resp.empty());
  const std::vector<int> runs = ApneaRuns();
  ASSERT_TRUE(std::any_of(runs.begin(), runs.end(), [](int r) { return r < 120; })) << "the night has short apneas";
  resp[0] = 9;  // nothing may touch it unless recognition runs

  LyrRawDlgSleepDisturbanceParent& first = OpenSetup();
  EXPECT_EQ(first.m_Caller, 0);
  ASSERT_TRUE(first.ClickButton(ui::IDOK));
  EXPECT_EQ(Frame().SleepDisturbanceParentDlg, nullptr);
  EXPECT_EQ(resp[0], 9);
  EXPECT_TRUE(testhooks::ShownMessageBoxes().empty());
  testhooks::ProcessMessages();

  LyrRawDlgSleepDisturbanceParent& dlg = OpenSetup();
  dlg.m_RespPage.SetDlgItemText(1299, "30");
  ASSERT_TRUE(dlg.ClickButton(ui::IDOK));
  EXPECT_EQ(Doc().Params.sleepDstrb.airFlow.values[4], 30.0);
  EXPECT_NE(resp[0], 9) << "recognition ran";
  for (int run : ApneaRuns()) EXPECT_GE(run, 120) << "no apnea under 30 s";
  EXPECT_EQ(Doc().LastScreenedEpoch, kEpochs - 1);
  EXPECT_FALSE(Doc().RecognitionTables.HasArousalPeakNumCopy()) << "the kept copies go with the window";
  EXPECT_FALSE(Doc().RecognitionTables.HasECGRcgnzCopy());
}

// A refused check keeps the window and what Cancel needs.
TEST_F(SetupWindow, FailedCheckKeepsTheCopiesForCancel) {
  ScreenNight();
  const std::vector<std::int32_t> peaks = Doc().RecognitionTables.ECGRcgnz().positions;
  const std::int32_t count = Doc().RecognitionTables.ECGRcgnz().count;
  ASSERT_GT(count, 0);
  LyrRawDlgSleepDisturbanceParent& dlg = OpenSetup();
  dlg.m_MovePage.SetDlgItemText(1317, "-1");
  ASSERT_TRUE(dlg.ClickButton(ui::IDOK));
  EXPECT_EQ(Frame().SleepDisturbanceParentDlg, &dlg);
  EXPECT_TRUE(Doc().RecognitionTables.HasECGRcgnzCopy());
  Doc().RecognitionTables.ECGRcgnz().count = 0;  // as a preview would leave it
  ASSERT_TRUE(dlg.ClickButton(ui::IDCANCEL));
  EXPECT_EQ(Doc().RecognitionTables.ECGRcgnz().count, count);
  EXPECT_EQ(Doc().RecognitionTables.ECGRcgnz().positions, peaks);
}

// Screening context: a change asks first. OK drops the screened results and hands the block
// to the Screening window; Cancel there is a full Cancel.
TEST_F(SetupWindow, ScreeningContextAsksBeforeDroppingTheResults) {
  ScreenNight();
  const std::vector<std::uint8_t> before = BlockImage();
  const std::vector<std::uint8_t> resp = Doc().RecognitionTables.RespRcgnz();
  for (const int answer : {ui::IDCANCEL, ui::IDOK}) {
    SCOPED_TRACE(answer);
    LyrDlgScreening& screening = OpenScreening();
    screening.Item(IDC_SCR_LIST).SetCurSel(0);
    screening.CheckDlgButton(IDC_SCR_CONTINUATION, 1);  // no question of the Screening window's own
    ASSERT_TRUE(screening.ClickButton(IDC_SCR_SLEEP_DISTURBANCE));
    LyrRawDlgSleepDisturbanceParent* dlg = Frame().SleepDisturbanceParentDlg;
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(dlg->m_Caller, 1);
    dlg->m_RespPage.SetDlgItemText(1299, "30");
    testhooks::Reset();
    testhooks::AnswerMessageBox(answer);
    ASSERT_TRUE(dlg->ClickButton(ui::IDOK));
    ASSERT_EQ(testhooks::ShownMessageBoxes().size(), 1u);
    EXPECT_EQ(testhooks::ShownMessageBoxes()[0].text,
              "The condition was changed. The analysis result will be invalid. Continue?");
    EXPECT_EQ(Frame().SleepDisturbanceParentDlg, nullptr);
    EXPECT_TRUE(screening.IsWindowVisible());
    const int flag = screening.SetFlagOf(0, LyrDlgScreening::kFlagSleepDisturbance);
    if (answer == ui::IDCANCEL) {
      EXPECT_EQ(BlockImage(), before);
      EXPECT_EQ(flag, 0) << "the Screening window takes nothing over";
      EXPECT_EQ(Doc().RecognitionTables.RespRcgnz(), resp);
      EXPECT_EQ(Doc().LastScreenedEpoch, kEpochs - 1);
    } else {
      EXPECT_EQ(Doc().Params.sleepDstrb.airFlow.values[4], 30.0);
      EXPECT_EQ(flag, 1);
      EXPECT_EQ(Doc().ScreeningConditions[0].sleepDisturbance.airFlow.values[4], 30.0);
      EXPECT_EQ(Doc().LastScreenedEpoch, -1);
      const auto& t = Doc().RecognitionTables.RespRcgnz();
      EXPECT_TRUE(std::all_of(t.begin(), t.end(), [](std::uint8_t v) { return v == 0; }));
    }
    Frame().CloseScreeningSettingDlgs();
    testhooks::ProcessMessages();
  }
}

// Preview hides the window for 2.5 s with the edited settings in force; Cancel afterwards
// brings back the block and the night's tables, representative values included.
TEST_F(SetupWindow, CancelAfterPreviewRestoresBlockAndTables) {
  ScreenNight();
  const std::vector<std::uint8_t> block = BlockImage();
  const std::vector<std::uint8_t> resp = Doc().RecognitionTables.RespRcgnz();
  const std::vector<std::uint8_t> legs = Doc().RecognitionTables.LMRcgnz();
  const float* spo2 = Doc().EpochTables.Rprsnt(kRprsntSpO2, kEpochs - 1);
  ASSERT_NE(spo2, nullptr);
  const float lastSpO2 = spo2[0];
  ASSERT_NE(lastSpO2, 0.0f);

  LyrRawDlgSleepDisturbanceParent& dlg = OpenSetup();
  dlg.m_RespPage.SetDlgItemText(1299, "30");
  for (int round = 0; round < 2; ++round) {
    ASSERT_TRUE(dlg.ClickButton(IDC_SD_PREVIEW));
    EXPECT_FALSE(dlg.IsWindowVisible());
    EXPECT_EQ(dlg.m_Visible, 0);
    EXPECT_EQ(dlg.TimerPeriod(kSdPreviewTimer), 2500);
    ASSERT_TRUE(testhooks::FireTimer(dlg, kSdPreviewTimer));
    EXPECT_TRUE(dlg.IsWindowVisible());
    EXPECT_FALSE(dlg.IsTimerArmed(kSdPreviewTimer));
  }
  EXPECT_EQ(dlg.m_Previewed, 1);
  EXPECT_EQ(Doc().Params.sleepDstrb.airFlow.values[4], 30.0);
  ASSERT_TRUE(dlg.ClickButton(ui::IDCANCEL));
  EXPECT_EQ(BlockImage(), block);
  EXPECT_EQ(Doc().RecognitionTables.RespRcgnz(), resp);
  EXPECT_EQ(Doc().RecognitionTables.LMRcgnz(), legs);
  ASSERT_NE(Doc().EpochTables.Rprsnt(kRprsntSpO2, kEpochs - 1), nullptr);
  EXPECT_EQ(Doc().EpochTables.Rprsnt(kRprsntSpO2, kEpochs - 1)[0], lastSpO2);
}

// "Cursor..." of air flow: the window hides, a stretch marked on the air flow gives the level
// and the 100 % amplitude; OK shows them on the page, Cancel puts back the former values and
// leaves the pick on.
TEST_F(SetupWindow, LevelMeasuredOnAMarkedStretchOfAirflow) {
  ScreenNight();
  LyrDlgScreening& screening = OpenScreening();
  screening.Item(IDC_SCR_LIST).SetCurSel(0);
  screening.CheckDlgButton(IDC_SCR_CONTINUATION, 1);  // no question of the Screening window's own
  ASSERT_TRUE(screening.ClickButton(IDC_SCR_SLEEP_DISTURBANCE));
  LyrRawDlgSleepDisturbanceParent& dlg = *Frame().SleepDisturbanceParentDlg;
  SleepDstrbParam& p = Doc().Params.sleepDstrb;
  const double level = p.airFlow.values[3];
  const double amplitude = p.airFlow.values[2];

  ASSERT_TRUE(dlg.m_RespPage.ClickButton(1437));
  EXPECT_EQ(PreviewKind, 11);
  EXPECT_EQ(RawPreviewMode, 1);
  EXPECT_FALSE(dlg.IsWindowVisible());

  std::string kindName, leftLabel, rightLabel;
  bool rightEnabled = false;
  testhooks::ScriptDialog(IDD_SLEEP_DISTURBANCE_CNFRM, [&](ui::Dialog& d) {
    kindName = d.GetDlgItemText(IDC_SDC_KIND);
    leftLabel = d.GetDlgItemText(IDC_SDC_LEFT_LABEL);
    rightLabel = d.GetDlgItemText(IDC_SDC_RIGHT_LABEL);
    rightEnabled = d.Item(IDC_SDC_RIGHT_VALUE).IsEnabled();
    d.ClickButton(ui::IDOK);
  });
  Mark(kAirflow, 40, 600);
  ASSERT_EQ(testhooks::ShownDialogs(), std::vector<int>{IDD_SLEEP_DISTURBANCE_CNFRM});
  EXPECT_EQ(kindName, "Airflow");
  EXPECT_EQ(leftLabel, "Peak detect level");
  EXPECT_EQ(rightLabel, "100% Amp.");
  EXPECT_TRUE(rightEnabled);
  EXPECT_GT(p.airFlow.values[2], 0.0);
  EXPECT_DOUBLE_EQ(p.airFlow.values[3], p.airFlow.values[2] * 0.25);
  EXPECT_EQ(dlg.m_RespPage.GetDlgItemText(1297), sdpage::Format("%.3f", p.airFlow.values[3]));
  EXPECT_EQ(dlg.m_RespPage.GetDlgItemText(1295), sdpage::Format("%.3f", p.airFlow.values[2]));
  EXPECT_TRUE(dlg.IsWindowVisible());
  EXPECT_EQ(RawPreviewMode, 0);
  EXPECT_NE(p.airFlow.values[2], amplitude);

  // Cancel: the values as before, the pick goes on.
  const double measuredLevel = p.airFlow.values[3];
  ASSERT_TRUE(dlg.m_RespPage.ClickButton(1437));
  testhooks::ScriptDialog(IDD_SLEEP_DISTURBANCE_CNFRM, [](ui::Dialog& d) { d.ClickButton(ui::IDCANCEL); });
  Mark(kAirflow, 100, 300);
  EXPECT_EQ(p.airFlow.values[3], measuredLevel);
  EXPECT_EQ(RawPreviewMode, 1);
  EXPECT_FALSE(dlg.IsWindowVisible());
  (void)level;

  // The leg kinds measure a normal detect level only.
  ASSERT_TRUE(dlg.m_MovePage.ClickButton(1443));
  testhooks::Reset();
  testhooks::ScriptDialog(IDD_SLEEP_DISTURBANCE_CNFRM, [&](ui::Dialog& d) {
    kindName = d.GetDlgItemText(IDC_SDC_KIND);
    leftLabel = d.GetDlgItemText(IDC_SDC_LEFT_LABEL);
    rightEnabled = d.Item(IDC_SDC_RIGHT_VALUE).IsEnabled();
    d.ClickButton(ui::IDOK);
  });
  Mark(kLeg, 40, 600);
  EXPECT_EQ(kindName, "LM left");
  EXPECT_EQ(leftLabel, "Normal detect level");
  EXPECT_FALSE(rightEnabled);
  EXPECT_EQ(dlg.m_MovePage.GetDlgItemText(1319), sdpage::Format("%.3f", p.legLeft.values[0]));
}

// "Thresh&old...": the confirmation window tunes the arousal threshold on the shown page;
// Cancel gives back the threshold and the night's arousal tables.
TEST_F(SetupWindow, ArousalThresholdTunedOnTheShownPage) {
  ScreenNight();
  SleepDstrbTables& t = Doc().RecognitionTables;
  const std::vector<std::uint8_t> arousal = t.ArousalRecognize();
  const std::vector<std::uint8_t> peaks = t.ArousalPeakNum();
  ASSERT_FALSE(peaks.empty());
  Doc().Params.sleepDstrb.arousalThreshold = 3;
  LyrDlgScreening& screening = OpenScreening();
  screening.Item(IDC_SCR_LIST).SetCurSel(0);
  screening.CheckDlgButton(IDC_SCR_CONTINUATION, 1);  // no question of the Screening window's own
  ASSERT_TRUE(screening.ClickButton(IDC_SCR_SLEEP_DISTURBANCE));
  LyrRawDlgSleepDisturbanceParent& dlg = *Frame().SleepDisturbanceParentDlg;
  ASSERT_TRUE(dlg.m_MovePage.ClickButton(1818));
  LyrRawDlgSleepDisturbanceCnfrm* tuner = dlg.m_MovePage.ThresholdDlg;
  ASSERT_NE(tuner, nullptr);
  EXPECT_TRUE(tuner->IsWindowVisible());
  EXPECT_FALSE(dlg.IsWindowVisible());
  EXPECT_EQ(ArousalThresholdPreview, 1);
  EXPECT_TRUE(RawPreview.thresholdConfirmationRunning);
  EXPECT_EQ(tuner->GetDlgItemText(IDC_SDC_RIGHT_LABEL), "Threshold level");
  EXPECT_EQ(tuner->GetDlgItemText(IDC_SDC_RIGHT_VALUE), "3");
  EXPECT_FALSE(tuner->Item(IDC_SDC_LEFT_VALUE).IsEnabled());
  EXPECT_EQ(t.ArousalPeakNum().size(), static_cast<std::size_t>(kPerPage * 300)) << "one page of counters";

  const auto spin = [&](int pos) {
    tuner->Item(IDC_SDC_SPIN).SetPos(pos);
    ui::NotifyHeader h{IDC_SDC_SPIN, ui::UDN_DELTAPOS};
    tuner->SendMessage(ui::WM_NOTIFY, 0, reinterpret_cast<std::intptr_t>(&h));
  };
  spin(1);
  EXPECT_EQ(Doc().Params.sleepDstrb.arousalThreshold, 1);
  EXPECT_EQ(tuner->GetDlgItemText(IDC_SDC_RIGHT_VALUE), "1");
  const std::vector<std::uint8_t> low = t.ArousalRecognize();
  spin(255);
  EXPECT_EQ(Doc().Params.sleepDstrb.arousalThreshold, 255);
  EXPECT_LE(std::count(t.ArousalRecognize().begin(), t.ArousalRecognize().end(), 1),
            std::count(low.begin(), low.end(), 1));

  ASSERT_TRUE(tuner->ClickButton(ui::IDCANCEL));
  testhooks::ProcessMessages();
  EXPECT_EQ(dlg.m_MovePage.ThresholdDlg, nullptr);
  EXPECT_EQ(Doc().Params.sleepDstrb.arousalThreshold, 3);
  EXPECT_EQ(ArousalThresholdPreview, 0);
  EXPECT_FALSE(RawPreview.thresholdConfirmationRunning);
  EXPECT_TRUE(dlg.IsWindowVisible());
  EXPECT_EQ(t.ArousalRecognize(), arousal);
  EXPECT_EQ(t.ArousalPeakNum(), peaks);

  // OK keeps the tuned threshold on the page and in the block, the night's tables still back.
  ASSERT_TRUE(dlg.m_MovePage.ClickButton(1818));
  tuner = dlg.m_MovePage.ThresholdDlg;
  ASSERT_NE(tuner, nullptr);
  spin(7);
  ASSERT_TRUE(tuner->ClickButton(ui::IDOK));
  testhooks::ProcessMessages();
  EXPECT_EQ(Doc().Params.sleepDstrb.arousalThreshold, 7);
  EXPECT_EQ(dlg.m_MovePage.GetDlgItemText(1820), "7");
  EXPECT_EQ(t.ArousalPeakNum(), peaks);
}

}  // namespace
