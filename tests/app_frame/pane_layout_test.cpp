#include <gtest/gtest.h>

#include "app/frame/pane_layout.h"

TEST(DockStatesFromRatios, HideThePaneThatARatioLeavesNoRoomFor) {
  struct Case {
    double row, column;
    std::uint16_t trend, workspace;
  };
  const Case cases[] = {
      {0.5, 0.6, kDockShown, kDockShown},
      {0.5, 0.005, kDockHidden, kDockShown},
      {0.5, 0.995, kDockShown, kDockHidden},
      {0.995, 0.6, kDockHidden, kDockHidden},
      {0.5, 0.01, kDockShown, kDockShown},  // the limits themselves keep both shown
      {0.99, 0.99, kDockShown, kDockShown},
  };
  for (const Case& c : cases) {
    const DockStates s = DeriveDockStates(c.row, c.column);
    EXPECT_EQ(s.trend, c.trend) << "row " << c.row << " column " << c.column;
    EXPECT_EQ(s.workspace, c.workspace) << "row " << c.row << " column " << c.column;
  }
}

TEST(PaneSizes, TruncateTheScaledClientSizeAndNeverGoNegative) {
  // 999 x 0.5 = 499.5 -> 499; 1201 x 0.6 = 720.6 -> 720.
  PaneSizes s = ComputePaneSizes(1201, 999, 0.5, 0.6);
  EXPECT_EQ(s.rawRowHeight, 499);
  EXPECT_EQ(s.trendColumnWidth, 720);
  s = ComputePaneSizes(800, 600, 1.0, 0.0);
  EXPECT_EQ(s.rawRowHeight, 600);
  EXPECT_EQ(s.trendColumnWidth, 0);
  s = ComputePaneSizes(800, 600, -0.3, -1.0);
  EXPECT_EQ(s.rawRowHeight, 0);
  EXPECT_EQ(s.trendColumnWidth, 0);
}

TEST(SplitRatiosAfterDrag, FollowTheDockStates) {
  // Outer 999 x 499, raw pane 299 high, trend pane 399 wide:
  // row (299 + 1) / (499 + 1) = 0.6, column (399 + 1) / (999 + 1) = 0.4.
  struct Case {
    std::uint16_t trend, workspace;
    double row, column;
  };
  const Case cases[] = {
      {kDockShown, kDockShown, 0.6, 0.4},       {kDockShown, kDockFloating, 0.6, 1.0},
      {kDockShown, kDockHidden, 0.6, 0.77},     {kDockHidden, kDockShown, 0.6, 0.77},
      {kDockFloating, kDockShown, 0.6, 0.0},    {kDockFloating, kDockFloating, 1.0, 0.0},
      {kDockHidden, kDockHidden, 0.33, 0.77},   {kDockFloating, kDockHidden, 0.33, 0.77},
  };
  for (const Case& c : cases) {
    double row = 0.33, column = 0.77;
    StoreSplitRatiosFromPanes(DockStates{c.trend, c.workspace}, 999, 499, 299, 399, row, column);
    EXPECT_DOUBLE_EQ(row, c.row) << "states " << c.trend << "," << c.workspace;
    EXPECT_DOUBLE_EQ(column, c.column) << "states " << c.trend << "," << c.workspace;
  }
}
