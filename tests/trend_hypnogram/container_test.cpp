// The hypnogram container's table of shown epochs (filled, centred, paged, advanced during a
// screening run, zoomed) and the layout of its line slots.
#include "hypnogram_fixture.h"

namespace {

std::vector<std::int32_t> Table(const LyrTrendStageAreaDummyView& area) {
  std::vector<std::int32_t> t;
  for (int k = 0; k < area.TableSize(); ++k) t.push_back(area.GetEpochAt(k));
  return t;
}

TEST_F(HypnogramTest, FillAndCentreFollowTheRecordingLength) {
  TrendSettingWord1 = 1;
  SetTrendTimeScale(5);  // 10 slots
  Record(15);
  Create();
  ASSERT_EQ(Area().TableSize(), 10);
  Area().FillFrom(8);  // epochs 8..14, then the slot numbers
  EXPECT_EQ(Table(Area()), (std::vector<std::int32_t>{8, 9, 10, 11, 12, 13, 14, 7, 8, 9}));
  Area().FillFrom(-4);
  EXPECT_EQ(Area().GetEpochAt(0), 0);
  EXPECT_EQ(Line(0).StartEpoch(), 0);

  // Centred near the end: pulled back only when epoch - 5 reaches the epoch count.
  Area().SetCenterEpoch(13);  // first 8: the window stays centred, its tail holds 0
  EXPECT_EQ(Table(Area()), (std::vector<std::int32_t>{8, 9, 10, 11, 12, 13, 14, 0, 0, 0}));
  Area().SetCenterEpoch(20);  // first 15 >= 15: pulled back to 15 - 10
  EXPECT_EQ(Area().GetEpochAt(0), 5);
  EXPECT_EQ(Area().GetEpochAt(9), 14);

  // A recording shorter than the slots starts at 0 with a tail of 0.
  Record(4);
  Area().SetCenterEpoch(2);
  EXPECT_EQ(Table(Area()), (std::vector<std::int32_t>{0, 1, 2, 3, 0, 0, 0, 0, 0, 0}));
}

TEST_F(HypnogramTest, PagingScrollingAndScreeningShift) {
  Record(2000);
  Create();  // 3 lines x 120
  const int shown = 360;
  Area().PageTo(130);
  EXPECT_EQ(Area().GetEpochAt(0), 0) << "an epoch in the first lines gives 0";
  Area().PageTo(1000);  // its line (960..1079) becomes the last one
  EXPECT_EQ(Area().GetEpochAt(0), 1080 - shown);

  // Page start 0: the table is made anew before it advances.
  Area().FillFrom(500);
  doc_.CurrentPage = 0;
  Area().ScrollToEpoch(0, 3);
  EXPECT_EQ(Area().GetEpochAt(0), 0);
  EXPECT_EQ(Area().TableFill(), 1);
  // Elsewhere the page start counts: page 200 of 4 epochs holds epoch 801.
  doc_.CurrentPage = 200;
  Area().ScrollToEpoch(0, 1);
  EXPECT_EQ(Area().GetEpochAt(0), 840 - shown);

  // During a screening run a full table shifts by one epoch per advance and flags every line.
  ScreeningRunning = 1;
  Area().AllocEpochTable();
  for (int e = 0; e < shown; ++e) Area().AdvanceEpoch(e);
  EXPECT_EQ(Area().GetEpochAt(0), 0);
  EXPECT_EQ(Area().GetScrollFlag(0), 0);
  Area().AdvanceEpoch(shown);
  EXPECT_EQ(Area().GetEpochAt(0), 1);
  EXPECT_EQ(Area().GetEpochAt(shown - 1), shown);
  EXPECT_EQ(Area().TableFill(), shown);
  for (int line = 0; line < 3; ++line) EXPECT_EQ(Area().GetScrollFlag(line), 1);
  Area().AdvanceEpoch(shown + 1);
  EXPECT_EQ(Area().GetEpochAt(0), 2);
}

TEST_F(HypnogramTest, ZoomSpansAndLayout) {
  Record(3000);
  Create(400, 50);
  struct Case {
    int state, spanEpochs;
  };
  for (const Case c : {Case{1, 40}, Case{2, 60}, Case{3, 120}, Case{4, 240}}) {
    TrendZoomState = static_cast<std::uint16_t>(c.state);
    Area().ZoomAround(1000);
    EXPECT_EQ(Area().GetEpochAt(0), 1000 - c.spanEpochs / 2) << c.state;
  }
  Area().ZoomAround(3);
  EXPECT_EQ(Area().GetEpochAt(0), 0) << "never before epoch 0";

  // h = (H - 18) / lines; the slots past the line count are hidden.
  const int h = (Area().GetClientRect().Height() - 18) / 3;
  for (int i = 0; i < 12; ++i) {
    const ui::Rect r = Area().AxisView(i)->GetClientRect();
    EXPECT_EQ(r.Height(), i < 3 ? h : 0) << i;
  }
  EXPECT_EQ(Line(1).GetClientRect().Width(), 400);
}

}  // namespace
