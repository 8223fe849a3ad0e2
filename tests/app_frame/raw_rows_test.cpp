#include <gtest/gtest.h>

#include "app/frame/raw_rows.h"

using Rows = std::vector<int>;

TEST(RawRows, RefreshFollowsTheRowCountOnlyForAllRows) {
  struct Case {
    std::int16_t row;
    std::uint16_t pageRows;
    Rows expected;
  };
  const Case cases[] = {
      {-1, 1, {2}},          {-1, 3, {1, 2, 3}}, {-1, 5, {0, 1, 2, 3, 4}}, {-1, 0, {0, 1, 2, 3, 4}},
      {-1, 2, {0, 1, 2, 3, 4}},
      {0, 1, {0}},  // a hidden row asked by index is still drawn
      {4, 3, {4}},
      {5, 5, {}},  // no such row
      {-2, 5, {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RawRowsToRefresh(c.row, c.pageRows), c.expected) << "row " << c.row << " rows " << c.pageRows;
  }
}

TEST(RawRows, RepaintTakesOneRowOrAllFive) {
  EXPECT_EQ(RawRowsToRepaint(-1), (Rows{0, 1, 2, 3, 4}));
  EXPECT_EQ(RawRowsToRepaint(3), (Rows{3}));
  EXPECT_EQ(RawRowsToRepaint(9), (Rows{}));
}
