// The Screening window's list of conditions, driven by control id: opening, Add and Remove,
// the settings windows it opens and takes back, and the commands beside it.
#include "app/frame/frame_globals.h"
#include "platform/ui/command.h"
#include "screening_fixture.h"

namespace {

std::string Cell(const LyrDlgScreening& dlg, int row, int col) { return dlg.Item(IDC_SCR_LIST).GetItemText(row, col); }

}  // namespace

TEST_F(ScreeningTest, OpeningFillsEveryConditionFromTheSettingsInForce) {
  Doc().Params.logic.sets[0][0].stage = 7;
  Doc().Params.sleepDstrb.airFlow.channel = 6;
  LyrDlgScreening& dlg = OpenScreening();
  for (int k = 0; k < kMaxScreeningConditions; ++k) {
    EXPECT_EQ(Doc().ScreeningConditions[static_cast<std::size_t>(k)].logic.sets[0][0].stage, 7) << k;
    EXPECT_EQ(Doc().ScreeningConditions[static_cast<std::size_t>(k)].sleepDisturbance.airFlow.channel, 6) << k;
  }
  ASSERT_EQ(dlg.Item(IDC_SCR_LIST).GetCount(), 1);
  EXPECT_EQ(Cell(dlg, 0, 0), "  1");
  EXPECT_EQ(Cell(dlg, 0, 2), "-");
  EXPECT_EQ(Cell(dlg, 0, 6), "-");
  EXPECT_EQ(dlg.Item(IDC_SCR_LIST).GetCurSel(), 0);
  EXPECT_FALSE(dlg.ContinuationAllowed()) << "nothing screened yet";
  EXPECT_FALSE(dlg.Item(IDC_SCR_CONTINUATION).IsEnabled());
  EXPECT_FALSE(dlg.Item(IDC_SCR_LEARNING).IsVisible()) << "learning mode 0 hides both learning controls";
  EXPECT_FALSE(dlg.Item(IDC_SCR_REMOVE).IsEnabled()) << "the last condition cannot be removed";
}

TEST_F(ScreeningTest, AddStopsAtEightAndRemoveMovesTheLaterConditionsUp) {
  LyrDlgScreening& dlg = OpenScreening();
  for (int k = 1; k < kMaxScreeningConditions; ++k) ASSERT_TRUE(dlg.ClickButton(IDC_SCR_ADD));
  EXPECT_EQ(Doc().ScreeningConditionCount, 8);
  EXPECT_FALSE(dlg.Item(IDC_SCR_ADD).IsEnabled());
  EXPECT_FALSE(dlg.ClickButton(IDC_SCR_ADD));
  EXPECT_EQ(dlg.Item(IDC_SCR_LIST).GetCount(), 8);

  for (int k = 0; k < 8; ++k) Doc().ScreeningConditions[static_cast<std::size_t>(k)].resultPath = "r" + std::to_string(k);
  dlg.Item(IDC_SCR_LIST).SetCurSel(2);
  ASSERT_TRUE(dlg.ClickButton(IDC_SCR_REMOVE));
  EXPECT_EQ(Doc().ScreeningConditionCount, 7);
  EXPECT_EQ(Doc().ScreeningConditions[2].resultPath, "r3");
  EXPECT_EQ(Doc().ScreeningConditions[6].resultPath, "r7");
  EXPECT_EQ(Doc().ScreeningConditions[7].resultPath, "") << "the freed slot is cleared";
  EXPECT_EQ(Doc().ScreeningConditions[7].logic.sets[0][0].stage, Doc().Params.logic.sets[0][0].stage)
      << "and holds the settings in force again, not zeros";
  EXPECT_EQ(Cell(dlg, 2, 6), "r3");
  EXPECT_TRUE(dlg.Item(IDC_SCR_ADD).IsEnabled());
}

TEST_F(ScreeningTest, LogicWindowOpenedFromScreeningHandsItsSettingsToTheSelectedCondition) {
  Doc().LastScreenedEpoch = 5;
  LyrDlgScreening& dlg = OpenScreening();
  ASSERT_TRUE(dlg.ContinuationAllowed());
  ASSERT_TRUE(dlg.ClickButton(IDC_SCR_ADD));
  dlg.Item(IDC_SCR_LIST).SetCurSel(1);

  // Screened results are thrown away only after the question.
  testhooks::AnswerMessageBox(ui::IDCANCEL);
  ASSERT_TRUE(dlg.ClickButton(IDC_SCR_LOGIC));
  EXPECT_EQ(Frame().LogicDlg, nullptr);
  EXPECT_EQ(Doc().LastScreenedEpoch, 5);

  testhooks::AnswerMessageBox(ui::IDOK);
  ASSERT_TRUE(dlg.ClickButton(IDC_SCR_LOGIC));
  ASSERT_NE(Frame().LogicDlg, nullptr);
  EXPECT_EQ(Doc().LastScreenedEpoch, -1);
  EXPECT_FALSE(dlg.IsWindowVisible());
  EXPECT_FALSE(ui::QueryCommandState(Frame(), 32808).IsEnabled());
  EXPECT_EQ(ui::QueryCommandState(Frame(), 32808).Checked(), 1);

  Doc().Params.logic.sets[0][1].stage = 9;
  Frame().CloseLogicDlg(1);
  testhooks::ProcessMessages();
  EXPECT_EQ(Frame().LogicDlg, nullptr);
  EXPECT_TRUE(dlg.IsWindowVisible());
  EXPECT_EQ(Doc().ScreeningConditions[1].logic.sets[0][1].stage, 9);
  EXPECT_NE(Doc().ScreeningConditions[0].logic.sets[0][1].stage, 9);
  EXPECT_EQ(dlg.SetFlagOf(1, LyrDlgScreening::kFlagLogic), 1);
  EXPECT_EQ(Cell(dlg, 1, 2), "Set");
  EXPECT_FALSE(dlg.ContinuationAllowed()) << "a changed condition cannot continue an earlier run";
}

TEST_F(ScreeningTest, FinishScreeningCommandFollowsTheRunState) {
  const ui::CmdUI idle = ui::QueryCommandState(Frame(), 32792);
  EXPECT_FALSE(idle.IsEnabled());
  EXPECT_EQ(idle.Checked(), 1);
  ASSERT_TRUE(ui::ExecuteCommand(Frame(), 33012));
  const ui::CmdUI running = ui::QueryCommandState(Frame(), 32792);
  EXPECT_TRUE(running.IsEnabled());
  EXPECT_EQ(running.Checked(), 0);
  ASSERT_TRUE(ui::ExecuteCommand(Frame(), 32792));
  EXPECT_EQ(ScreeningRunning, 0);
  EXPECT_FALSE(Frame().IsTimerArmed(kTimerScreeningStep));
}

// Closing the Logic window with OK and no Screening window re-scores every screened epoch:
// a one-condition list gives its stage to every epoch without a test, an epoch held as
// discarded keeps the +20 family, and epochs after the last screened one are left alone.
TEST_F(ScreeningTest, LogicWindowClosedWithOkRescoresTheScreenedEpochs) {
  const int type = Doc().Params.stageType.stageType;
  auto& set = Doc().Params.logic.sets[static_cast<std::size_t>(type)];
  for (auto& c : set) c.stage = 0;
  set[0].stage = 3;
  Doc().LastScreenedEpoch = 10;
  ASSERT_EQ(Doc().EpochTables.SetStage(3, 23), 1);
  ASSERT_EQ(Doc().EpochTables.SetStage(11, 4), 1);
  ResultModifiedState = 1;

  ASSERT_TRUE(ui::ExecuteCommand(Frame(), 32808));
  ASSERT_NE(Frame().LogicDlg, nullptr);
  Frame().CloseLogicDlg(1);
  testhooks::ProcessMessages();

  for (int e = 0; e <= 10; ++e) EXPECT_EQ(Doc().EpochTables.GetStage(0, e, 0), e == 3 ? 23 : 3) << e;
  EXPECT_EQ(Doc().EpochTables.GetStage(0, 3, 1), 23) << "the earlier code moves into the history";
  EXPECT_EQ(Doc().EpochTables.GetStage(0, 11, 0), 4);
  EXPECT_EQ(ResultModifiedState, 2);
  EXPECT_EQ(Frame().LogicDlg, nullptr);
}
