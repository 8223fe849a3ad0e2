#include "tests/navigation/nav_fixture.h"

using ui::VK_DOWN;
using ui::VK_LEFT;
using ui::VK_NEXT;
using ui::VK_PRIOR;
using ui::VK_RIGHT;
using ui::VK_UP;

struct KeyCase {
  const char* name;
  int startEpoch;
  std::uint32_t key;
  int rows;
  int epoch;
  int page;
};

class NavigationKeys : public NavTest, public testing::WithParamInterface<KeyCase> {};

TEST_P(NavigationKeys, MoveEpochAndPage) {
  const KeyCase& c = GetParam();
  GoTo(c.startEpoch);
  Doc().PageRows = static_cast<std::uint16_t>(c.rows);
  KeyDown(c.key);
  EXPECT_EQ(Epoch(), c.epoch) << c.name;
  EXPECT_EQ(Page(), c.page) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Table, NavigationKeys,
    testing::Values(
        KeyCase{"right inside a page", 3, VK_RIGHT, 1, 4, 0},
        KeyCase{"right from a page's last epoch", 7, VK_RIGHT, 1, 8, 1},
        KeyCase{"right on the last epoch", 39, VK_RIGHT, 1, 39, 4},
        KeyCase{"left inside a page", 4, VK_LEFT, 1, 3, 0},
        KeyCase{"left from a page's first epoch", 8, VK_LEFT, 1, 7, 0},
        KeyCase{"left on epoch 0", 0, VK_LEFT, 1, 0, 0},
        KeyCase{"down: first epoch of the next page", 3, VK_DOWN, 1, 8, 1},
        KeyCase{"up: last epoch of the previous page", 17, VK_UP, 1, 15, 1},
        KeyCase{"up on page 0", 3, VK_UP, 1, 3, 0},
        KeyCase{"down on the last page", 33, VK_DOWN, 1, 33, 4},
        KeyCase{"page down by the row count", 3, VK_NEXT, 3, 24, 3},
        KeyCase{"page down stops at the last page", 20, VK_NEXT, 5, 32, 4},
        KeyCase{"page up stops at page 0", 20, VK_PRIOR, 5, 0, 0},
        KeyCase{"page up by one row", 20, VK_PRIOR, 1, 15, 1},
        KeyCase{"home does nothing", 20, ui::VK_HOME, 1, 20, 2},
        KeyCase{"top-row digit does nothing", 20, '1', 1, 20, 2}),
    [](const testing::TestParamInfo<KeyCase>& info) { return "case" + std::to_string(info.index); });

struct StageKeyCase {
  int stageType;
  std::uint32_t key;
  bool ctrl;
  int freeStages;
  std::uint8_t code;  // 0: nothing scored
};

class StageKeys : public NavTest, public testing::WithParamInterface<StageKeyCase> {};

TEST_P(StageKeys, ScoreTheCurrentEpochAndAdvance) {
  const StageKeyCase& c = GetParam();
  StageTypeParam& block = Doc().Params.stageType;
  block.stageType = static_cast<std::uint16_t>(c.stageType);
  block.sharedInUse = static_cast<std::uint16_t>(c.freeStages);
  sys::SetKeyStateForTesting(sys::VirtualKey::Control, c.ctrl);
  ResultModifiedState = 0;
  GoTo(5);
  KeyDown(c.key);
  EXPECT_EQ(Doc().EpochTables.GetStage(0, 5, 0), c.code);
  EXPECT_EQ(Epoch(), c.code != 0 ? 6 : 5);
  EXPECT_EQ(ResultModifiedState, c.code != 0 ? 2 : 0);
  EXPECT_EQ(Doc().PageReads.fullReloads + Doc().PageReads.edgePageReads, 0) << "a step inside the page reads nothing";
}

// Default keys: set 0 maps W 2000, R 2005, 1 2001, 2 2002, 3 2003, 4 2004, M 2006;
// type 2 maps 2003 to stage 3 (code 5); free stages take 2007..2009.
INSTANTIATE_TEST_SUITE_P(
    Table, StageKeys,
    testing::Values(StageKeyCase{0, ui::VK_NUMPAD0, false, 0, 1}, StageKeyCase{0, (ui::VK_NUMPAD0 + 5), false, 0, 2},
                    StageKeyCase{0, (ui::VK_NUMPAD0 + 3), false, 0, 5}, StageKeyCase{2, (ui::VK_NUMPAD0 + 3), false, 0, 5},
                    StageKeyCase{3, (ui::VK_NUMPAD0 + 3), false, 0, 0}, StageKeyCase{0, 2004, false, 0, 6},
                    StageKeyCase{0, (ui::VK_NUMPAD0 + 1), true, 0, 23}, StageKeyCase{0, '1', false, 0, 0},
                    StageKeyCase{0, (ui::VK_NUMPAD0 + 7), false, 0, 0}, StageKeyCase{0, (ui::VK_NUMPAD0 + 7), false, 1, 8},
                    StageKeyCase{1, ui::VK_NUMPAD9, false, 3, 10}, StageKeyCase{1, (ui::VK_NUMPAD0 + 8), false, 1, 0}));

TEST_F(NavTest, NoKeyAssignedScoresNothing) {
  for (StageRecord& r : Doc().Params.stageType.records) r.key = 0;
  Doc().Params.stageType.stageType = 0;
  GoTo(5);
  KeyDown((ui::VK_NUMPAD0 + 1));
  EXPECT_EQ(Doc().EpochTables.GetStage(0, 5, 0), 0);
  EXPECT_EQ(Epoch(), 5);
}

TEST_F(NavTest, ScoringTheLastEpochStaysThere) {
  Doc().Params.stageType.stageType = 0;
  GoTo(kEpochs - 1);
  KeyDown(ui::VK_NUMPAD0);
  EXPECT_EQ(Doc().EpochTables.GetStage(0, kEpochs - 1, 0), 1);
  EXPECT_EQ(Epoch(), kEpochs - 1);
}

TEST_F(NavTest, ScoringClearsCandidatesAndSetsTheLearningFlag) {
  Doc().Params.stageType.stageType = 0;
  ASSERT_EQ(Doc().EpochTables.SetNew(kEpochs, 0, 1, 0, 1, 1), 1);
  Doc().EpochTables.SetCandidate(5, 3, 4);
  LearningSampleMode = 1;
  GoTo(5);
  KeyDown(ui::VK_NUMPAD0 + 2);  // stage 2: code 4
  std::uint8_t candidates[20];
  Doc().EpochTables.GetCandidates(0, 5, candidates);
  for (std::uint8_t c : candidates) EXPECT_EQ(c, 0);
  ASSERT_NE(Doc().EpochTables.EpochFlags(5), nullptr);
  EXPECT_EQ(Doc().EpochTables.EpochFlags(5)[3], 4);
}

TEST_F(NavTest, NothingMovesWithoutARecording) {
  DocumentLoaded = 0;
  GoTo(5);
  KeyDown(VK_RIGHT);
  EXPECT_EQ(Epoch(), 5);
}

TEST_F(NavTest, ScreeningBlocksTheFramesOwnKeysButNotForwardedOnes) {
  ScreeningRunning = 1;
  GoTo(5);
  testhooks::PressKey(Frame(), VK_RIGHT);
  EXPECT_EQ(Epoch(), 5) << "the frame's own key while screening";
  KeyDown(VK_RIGHT, 1);
  EXPECT_EQ(Epoch(), 6) << "a key forwarded by the trend info area";
  ScreeningRunning = 0;
  testhooks::PressKey(Frame(), VK_RIGHT);
  EXPECT_EQ(Epoch(), 7) << "pre-translation hands the key to the navigation";
}

TEST_F(NavTest, WheelPagesOnlyOverTheRawPane) {
  Frame().ShowWindow(ui::SW_SHOW);
  ui::Window* raw = Frame().OuterSplitter()->GetPane(0, 0);
  ui::Window* trend = Frame().InnerSplitter()->GetPane(0, 0);
  ASSERT_NE(raw, nullptr);
  const ui::Rect rawRect = raw->GetWindowRect();
  ASSERT_FALSE(rawRect.IsEmpty());
  GoTo(20);
  Frame().OnMouseWheel(0, -ui::WHEEL_DELTA, rawRect.CenterPoint());
  EXPECT_EQ(Page(), 3);
  EXPECT_EQ(Epoch(), 24);
  Frame().OnMouseWheel(0, ui::WHEEL_DELTA, rawRect.CenterPoint());
  EXPECT_EQ(Page(), 2);
  EXPECT_EQ(Epoch(), 23) << "the previous page comes with its last epoch";
  const ui::Rect trendRect = trend->GetWindowRect();
  if (!trendRect.IsEmpty()) {
    Frame().OnMouseWheel(0, -ui::WHEEL_DELTA, trendRect.CenterPoint());
    EXPECT_EQ(Page(), 2) << "over the trend window";
  }
  ScreeningRunning = 1;
  Frame().OnMouseWheel(0, -ui::WHEEL_DELTA, rawRect.CenterPoint());
  EXPECT_EQ(Page(), 2) << "while screening";
  ScreeningRunning = 0;
  RawPreviewMode = 1;
  Frame().OnMouseWheel(0, -ui::WHEEL_DELTA, rawRect.CenterPoint());
  EXPECT_EQ(Page(), 2) << "while the raw view takes a pick";
}

TEST_F(NavTest, ShiftScrollArmsTheTimerAndReleaseMovesBackOnce) {
  sys::SetKeyStateForTesting(sys::VirtualKey::Shift, true);
  GoTo(3);
  KeyDown(VK_DOWN);
  EXPECT_EQ(Page(), 1);
  EXPECT_EQ(ScrollDirection, 1);
  EXPECT_EQ(Frame().TimerPeriod(kTimerHeldKeyScroll), 10);
  KeyDown(VK_DOWN);
  EXPECT_EQ(Page(), 2) << "repeated keys step once each while scrolling";
  ASSERT_TRUE(testhooks::FireTimer(Frame(), kTimerHeldKeyScroll));
  EXPECT_EQ(Frame().TimerPeriod(kTimerHeldKeyScroll), 10) << "re-armed while Shift is down";
  EXPECT_EQ(Page(), 2);
  sys::SetKeyStateForTesting(sys::VirtualKey::Shift, false);
  ASSERT_TRUE(testhooks::FireTimer(Frame(), kTimerHeldKeyScroll));
  EXPECT_EQ(Page(), 1) << "released: one page against the scroll direction";
  EXPECT_EQ(ScrollDirection, 0);
  EXPECT_FALSE(Frame().IsTimerArmed(kTimerHeldKeyScroll));
}

TEST_F(NavTest, ShiftScrollSuppressesScoringAndNeedsOneRow) {
  Doc().Params.stageType.stageType = 0;
  sys::SetKeyStateForTesting(sys::VirtualKey::Shift, true);
  Doc().PageRows = 3;
  GoTo(3);
  KeyDown(VK_DOWN);
  EXPECT_EQ(ScrollDirection, 0) << "three rows: no held-key scrolling";
  Doc().PageRows = 1;
  KeyDown(VK_UP);
  EXPECT_EQ(ScrollDirection, -1);
  const int e = Epoch();
  KeyDown(ui::VK_NUMPAD0);
  EXPECT_EQ(Doc().EpochTables.GetStage(0, e, 0), 0) << "no scoring while scrolling";
  KeyDown(VK_UP);  // on page 0 now: scrolling further does nothing
  EXPECT_EQ(Page(), 0);
}

TEST_F(NavTest, KeyUpDropsOnlyTheRepeatOfItsOwnKey) {
  // Queued: an auto-repeat of Right and a command for the frame that must survive.
  Frame().PostMessage(ui::WM_COMMAND, 32790, 0);
  Frame().PostMessage(ui::WM_KEYDOWN, VK_RIGHT, 0);
  ASSERT_EQ(ui::PendingMessageCount(), 2u);
  Frame().HandleNavigationKey(ui::WM_KEYUP, VK_LEFT, 0, 0);
  EXPECT_EQ(ui::PendingMessageCount(), 2u) << "no Left repeat queued: nothing removed";
  Frame().HandleNavigationKey(ui::WM_KEYUP, VK_RIGHT, 0, 0);
  EXPECT_EQ(ui::PendingMessageCount(), 1u);
  Frame().HandleNavigationKey(ui::WM_KEYUP, VK_RIGHT, 0, 0);
  EXPECT_EQ(ui::PendingMessageCount(), 1u) << "the command stays queued";
}

TEST_F(NavTest, EscapeKeyUpEndsTheAviCapture) {
  Frame().AviRunning = 1;
  Frame().HandleNavigationKey(ui::WM_KEYUP, ui::VK_ESCAPE, 0, 0);
  EXPECT_EQ(Frame().AviRunning, 0);
}
