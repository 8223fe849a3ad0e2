#include "tests/navigation/nav_fixture.h"

#include "app/frame/lyr_dlg_analysis_range.h"
#include "platform/ui/command.h"

TEST_F(NavTest, AutoNextPageStepsOnEachTickAndStopsOnTheLastPage) {
  WaitingTime = 2;
  GoTo(0);
  EXPECT_EQ(Frame().StartAutoNextPage(), 1);
  EXPECT_EQ(Frame().AutoPagingMode, 4);
  EXPECT_EQ(Frame().TimerPeriod(kTimerAutoPaging), 2000);
  EXPECT_EQ(Page(), 0) << "the first step comes with the first tick";
  EXPECT_EQ(Frame().AutoScrollText, "[]");
  for (int expected = 1; expected <= 4; ++expected) {
    ASSERT_TRUE(testhooks::FireTimer(Frame(), kTimerAutoPaging));
    EXPECT_EQ(Page(), expected);
    EXPECT_EQ(Frame().TimerPeriod(kTimerAutoPaging), 2000);
  }
  ASSERT_TRUE(testhooks::FireTimer(Frame(), kTimerAutoPaging));
  EXPECT_EQ(Page(), 4);
  EXPECT_EQ(Frame().AutoPagingMode, 0);
  EXPECT_FALSE(Frame().IsTimerArmed(kTimerAutoPaging));
  EXPECT_EQ(Frame().AutoScrollText, ">>");
}

TEST_F(NavTest, AutoPagingByEpochWithNoWaitAndTheNewWaitingTime) {
  WaitingTime = 0;
  GoTo(kEpochs - 3);
  EXPECT_EQ(Frame().StartAutoNextEpoch(), 1);
  EXPECT_EQ(Frame().TimerPeriod(kTimerAutoPaging), 0);
  WaitingTime = 1;
  ASSERT_TRUE(testhooks::FireTimer(Frame(), kTimerAutoPaging));
  EXPECT_EQ(Epoch(), kEpochs - 2);
  EXPECT_EQ(Frame().TimerPeriod(kTimerAutoPaging), 1000) << "the next tick takes the new waiting time";
  ASSERT_TRUE(testhooks::FireTimer(Frame(), kTimerAutoPaging));
  ASSERT_TRUE(testhooks::FireTimer(Frame(), kTimerAutoPaging));
  EXPECT_EQ(Epoch(), kEpochs - 1);
  EXPECT_EQ(Frame().AutoPagingMode, 0);
  EXPECT_EQ(Frame().AutoScrollText, ">>") << "stopping by epoch leaves the button as it was";
}

TEST_F(NavTest, AutoPagingConditions) {
  GoTo(0);
  EXPECT_EQ(Frame().StartAutoPreviousEpoch(), 0);
  EXPECT_EQ(Frame().StartAutoPreviousPage(), 0);
  GoTo(kEpochs - 1);
  EXPECT_EQ(Frame().StartAutoNextEpoch(), 0);
  EXPECT_EQ(Frame().StartAutoNextPage(), 0);
  EXPECT_EQ(Frame().AutoPagingMode, 0);

  // Without the video following the wave the epoch commands answer 1 but arm nothing.
  Frame().VideoFollowsWave = 0;
  GoTo(10);
  EXPECT_EQ(Frame().StartAutoPreviousEpoch(), 1);
  EXPECT_EQ(Frame().AutoPagingMode, 0);
  EXPECT_FALSE(Frame().IsTimerArmed(kTimerAutoPaging));
  EXPECT_EQ(Frame().StartAutoNextPage(), 1) << "paging forward by page needs no video";
  EXPECT_EQ(Frame().AutoPagingMode, 4);
}

TEST_F(NavTest, AutoScrollButtonStartsPagePagingAndStopsAnyPaging) {
  GoTo(0);
  ASSERT_TRUE(ui::ExecuteCommand(Frame(), 33103));
  EXPECT_EQ(Frame().AutoPagingMode, 4);
  ASSERT_TRUE(ui::ExecuteCommand(Frame(), 33103));
  EXPECT_EQ(Frame().AutoPagingMode, 0);
  EXPECT_EQ(Frame().AutoScrollText, ">>");
  GoTo(5);
  Frame().StartAutoNextEpoch();
  ASSERT_TRUE(ui::ExecuteCommand(Frame(), 33103));
  EXPECT_EQ(Frame().AutoPagingMode, 0);
  EXPECT_FALSE(Frame().IsTimerArmed(kTimerAutoPaging));
}

struct PagingUpdateCase {
  std::uint32_t id;
  int epoch;
  std::uint16_t mode;
  bool enabled;
  int checked;  // -1: not set
};

class PagingCommandStates : public NavTest, public testing::WithParamInterface<PagingUpdateCase> {};

TEST_P(PagingCommandStates, FollowTheirRules) {
  const PagingUpdateCase& c = GetParam();
  GoTo(c.epoch);
  Frame().AutoPagingMode = c.mode;
  const ui::CmdUI state = ui::QueryCommandState(Frame(), c.id);
  EXPECT_EQ(state.IsEnabled(), c.enabled);
  if (c.checked >= 0) {
    EXPECT_EQ(state.Checked(), c.checked);
  }
  Frame().AutoPagingMode = 0;
}

INSTANTIATE_TEST_SUITE_P(
    Table, PagingCommandStates,
    testing::Values(PagingUpdateCase{32783, 0, 0, false, -1}, PagingUpdateCase{32783, 5, 0, true, -1},
                    PagingUpdateCase{32783, 5, 2, false, -1}, PagingUpdateCase{32784, 39, 0, false, -1},
                    PagingUpdateCase{32785, 5, 1, false, 1}, PagingUpdateCase{32786, 5, 2, false, 1},
                    PagingUpdateCase{32787, 5, 2, true, -1}, PagingUpdateCase{32787, 5, 4, false, -1},
                    PagingUpdateCase{32793, 3, 0, false, 0}, PagingUpdateCase{32793, 9, 3, false, 1},
                    PagingUpdateCase{32795, 33, 0, false, -1}, PagingUpdateCase{32796, 33, 4, false, 1},
                    PagingUpdateCase{32796, 9, 4, false, 0}, PagingUpdateCase{32798, 9, 4, true, -1},
                    PagingUpdateCase{32798, 9, 1, false, -1}, PagingUpdateCase{32799, 9, 0, true, -1},
                    PagingUpdateCase{32799, 9, 3, false, -1}));

TEST_F(NavTest, PagingCommandsAreGreyWhileScreening) {
  GoTo(9);
  ScreeningRunning = 1;
  for (std::uint32_t id : {32783u, 32784u, 32793u, 32795u, 32799u})
    EXPECT_FALSE(ui::QueryCommandState(Frame(), id).IsEnabled()) << id;
  ScreeningRunning = 0;
}

TEST_F(NavTest, ScreeningStepWithoutBatchOnlyFinishesTheRecording) {
  ScreeningRunning = 1;
  GoTo(32);
  Frame().SetTimer(kTimerScreeningStep, 0);
  ASSERT_TRUE(testhooks::FireTimer(Frame(), kTimerScreeningStep));
  EXPECT_EQ(ScreeningRunning, 0);
  EXPECT_FALSE(Frame().IsTimerArmed(kTimerScreeningStep));
  EXPECT_TRUE(testhooks::ShownMessageBoxes().empty());
}

TEST_F(NavTest, OtherTimersAreLeftToTheirWindows) {
  Frame().SetTimer(8102, 50);
  ASSERT_TRUE(testhooks::FireTimer(Frame(), 8102));
  EXPECT_EQ(Frame().TimerPeriod(8102), 50);
  Frame().KillTimer(8102);
}

TEST_F(NavTest, WaitingTimeCommandOpensItsDialog) {
  GoTo(3);
  ASSERT_TRUE(ui::ExecuteCommand(Frame(), 32799));
  ASSERT_EQ(testhooks::ShownDialogs().size(), 1u);
  EXPECT_EQ(testhooks::ShownDialogs()[0], IDD_WAIT_TIME);
}
