// The analysis settings windows beside the wave display: the commands that open them, what
// the frame does when they close, and the Screening window's buttons that edit a condition
// through them; the "Other" settings by command and from the Screening window.
#include <cstdlib>
#include <filesystem>

#include "app/frame/frame_globals.h"
#include "app/frame/resume_file.h"
#include "app/raw/raw_dummy_view.h"
#include "app/video/cvp_info_exchange.h"
#include "app/settings/lyr_raw_dlg_other.h"
#include "app/settings/lyr_raw_dlg_sleep_disturbance_parent.h"
#include "app/settings/lyr_raw_dlg_wave_form_recognition.h"
#include "platform/ui/command.h"
#include "screening_fixture.h"

namespace {

constexpr std::uint32_t kCmdWaveForm = 32800;
constexpr std::uint32_t kCmdSleepDisturbance = 32801;
constexpr std::uint32_t kCmdOther = 33011;

}  // namespace

TEST_F(ScreeningTest, WaveFormRecognitionCommandAllowsOneWindowAndItsCloseEndsThePreview) {
  const ui::CmdUI idle = ui::QueryCommandState(Frame(), kCmdWaveForm);
  EXPECT_TRUE(idle.IsEnabled());
  EXPECT_EQ(idle.Checked(), 0);

  PreviewKind = 4;
  ASSERT_TRUE(ui::ExecuteCommand(Frame(), kCmdWaveForm));
  LyrRawDlgWaveFormRecognition* dlg = Frame().WaveFormRecognitionDlg;
  ASSERT_NE(dlg, nullptr);
  EXPECT_EQ(dlg->m_pDoc, &Doc());
  EXPECT_EQ(PreviewKind, 0);
  EXPECT_TRUE(dlg->IsWindowVisible());
  const ui::CmdUI open = ui::QueryCommandState(Frame(), kCmdWaveForm);
  EXPECT_FALSE(open.IsEnabled());
  EXPECT_EQ(open.Checked(), 1);

  PreviewKind = 4;
  RawPreviewMode = 1;
  ASSERT_TRUE(dlg->ClickButton(ui::IDCANCEL));
  EXPECT_EQ(Frame().WaveFormRecognitionDlg, nullptr);
  EXPECT_EQ(PreviewKind, 0);
  EXPECT_EQ(RawPreviewMode, 0);
  testhooks::ProcessMessages();
  EXPECT_TRUE(ui::QueryCommandState(Frame(), kCmdWaveForm).IsEnabled());
}

// "Modify Sleep Disturbance...": nothing to recognise before a page was screened, one setup
// window at a time, none beside the Screening window or a pending workspace operation.
TEST_F(ScreeningTest, SleepDisturbanceCommandFollowsTheScreenedRangeAndTheOpenWindows) {
  struct Case {
    const char* what;
    int lastScreened;
    bool screeningOpen;
    bool setupOpen;
    int pending;
    bool enabled;
    int checked;
  };
  for (const Case c : {Case{"nothing screened", -1, false, false, 0, false, 0},
                       Case{"screened", 10, false, false, 0, true, 0},
                       Case{"pending workspace operation", 10, false, false, 1, false, 0},
                       Case{"Screening window open", 10, true, false, 0, false, 1},
                       Case{"setup window open", 10, false, true, 0, false, 1}}) {
    SCOPED_TRACE(c.what);
    Doc().LastScreenedEpoch = c.lastScreened;
    Frame().WorkspaceView()->PendingFlag = c.pending;
    if (c.screeningOpen) OpenScreening();
    if (c.setupOpen) Frame().OpenDlgDisturbFormRecognition(0);
    const ui::CmdUI cmd = ui::QueryCommandState(Frame(), kCmdSleepDisturbance);
    EXPECT_EQ(cmd.IsEnabled(), c.enabled);
    EXPECT_EQ(cmd.Checked(), c.checked);
    if (Frame().ScreeningDlg != nullptr) Frame().CloseScreeningSettingDlgs();
    if (Frame().SleepDisturbanceParentDlg != nullptr) Frame().CloseSleepDisturbanceParentDlg(2);
    testhooks::ProcessMessages();
  }
  Frame().WorkspaceView()->PendingFlag = 1;
  EXPECT_FALSE(ui::QueryCommandState(Frame(), 32808).IsEnabled()) << "nor the Logic window";
  Frame().WorkspaceView()->PendingFlag = 0;

  Doc().LastScreenedEpoch = 10;
  ASSERT_TRUE(ui::ExecuteCommand(Frame(), kCmdSleepDisturbance));
  ASSERT_NE(Frame().SleepDisturbanceParentDlg, nullptr);
  EXPECT_EQ(Frame().SleepDisturbanceParentDlg->m_Caller, 0);
  ASSERT_TRUE(Frame().SleepDisturbanceParentDlg->ClickButton(ui::IDOK));
  EXPECT_EQ(Frame().SleepDisturbanceParentDlg, nullptr);
}

// The Screening window's "Waveform recognition..." and "Sleep disturbance..." hide it while
// their window is open; OK hands the document's block to the selected condition, Cancel
// only brings the Screening window back.
TEST_F(ScreeningTest, SettingsWindowsOpenedFromScreeningHandTheirBlockToTheSelectedCondition) {
  for (const int button : {IDC_SCR_WAVEFORM, IDC_SCR_SLEEP_DISTURBANCE}) {
    SCOPED_TRACE(button);
    const bool waveform = button == IDC_SCR_WAVEFORM;
    LyrDlgScreening& dlg = OpenScreening();
    ASSERT_TRUE(dlg.ClickButton(IDC_SCR_ADD));
    dlg.Item(IDC_SCR_LIST).SetCurSel(1);
    const auto window = [&]() -> ui::Dialog* {
      return waveform ? static_cast<ui::Dialog*>(Frame().WaveFormRecognitionDlg)
                      : static_cast<ui::Dialog*>(Frame().SleepDisturbanceParentDlg);
    };
    const auto stored = [&](int k) {
      const ScreeningCondition& c = Doc().ScreeningConditions[static_cast<std::size_t>(k)];
      return waveform ? c.waveform.emgChannel : c.sleepDisturbance.airFlow.channel;
    };
    const auto set = [&](int value) {
      if (waveform) Doc().Params.waveForm.emgChannel = value;
      else Doc().Params.sleepDstrb.airFlow.channel = value;
    };
    const int flag = waveform ? LyrDlgScreening::kFlagWaveform : LyrDlgScreening::kFlagSleepDisturbance;
    const int before = stored(1);

    // Cancel: nothing is taken over.
    ASSERT_TRUE(dlg.ClickButton(button));
    ASSERT_NE(window(), nullptr);
    EXPECT_FALSE(dlg.IsWindowVisible());
    EXPECT_FALSE(Frame().TrendView()->IsWindowEnabled()) << "the panes wait for the settings window";
    EXPECT_FALSE(Frame().WorkspaceView()->IsWindowEnabled());
    if (!waveform) {
      EXPECT_EQ(Frame().SleepDisturbanceParentDlg->m_Caller, 1);
    }
    set(5);
    ASSERT_TRUE(window()->ClickButton(ui::IDCANCEL));
    EXPECT_EQ(window(), nullptr);
    EXPECT_TRUE(dlg.IsWindowVisible());
    EXPECT_TRUE(Frame().TrendView()->IsWindowEnabled());
    EXPECT_TRUE(Frame().WorkspaceView()->IsWindowEnabled());
    EXPECT_EQ(stored(1), before);
    EXPECT_EQ(dlg.SetFlagOf(1, static_cast<LyrDlgScreening::SetFlag>(flag)), 0);

    // OK: the block goes into the selected condition only.
    ASSERT_TRUE(dlg.ClickButton(button));
    set(7);
    // The changed channel throws screened results away, after the question.
    if (!waveform) testhooks::AnswerMessageBox(ui::IDOK);
    ASSERT_TRUE(window()->ClickButton(ui::IDOK));
    testhooks::ProcessMessages();
    EXPECT_TRUE(dlg.IsWindowVisible());
    EXPECT_EQ(stored(1), 7);
    EXPECT_NE(stored(0), 7);
    EXPECT_EQ(dlg.SetFlagOf(1, static_cast<LyrDlgScreening::SetFlag>(flag)), 1);
    EXPECT_EQ(dlg.Item(IDC_SCR_LIST).GetItemText(1, flag + 1), "Set");
    Frame().CloseScreeningSettingDlgs();
    testhooks::ProcessMessages();
  }
}

TEST_F(ScreeningTest, WaveFormRecognitionRestartOpensBothWindowsAnew) {
  OpenScreening();
  ASSERT_TRUE(Frame().ScreeningDlg->ClickButton(IDC_SCR_WAVEFORM));
  ASSERT_NE(Frame().WaveFormRecognitionDlg, nullptr);
  const LyrDlgScreening* first = Frame().ScreeningDlg;
  Frame().CloseWaveFormRecognitionDlg(1000);
  ASSERT_NE(Frame().ScreeningDlg, nullptr);
  EXPECT_NE(Frame().ScreeningDlg, first);
  EXPECT_TRUE(Frame().ScreeningDlg->IsWindowVisible());
  ASSERT_NE(Frame().WaveFormRecognitionDlg, nullptr);
  Frame().CloseWaveFormRecognitionDlg(2);
  testhooks::ProcessMessages();
}

// Command 33011: after OK the page spectra follow the band table and the settings file is
// written; Cancel changes nothing.
TEST_F(ScreeningTest, OtherSettingsCommandKeepsItsSettingsOnlyAfterOk) {
  std::filesystem::remove(ResumeFile::Path());
  Doc().Params.fftBand.channelSwitch[0] = 1;
  Doc().Params.fftBand.bandCount = 1;
  Doc().Params.fftBand.fftPoints = 512;
  Doc().Params.fftPage.epochFftPoints = 128;

  testhooks::ScriptDialog(IDD_OTHER_SETTINGS, [](ui::Dialog& d) { d.EndDialog(ui::IDCANCEL); });
  ASSERT_TRUE(ui::ExecuteCommand(Frame(), kCmdOther));
  EXPECT_EQ(Doc().Params.fftPage.epochFftPoints, 128);
  EXPECT_FALSE(std::filesystem::exists(ResumeFile::Path()));

  testhooks::ScriptDialog(IDD_OTHER_SETTINGS, [](ui::Dialog& d) { ASSERT_TRUE(d.ClickButton(ui::IDOK)); });
  ASSERT_TRUE(ui::ExecuteCommand(Frame(), kCmdOther));
  ASSERT_EQ(testhooks::ShownDialogs().size(), 2u);
  EXPECT_EQ(Doc().Params.fftPage.epochFftPoints, 512);
  EXPECT_TRUE(std::filesystem::exists(ResumeFile::Path()));
}

// "Other..." of the Screening window: a changed setting throws screened results away only
// after the question; the condition then takes the four blocks of the "Other" settings.
TEST_F(ScreeningTest, OtherFromScreeningAsksBeforeDroppingResultsAndFillsTheCondition) {
  struct Case {
    const char* what;
    int changed;
    int answer;  // 0: no question expected
    bool stored;
  };
  for (const Case c : {Case{"changed, results dropped", 1, ui::IDOK, true},
                       Case{"changed, results kept", 1, ui::IDCANCEL, false},
                       Case{"nothing changed", 0, 0, true}}) {
    SCOPED_TRACE(c.what);
    Doc().LastScreenedEpoch = 9;
    LyrDlgScreening& dlg = OpenScreening();
    ASSERT_TRUE(dlg.ContinuationAllowed());
    testhooks::Reset();
    testhooks::ScriptDialog(IDD_OTHER_SETTINGS, [&c, this](ui::Dialog& d) {
      // A level set while the window is open counts as a change when OK is pressed.
      if (c.changed != 0) {
        Doc().Params.chDispScale.entries[2].word = 1;
        Doc().Params.chDispScale.entries[2].value = 250.0f;
      }
      ASSERT_TRUE(d.ClickButton(ui::IDOK));
      EXPECT_EQ(static_cast<LyrRawDlgOther&>(d).m_ArtifactCrossChanged, c.changed);
    });
    if (c.answer != 0) testhooks::AnswerMessageBox(c.answer);
    ASSERT_TRUE(dlg.ClickButton(IDC_SCR_OTHER));
    EXPECT_EQ(testhooks::ShownMessageBoxes().size(), c.answer != 0 ? 1u : 0u);
    EXPECT_EQ(Doc().LastScreenedEpoch, c.answer == ui::IDOK ? -1 : 9);
    EXPECT_EQ(Doc().ScreeningConditions[0].artifact.entries[2].value == 250.0f, c.stored && c.changed != 0);
    EXPECT_EQ(dlg.SetFlagOf(0, LyrDlgScreening::kFlagOther), c.stored ? 1 : 0);
    EXPECT_EQ(dlg.ContinuationAllowed(), !c.stored);
    Frame().CloseScreeningSettingDlgs();
    testhooks::ProcessMessages();
    Doc().Params.chDispScale.entries[2].value = 0.0f;
  }
}

TEST_F(ScreeningTest, StagingMovesTheHypnogramAndTrendGraphsToEachStagedEpoch) {
  LyrTrendDummyView* trend = Frame().TrendView();
  ASSERT_NE(trend, nullptr);
  ASSERT_TRUE(ui::ExecuteCommand(Frame(), 33012));
  for (const auto* area : {&trend->StageArea.ScrollEpoch, &trend->TrendArea.ScrollEpoch})
    EXPECT_EQ(*area, kPerPage - 1) << "the page's last epoch, by its index in the page";
  EXPECT_EQ(trend->StageArea.ScrollFlag, 1);
  EXPECT_EQ(trend->TrendArea.ScrollFlag, 1);
  EXPECT_EQ(trend->TrendArea.ScrollMode, 0);
  Frame().FinishScreening();
}

// A model learned while the Screening window was open goes when the frame closes the window,
// in learning mode 1 only.
TEST_F(ScreeningTest, ClosingTheScreeningWindowFreesTheModelLearnedForIt) {
  for (const std::uint16_t mode : {std::uint16_t{1}, std::uint16_t{2}}) {
    SCOPED_TRACE(mode);
    LearningSampleMode = mode;
    OpenScreening();
    Doc().AutoStaging.SetModels(std::vector<LyrStagingModel>(2));
    Frame().CloseScreeningSettingDlgs();
    testhooks::ProcessMessages();
    EXPECT_EQ(Doc().AutoStaging.TreeCount(), mode == 1 ? 0 : 2);
    Doc().AutoStaging.FreeModel();
  }
}

// Only the current-page row stages, and only while a run is active.
TEST_F(ScreeningTest, CurrentPageRowStagesItsPageOnlyDuringARun) {
  ASSERT_TRUE(ui::ExecuteCommand(Frame(), 33012));
  Frame().FinishScreening();
  ASSERT_EQ(Doc().CurrentPage, 0);
  LyrRawDummyView* raw = Frame().RawView();
  ASSERT_NE(raw, nullptr);
  LyrRawAreaView* current = raw->Row(2)->AreaView();
  LyrRawAreaView* other = raw->Row(1)->AreaView();
  ASSERT_EQ(current->GetDocument(), &Doc()) << "the run's step goes through the row";
  ASSERT_EQ(Doc().EpochTables.SetStage(0, 9), 1);

  current->AutoStagingTransaction();
  EXPECT_EQ(Doc().EpochTables.GetStage(0, 0, 0), 9) << "no run";
  ScreeningRunning = 1;
  other->AutoStagingTransaction();
  EXPECT_EQ(Doc().EpochTables.GetStage(0, 0, 0), 9) << "another row";
  current->AutoStagingTransaction();
  EXPECT_NE(Doc().EpochTables.GetStage(0, 0, 0), 9);
  EXPECT_EQ(Doc().EpochTables.GetStage(0, 0, 1), 9) << "the former code moves into the history";
  ScreeningRunning = 0;
}

// With the video player bound, a run sets the video's analysed span from the fastest
// channel's start offset over the analysed seconds.
TEST_F(ScreeningTest, StartingARunSetsTheVideosAnalysedSpan) {
  const char* bin = std::getenv("QLM_BIN_DIR");
  ASSERT_NE(bin, nullptr);
  std::filesystem::copy_file(std::string(bin) + "/" + kVideoPlayerLibraryName,
                             folder_->Path() + "/" + kVideoPlayerLibraryName);
  CVPInfoExchange* video = Frame().VideoController();
  ASSERT_NE(video, nullptr);
  ASSERT_EQ(video->LoadVideoDll(), 1);
  for (LyrChInfo& ch : Doc().ChInfo) ch.startOffset = static_cast<std::int32_t>(ch.rate) * 30;
  Doc().RecordSeconds = 1800;

  ASSERT_TRUE(ui::ExecuteCommand(Frame(), 33012));
  EXPECT_EQ(ScreeningRunning, 1);
  EXPECT_DOUBLE_EQ(video->AnalysisStartSeconds, 30.0);
  EXPECT_DOUBLE_EQ(video->AnalysisEndSeconds, 1830.0);
  EXPECT_EQ(video->RepositionAfterResultOpen(), 0) << "no video set is open";
  Frame().FinishScreening();
  video->UnloadVideoDll();
}
