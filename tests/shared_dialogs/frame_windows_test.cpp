// The main frame's window commands: update states, the analysis range round trip, the epoch
// jump and the fastest-channel helpers.
#include "app/document/screening_condition.h"
#include "app/frame/lyr_dlg_analysis_range.h"
#include "app/frame/program_settings.h"
#include "app/frame/lyr_dlg_small.h"
#include "app/frame/lyr_dlg_time_point.h"
#include "app/frame/window_command_states.h"
#include "app_shell/app_fixture.h"
#include "platform/ui/command.h"

namespace {

class FrameWindows : public AppTest {
 protected:
  void Load() {
    ASSERT_TRUE(Start());
    CQLM2_AnalyzerDoc& d = Doc();
    d.RecordInfo.channelCount = 2;
    d.ChInfo[0].rate = 100;
    d.ChInfo[0].dataCount = 100u * 3600u;
    d.ChInfo[1].rate = 200;
    d.ChInfo[1].dataCount = 200u * 3600u;
    d.ChInfo[0].startOffset = 100 * 60;
    d.ChInfo[1].startOffset = 200 * 60;
    d.RecordSeconds = 1800;
    EpochSeconds = 30;
    DocumentLoaded = 1;
  }
};

TEST_F(FrameWindows, CommandsFollowTheirUpdateConditions) {
  Load();
  CMainFrame& f = Frame();
  const std::uint32_t ids[] = {ID_DATA_PROCESSING, ID_ANALYSIS_RANGE, ID_WAVE_DETECT_LIST, ID_PARAMETER_OUTPUT,
                               ID_RESULT_FILE_COMPARE, ID_AUTO_SCROLL};
  auto states = [&] {
    std::string s;
    for (std::uint32_t id : ids) s += ui::QueryCommandState(f, id).IsEnabled() ? '1' : '0';
    return s;
  };
  EXPECT_EQ(states(), "111111");
  ScreeningRunning = 1;
  EXPECT_EQ(states(), "010010");
  EXPECT_EQ(ui::QueryCommandState(f, ID_AUTO_SCROLL).Checked(), 0);
  ScreeningRunning = 0;
  DocumentLoaded = 0;
  EXPECT_EQ(states(), "010010");
  DocumentLoaded = 1;
  f.VideoLibraryBound = 1;
  f.VideoPaneBusy = 1;
  EXPECT_FALSE(ui::QueryCommandState(f, ID_AUTO_SCROLL).IsEnabled());
}

TEST_F(FrameWindows, AnalysisRangeCancelRestoresAndOkAppliesTheRange) {
  Load();
  CMainFrame& f = Frame();
  CQLM2_AnalyzerDoc& d = Doc();
  ASSERT_TRUE(ui::ExecuteCommand(f, ID_ANALYSIS_RANGE));
  ASSERT_NE(f.AnalysisRangeDlg, nullptr);
  // While choosing, the whole recording is analysed.
  EXPECT_EQ(d.ChInfo[1].startOffset, 0);
  EXPECT_EQ(d.RecordSeconds, 3600);
  const ui::CmdUI open = ui::QueryCommandState(f, ID_ANALYSIS_RANGE);
  EXPECT_FALSE(open.IsEnabled());
  EXPECT_EQ(open.Checked(), 1);
  RawPreviewMode = 3;
  f.AnalysisRangeDlg->ClickButton(ui::IDCANCEL);
  EXPECT_EQ(f.AnalysisRangeDlg, nullptr);
  testhooks::ProcessMessages();
  EXPECT_EQ(d.ChInfo[1].startOffset, 200 * 60);
  EXPECT_EQ(d.RecordSeconds, 1800);
  EXPECT_EQ(RawPreviewMode, 0);
  EXPECT_TRUE(ui::QueryCommandState(f, ID_ANALYSIS_RANGE).IsEnabled());

  ASSERT_TRUE(ui::ExecuteCommand(f, ID_ANALYSIS_RANGE));
  LyrDlgAnalysisRange* dlg = f.AnalysisRangeDlg;
  ASSERT_NE(dlg, nullptr);
  dlg->StartPanel()->SetSeconds(600);
  dlg->EndPanel()->SetSeconds(1325);
  dlg->ClickButton(ui::IDOK);
  testhooks::ProcessMessages();
  EXPECT_EQ(f.AnalysisRangeDlg, nullptr);
  EXPECT_EQ(d.ChInfo[0].startOffset, 100 * 600);
  EXPECT_EQ(d.RecordSeconds, 720);
  EXPECT_EQ(d.EpochTables.EpochCount(), 24);
  EXPECT_EQ(d.CurrentEpoch, 0);
  EXPECT_EQ(d.SelectedEpoch, -1);
}

TEST_F(FrameWindows, EpochJumpAndFastestChannels) {
  Load();
  CMainFrame& f = Frame();
  testhooks::ScriptDialog(IDD_EPOCH_JUMP, [](ui::Dialog& dlg) {
    dlg.SetDlgItemText(IDC_EJ_EPOCH, "59");
    dlg.ClickButton(ui::IDOK);
  });
  ASSERT_TRUE(ui::ExecuteCommand(f, ID_EPOCH_JUMP));
  EXPECT_EQ(Doc().CurrentEpoch, 59);

  std::uint32_t rate = 7;
  std::int16_t channel = 7;
  EXPECT_EQ(f.GetMaxShownChannelRate(&rate, &channel), 1);
  EXPECT_EQ(rate, 200u);
  EXPECT_EQ(channel, 1);
  Doc().ChInfo[0].show = 0;
  Doc().ChInfo[1].show = 0;
  EXPECT_EQ(f.GetMaxShownChannelRate(&rate, &channel), 0);
  EXPECT_EQ(rate, 0u);
  EXPECT_EQ(channel, -1);
  EXPECT_EQ(f.GetMaxChannelRate(&rate, &channel), 1);
  EXPECT_EQ(channel, 1);
}

TEST_F(FrameWindows, CancelledAnalysisRangeKeepsTheStagesAndTablesOfTheRestoredRange) {
  Load();
  CMainFrame& f = Frame();
  CQLM2_AnalyzerDoc& d = Doc();
  ASSERT_NE(d.Init4ChangeEpochTime(d.GetDivNum(EpochSeconds), EpochSeconds, 2, 1), 0);
  ASSERT_EQ(d.EpochTables.EpochCount(), 60);
  d.CurrentEpoch = 9;
  d.CurrentPage = 2;
  ASSERT_TRUE(ui::ExecuteCommand(f, ID_ANALYSIS_RANGE));
  // Opening shows the whole recording from its first epoch.
  EXPECT_EQ(d.EpochTables.EpochCount(), 120);
  EXPECT_EQ(d.CurrentEpoch, 0);
  ASSERT_EQ(d.EpochTables.SetStage(5, 3), 1);
  f.AnalysisRangeDlg->ClickButton(ui::IDCANCEL);
  testhooks::ProcessMessages();
  EXPECT_EQ(d.RecordSeconds, 1800);
  EXPECT_EQ(d.EpochTables.EpochCount(), 60);
  EXPECT_EQ(d.EpochTables.GetStage(0, 5, 0), 3);
  EXPECT_EQ(d.CurrentEpoch, 0);
  EXPECT_EQ(d.CurrentPage, 0);
}

TEST_F(FrameWindows, AnalysisRangeAsksBeforeUnsavedHandScoringIsRemade) {
  Load();
  CMainFrame& f = Frame();
  CQLM2_AnalyzerDoc& d = Doc();
  ASSERT_NE(d.Init4ChangeEpochTime(d.GetDivNum(EpochSeconds), EpochSeconds, 2, 1), 0);
  ASSERT_EQ(d.EpochTables.SetStage(5, 3), 1);
  ResultModifiedState = 2;
  testhooks::Reset();

  // Cancel: no range window, the scored tables stay as they are.
  testhooks::AnswerMessageBox(ui::IDCANCEL);
  ASSERT_TRUE(ui::ExecuteCommand(f, ID_ANALYSIS_RANGE));
  EXPECT_EQ(f.AnalysisRangeDlg, nullptr);
  ASSERT_EQ(testhooks::ShownMessageBoxes().size(), 1u);
  EXPECT_EQ(testhooks::ShownMessageBoxes()[0].text, "The analysis data was changed. Do you save it in an analysis file?");
  EXPECT_EQ(d.EpochTables.EpochCount(), 60);
  EXPECT_EQ(d.EpochTables.GetStage(0, 5, 0), 3);
  EXPECT_EQ(ResultModifiedState, 2);

  // No: the scoring is given up on purpose and the range window opens.
  testhooks::AnswerMessageBox(ui::IDNO);
  ASSERT_TRUE(ui::ExecuteCommand(f, ID_ANALYSIS_RANGE));
  ASSERT_NE(f.AnalysisRangeDlg, nullptr);
  EXPECT_EQ(testhooks::ShownMessageBoxes().size(), 2u);
  f.AnalysisRangeDlg->ClickButton(ui::IDCANCEL);
  testhooks::ProcessMessages();

  // Nothing unsaved: no question.
  ResultModifiedState = 0;
  ASSERT_TRUE(ui::ExecuteCommand(f, ID_ANALYSIS_RANGE));
  ASSERT_NE(f.AnalysisRangeDlg, nullptr);
  EXPECT_EQ(testhooks::ShownMessageBoxes().size(), 2u);
  f.AnalysisRangeDlg->ClickButton(ui::IDCANCEL);
  testhooks::ProcessMessages();
}

TEST_F(FrameWindows, ScreeningConditionIntoTheDocument) {
  Load();
  CMainFrame& f = Frame();
  CQLM2_AnalyzerDoc& d = Doc();
  ASSERT_NE(d.Init4ChangeEpochTime(d.GetDivNum(EpochSeconds), EpochSeconds, 2, 1), 0);
  ScreeningCondition& c = d.ScreeningConditions[1];
  c.rangeSeconds = 900;
  c.channelStart = {};
  c.channelStart[0] = 100 * 30;
  c.channelStart[1] = 200 * 30;
  d.CurrentEpoch = 7;
  d.EpochTables.SetStage(3, 2);

  // A parameter-only run keeps the stages; the view goes to the first epoch.
  ASSERT_EQ(f.ApplyScreeningToCurrentFile(1, 0, 0), 1);
  EXPECT_EQ(d.ChInfo[1].startOffset, 200 * 30);
  EXPECT_EQ(d.EpochTables.EpochCount(), 30);
  EXPECT_EQ(d.EpochTables.GetStage(0, 3, 0), 2);
  EXPECT_EQ(d.CurrentEpoch, 0);
  EXPECT_EQ(d.SelectedEpoch, -1);
  // A staging run starts from fresh records.
  ASSERT_EQ(f.ApplyScreeningToCurrentFile(1, 0, 1), 1);
  EXPECT_EQ(d.EpochTables.GetStage(0, 3, 0), 0);
  // Resuming keeps the tables and the current epoch.
  d.EpochTables.SetStage(3, 4);
  d.CurrentEpoch = 12;
  ASSERT_EQ(f.ApplyScreeningToCurrentFile(1, 1, 1), 1);
  EXPECT_EQ(d.EpochTables.GetStage(0, 3, 0), 4);
  EXPECT_EQ(d.CurrentEpoch, 12);
}

}  // namespace
