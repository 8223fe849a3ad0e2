// Mouse messages on the rows of the raw window: clicks make an epoch current, drags select a
// stretch across rows (with its inverted bands), the range popup scores the stretch.
#include <gtest/gtest.h>

#include "app/raw/raw_manual_scoring.h"
#include "app/trend/trend_dummy_view.h"
#include "platform/system/key_state.h"
#include "scoring_fixture.h"

namespace {

TEST_F(ScoringTest, ClicksMakeTheEpochUnderThePointerCurrent) {
  struct Case {
    const char* what;
    int row;
    int k;        // cell of the page clicked (-1: right of the page)
    int wiggle;   // pixels moved between press and release
    int epoch;
    int page;
  };
  const Case cases[] = {
      {"first cell of the current page", 2, 0, 0, 12, 4},
      {"a 3-pixel move is still a click", 2, 2, 3, 14, 4},
      {"right of the page: the page's last epoch", 2, -1, 0, 14, 4},
      {"the next row's page moves forward", 3, 1, 0, 16, 5},
      {"the previous row's page moves back", 1, 0, 0, 9, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    GoTo(12);
    const int x = c.k < 0 ? width_ + 40 : CellX(c.k);
    Press(c.row, x, Y());
    if (c.wiggle != 0) Move(c.row, x + c.wiggle, Y() + c.wiggle);
    Release(c.row, x + c.wiggle, Y() + c.wiggle);
    EXPECT_EQ(Doc().CurrentEpoch, c.epoch);
    EXPECT_EQ(Doc().CurrentPage, c.page);
    EXPECT_EQ(RawSelection.pressState, 0);
    EXPECT_EQ(RawSelection.startSample, -1);
  }
}

TEST_F(ScoringTest, ClickOffTheWavesOrWithoutARecordingDoesNothing) {
  GoTo(12);
  DocumentLoaded = 0;
  Press(2, CellX(1), Y());
  Release(2, CellX(1), Y());
  EXPECT_EQ(Doc().CurrentEpoch, 12);
  DocumentLoaded = 1;
  Doc().RecordInfo.pageBuffers[3].clear();  // a row without a page
  Press(3, CellX(1), Y());
  Release(3, CellX(1), Y());
  EXPECT_EQ(Doc().CurrentEpoch, 12);
  EXPECT_EQ(RawSelection.pressState, 0);
}

TEST_F(ScoringTest, DragFromRowOneIntoRowThreeInvertsTheRowsBetween) {
  GoTo(12);
  const int x1 = CellX(1);
  const int x2 = CellX(0);
  Press(1, x1, 10);
  Move(3, x2, 30);
  ASSERT_EQ(RawSelection.pressState, 2);
  const draw::Rect page = Row(2).GetPageRect(nullptr);
  EXPECT_EQ(RawSelection.band[0], draw::Rect{});
  EXPECT_EQ(RawSelection.band[1], (draw::Rect{x1, page.top, page.right, page.bottom}));
  EXPECT_EQ(RawSelection.band[2], (draw::Rect{page.left, page.top, page.right, page.bottom}));
  EXPECT_EQ(RawSelection.band[3], (draw::Rect{page.left, page.top, x2, page.bottom}));
  EXPECT_EQ(RawSelection.band[4], draw::Rect{});

  // Moving back into row 2 gives row 3 its band back.
  Move(2, x2, 30);
  EXPECT_EQ(RawSelection.band[3], draw::Rect{});
  EXPECT_EQ(RawSelection.band[2], (draw::Rect{page.left, page.top, x2, page.bottom}));

  // The right button cancels the drag.
  Row(2).SendMessage(ui::WM_RBUTTONUP, 0, Pos(x2, 30));
  EXPECT_EQ(RawSelection.pressState, 0);
  EXPECT_EQ(RawSelection.rangeRow, -1);
  for (const draw::Rect& band : RawSelection.band) EXPECT_EQ(band, draw::Rect{});
  Release(2, x2, 30);
  EXPECT_EQ(Doc().CurrentEpoch, 12);  // the release after a cancel is no click
}

TEST_F(ScoringTest, PopupAfterADragScoresEveryEpochOfTheStretch) {
  GoTo(13);
  testhooks::AnswerPopupMenu(32810);  // "W"
  Drag(2, CellX(0), 10, 3, CellX(1), 30);
  const EditRangeRec& r = Frame().EditRange;
  EXPECT_EQ(r.startRow, 2);
  EXPECT_EQ(r.endRow, 3);
  EXPECT_NEAR(r.startPos, (360 + 15) * kFastRate, kFastRate);
  EXPECT_NEAR(r.endPos, (450 + 45) * kFastRate, kFastRate);
  for (int e = 11; e <= 18; ++e) EXPECT_EQ(Stage(e), e >= 12 && e <= 16 ? 1 : 0) << "epoch " << e;
  EXPECT_EQ(ResultModifiedState, 2);
  EXPECT_EQ(Frame().TrendView()->CursorEpoch(), 13);
  EXPECT_EQ(Doc().CurrentEpoch, 13);  // a drag is no click
  for (const draw::Rect& band : RawSelection.band) EXPECT_EQ(band, draw::Rect{});

  // Right to left, with Ctrl held: the same epochs get code 21.
  sys::SetKeyStateForTesting(sys::VirtualKey::Control, true);
  testhooks::AnswerPopupMenu(32810);
  Drag(3, CellX(1), 30, 2, CellX(0), 10);
  for (int e = 12; e <= 16; ++e) EXPECT_EQ(Stage(e), 21) << "epoch " << e;
  EXPECT_EQ(Stage(17), 0);
  EXPECT_EQ(Stage(12, 1), 1);  // the previous code went into the history
}

TEST_F(ScoringTest, DragEndingOnTheAnchorColumnOpensNoPopup) {
  testhooks::AnswerPopupMenu(32810);
  Press(2, CellX(0), 10);
  Move(2, CellX(1), 30);
  Release(2, CellX(0), 30);
  EXPECT_EQ(Stage(12), 0);
  EXPECT_EQ(RawSelection.pressState, 0);
  for (const draw::Rect& band : RawSelection.band) EXPECT_EQ(band, draw::Rect{});
  testhooks::Reset();
}

TEST_F(ScoringTest, ReleaseOffTheWavesEndsTheDrag) {
  Press(2, CellX(0), 10);
  Move(2, CellX(1), 30);
  ASSERT_EQ(RawSelection.pressState, 2);
  Release(2, CellX(1), height_ + 200);  // below every channel band
  EXPECT_EQ(RawSelection.pressState, 0);
  for (const draw::Rect& band : RawSelection.band) EXPECT_EQ(band, draw::Rect{});
  // The next press starts a new selection.
  Press(2, CellX(2), 10);
  EXPECT_EQ(RawSelection.pressState, 1);
}

// ---- The stage commands over the frame's range ---------------------------------------------

class StageCommandTest : public ScoringTest {
 protected:
  // Range from the middle of one epoch to the middle of another, in samples at 200 Hz.
  void SetRange(int fromEpoch, int toEpoch) {
    Frame().EditRange = {2, (fromEpoch * 30 + 15) * kFastRate, 2, (toEpoch * 30 + 15) * kFastRate};
  }
  void Run(std::uint32_t id) { ASSERT_TRUE(ui::ExecuteCommand(Row(2), id)); }
};

TEST_F(StageCommandTest, EachCommandWritesItsCode) {
  struct Case {
    int stageType;
    std::uint32_t id;
    bool ctrl;
    int code;
  };
  const Case cases[] = {
      {0, 32810, false, 1},  {0, 32810, true, 21}, {0, 32811, false, 2}, {0, 32812, false, 3},
      {2, 32817, false, 3},  {3, 32819, false, 3}, {0, 32813, false, 4}, {0, 32814, false, 5},
      {1, 32818, false, 5},  {0, 32815, false, 6}, {0, 32816, false, 7}, {0, 32820, false, 8},
      {0, 32821, false, 9},  {0, 32822, true, 30},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "command " << c.id << " ctrl " << c.ctrl);
    Doc().Params.stageType.stageType = static_cast<std::uint16_t>(c.stageType);
    sys::SetKeyStateForTesting(sys::VirtualKey::Control, c.ctrl);
    SetRange(5, 5);
    Run(c.id);
    EXPECT_EQ(Stage(5), c.code);
    EXPECT_EQ(Stage(4), 0);
    EXPECT_EQ(Stage(6), 0);
  }
}

TEST_F(StageCommandTest, RangesHistoryAndResultState) {
  ResultModifiedState = 0;
  SetRange(7, 3);  // given backwards
  Run(32811);
  for (int e = 2; e <= 8; ++e) EXPECT_EQ(Stage(e), e >= 3 && e <= 7 ? 2 : 0) << "epoch " << e;
  EXPECT_EQ(ResultModifiedState, 2);

  // Three scorings keep the last two previous codes.
  SetRange(3, 3);
  Run(32810);
  Run(32816);
  EXPECT_EQ(Stage(3, 0), 7);
  EXPECT_EQ(Stage(3, 1), 1);
  EXPECT_EQ(Stage(3, 2), 2);

  // A range reaching past the last epoch scores the epochs there are.
  Frame().EditRange = {2, (28 * 30) * kFastRate, 2, (kEpochs * 30 + 20) * kFastRate};
  Run(32810);
  EXPECT_EQ(Stage(28), 1);
  EXPECT_EQ(Stage(29), 1);
  EXPECT_EQ(Stage(27), 0);
}

TEST_F(StageCommandTest, LearningSamplesKeepTheManualCode) {
  ASSERT_EQ(Doc().EpochTables.SetNew(kEpochs, 0, 2, 0, 1, 1), 1);
  LearningSampleMode = 1;
  SetRange(4, 4);
  Run(32813);
  ASSERT_NE(Doc().EpochTables.EpochFlags(4), nullptr);
  EXPECT_EQ(Doc().EpochTables.EpochFlags(4)[3], 4);
}

TEST(RowsShowingEpochs, RowsOfTheRangeEnds) {
  struct Case {
    std::int64_t first, last;
    int viewRow;
    std::int64_t viewPage;
    int pageRows;
    std::vector<int> rows;
  };
  // Pages of three epochs; the middle row shows page 4 (epochs 12..14).
  const Case cases[] = {
      {12, 16, 2, 4, 5, {2, 3}},
      {12, 16, 0, 2, 5, {2, 3}},  // the same, asked through row 0
      {9, 9, 2, 4, 5, {1}},       // a row's end overlaps the next row's start: the lower row
      {6, 20, 2, 4, 5, {0, 1, 2, 3, 4}},
      {5, 40, 2, 4, 5, {2}},      // outside every row: row 2
      {6, 18, 2, 4, 3, {2, 3}},   // three rows: row 0 is not shown
      {0, 29, 2, 4, 1, {2}},      // one row
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.first << ".." << c.last << " rows " << c.pageRows);
    EXPECT_EQ(rawscoring::RowsShowingEpochs(c.first, c.last, c.viewRow, c.viewPage, c.pageRows, 90, 30), c.rows);
  }
}

}  // namespace
