// Geometry of the raw page: grid, epoch lines, cells, bands and base lines, sample counts,
// scales, draw modes and the spectrum cells, as tables; zero counts and lengths draw nothing.
#include <gtest/gtest.h>

#include <vector>

#include "app/document/stage_names.h"
#include "app/raw/raw_page_geometry.h"

namespace {

using namespace rawpage;

struct GridCase {
  int pageSeconds;
  int epochSeconds;
  int step;
  std::size_t gridLines;
  std::size_t epochLines;
};

TEST(RawPageGeometry, TimeGridAndEpochLines) {
  const std::vector<GridCase> cases = {
      {30, 30, 1, 31, 2},  {40, 10, 10, 5, 5},  {28, 4, 1, 29, 8},
      {300, 30, 30, 11, 11}, {3600, 30, 600, 7, 0},  // an hour: no epoch lines
      {43200, 30, 3600, 13, 0}, {86400, 30, 21600, 5, 0}, {0, 30, 1, 0, 0},
  };
  for (const auto& tc : cases) {
    EXPECT_EQ(GridStepSeconds(tc.pageSeconds), tc.step) << tc.pageSeconds;
    EXPECT_EQ(GridLinesX(0, 999, tc.pageSeconds).size(), tc.gridLines) << tc.pageSeconds;
    EXPECT_EQ(EpochLinesX(0, 999, tc.pageSeconds, tc.epochSeconds).size(), tc.epochLines) << tc.pageSeconds;
  }
  // Page 40 s over 1000 pixels: 25 pixels a second, epoch lines at 0, 250 .. 1000, shifted by x0.
  EXPECT_EQ(EpochLinesX(100, 999, 40, 10), (std::vector<int>{100, 350, 600, 850, 1100}));
  EXPECT_TRUE(EpochLinesX(0, 999, 40, 0).empty());
}

TEST(RawPageGeometry, CellsAndCurrentEpochFrame) {
  EXPECT_EQ(EpochsPerPage(40, 10), 4);
  EXPECT_EQ(EpochsPerPage(28, 0), 0);
  EXPECT_EQ(EpochsPerPage(0, 30), 0);  // a page rounded down to 0 s
  EXPECT_EQ(CellLeft(3, 999, 4), 750);
  EXPECT_EQ(CellWidth(999, 0), 0);
  // x1 = 1 x 1000 / 3 = 333, x2 = 2 x 1000 / 3 = 666.
  const auto frame = CurrentEpochColumns(1, 999, 3);
  ASSERT_TRUE(frame);
  EXPECT_EQ(frame->x1, 333);
  EXPECT_EQ(frame->x2, 666);
  EXPECT_FALSE(CurrentEpochColumns(0, 999, 0));
}

TEST(RawPageGeometry, BandsAndBaseLines) {
  const draw::Rect page{0, 0, 800, 599};
  // Three enabled channels share 600 pixels: bands of 200, base lines at 1/6, 1/2, 5/6.
  const std::vector<std::uint16_t> three{1, 0, 1, 1};
  const auto bands = ChannelBands(page, three, false);
  ASSERT_EQ(bands.size(), 4u);
  EXPECT_FALSE(bands[1]);
  EXPECT_EQ(BaselineInBand(*bands[0], 0), 100);
  EXPECT_EQ(BaselineInBand(*bands[2], 0), 300);
  EXPECT_EQ(BaselineInBand(*bands[3], 0), 500);
  EXPECT_EQ(BaselineInBand(*bands[3], 1), 600);
  EXPECT_EQ(BaselineInBand(*bands[3], 2), 400);
  // The mark strip takes the lowest tenth: bottom 599 - 59 = 540, one band of (540 + 1) pixels.
  const auto marked = ChannelBands(page, std::vector<std::uint16_t>{1}, true);
  EXPECT_EQ(marked[0]->bottom, 541);
  // No channel enabled: no band, no division.
  const auto none = ChannelBands(page, std::vector<std::uint16_t>{0, 0}, false);
  EXPECT_FALSE(none[0] || none[1]);
}

struct CountCase {
  int rate, pageSeconds, epochSeconds;
  std::int64_t firstEpoch;
  int epochsPerPage;
  std::int64_t epochCount;
  std::int64_t expected;
};

TEST(RawPageGeometry, SampleCountsStayInsideTheChannelSpan) {
  const std::vector<CountCase> cases = {
      {100, 30, 30, 0, 1, 10, 3001},   // a full page: one page plus the next page's first sample
      {200, 40, 10, 8, 4, 10, 4000},   // the last page holds 2 epochs: (10 - 8) x 200 x 10
      {200, 40, 10, 12, 4, 10, 0},     // beyond the recording
      {0, 30, 30, 0, 1, 10, 0},
      {100, 0, 30, 0, 0, 10, 0},
  };
  for (const auto& tc : cases) {
    EXPECT_EQ(PageSampleCount(tc.rate, tc.pageSeconds, tc.epochSeconds, tc.firstEpoch, tc.epochsPerPage,
                              tc.epochCount),
              tc.expected)
        << tc.rate << "/" << tc.firstEpoch;
  }
}

TEST(RawPageGeometry, ScalesAndDrawModes) {
  EXPECT_DOUBLE_EQ(*VerticalScale(40.0, 50.0, 2.0, false), 1.6);
  EXPECT_DOUBLE_EQ(*VerticalScale(40.0, 50.0, 2.0, true), -1.6);
  EXPECT_FALSE(VerticalScale(40.0, 0.0, 1.0, false));  // 0 units per cm: the channel is not drawn
  EXPECT_DOUBLE_EQ(HorizontalScale(false, 0.0, 1199, 30), 40.0);
  EXPECT_NEAR(HorizontalScale(true, 40.0, 1199, 30), 40.0, 1e-9);  // 30 cm x 40 px / 30 s
  EXPECT_EQ(HorizontalScale(false, 0.0, 1199, 0), 0.0);

  struct ModeCase {
    int rate, pageSeconds;
    std::int16_t mode, factor;
  };
  const std::vector<ModeCase> modes = {
      {100, 86400, 3, 10}, {500, 3600, 0, 0}, {100, 7200, 0, 0}, {200, 7200, 3, 1}, {1000, 28800, 3, 36},
  };
  for (const auto& m : modes) {
    const auto got = ChooseDrawMode(m.rate, m.pageSeconds);
    EXPECT_EQ(got.mode, m.mode) << m.rate << "/" << m.pageSeconds;
    EXPECT_EQ(got.factor, m.factor) << m.rate << "/" << m.pageSeconds;
  }
  // 300 mm at 600 dots per inch: 300 x 600 / 25.4 = 7086.6.
  EXPECT_EQ(ActualSizeRight(true, 0, 600, 0, 0.0), 7086);
  // Screen 1920 px over 480 mm: 300 mm are 1200 px; an unset width counts as 360 mm.
  EXPECT_EQ(ActualSizeRight(false, 0, 0, 1920, 480.0), 1200);
  EXPECT_EQ(ActualSizeRight(false, 0, 0, 1920, 0.0), 1600);
  EXPECT_EQ(ScaleBarHalf(2.0, 1.5, 50.0), 75);
  EXPECT_EQ(StageNameOffset(600, -50), -300);
}

TEST(RawPageGeometry, SpectrumCells) {
  EXPECT_EQ(ClampRectToShort({-40000, 5, 40000, 70000}), (draw::Rect{-32768, 5, 32767, 32767}));
  const auto cell = SpectrumCell(1000, 300, 1, 3, 2, 4);
  ASSERT_TRUE(cell);
  EXPECT_EQ(*cell, (draw::Rect{500, 100, 750, 200}));
  EXPECT_FALSE(SpectrumCell(1000, 300, 0, 0, 0, 4));
  EXPECT_FALSE(SpectrumCell(1000, 300, 0, 1, 0, 0));
  // 256 points at 100 Hz: df = 0.390625; 20 Hz shows 52 bins; 80 Hz is cut to 129 bins.
  EXPECT_EQ(ShownBins(20.0, 100.0, 256), 52);
  EXPECT_EQ(ShownBins(80.0, 100.0, 256), 129);
  EXPECT_EQ(ShownBins(20.0, 0.0, 256), 0);
  EXPECT_FALSE(BarScale(100, 0.0));  // a fixed maximum of 0 draws no bars
  EXPECT_DOUBLE_EQ(*BarScale(100, 45.0), 2.0);
}

TEST(StageNames, CodesMapToTheStageTypeSet) {
  StageTypeParam block;
  for (std::size_t i = 0; i < block.records.size(); ++i) block.records[i].name = "r" + std::to_string(i);
  block.shared[1].name = "F2";
  struct Case {
    int type, code;
    const char* name;
  };
  const std::vector<Case> cases = {
      {0, 1, "r0"}, {0, 7, "r6"}, {0, 23, "r2"}, {0, 105, "r4"}, {1, 6, "r11"},
      {2, 4, "r15"}, {3, 5, "r20"}, {3, 7, "r21"}, {2, 9, "F2"}, {0, 0, ""}, {0, 11, ""},
  };
  for (const auto& tc : cases) {
    block.stageType = static_cast<std::uint16_t>(tc.type);
    EXPECT_EQ(GetStageName(block, tc.code), tc.name) << tc.type << "/" << tc.code;
  }
}

}  // namespace
