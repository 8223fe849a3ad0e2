// The location bar's time line: label spacing by window length, the first tick of a start off
// the interval, and an empty bar or window draws nothing (no division by zero).
#include <gtest/gtest.h>

#include "app/video/lyr_workspace_video_location_view.h"

namespace {

using Bar = LyrWorkspaceVideoLocationView;

TEST(VideoLocationBar, LabelIntervalAtEachThreshold) {
  const std::pair<double, int> cases[] = {{600, 60},       {601, 300},       {1800, 300},    {1801, 600},
                                          {3600, 600},     {3601, 900},      {10800, 900},   {10801, 3600},
                                          {21600, 3600},   {21601, 7200},    {43200, 7200},  {43201, 10800},
                                          {86400, 10800},  {86401, 43200},   {259200, 43200}, {259201, 86400}};
  for (const auto& [d, i] : cases) EXPECT_EQ(Bar::LabelInterval(d), i) << d;
}

TEST(VideoLocationBar, FirstTick) {
  const std::int64_t start = 10 * 3600 + 15 * 60 + 30;  // 10:15:30
  EXPECT_DOUBLE_EQ(Bar::FirstTickOffset(start, 3600, true), 11 * 3600 - start);  // 11:00:00
  EXPECT_DOUBLE_EQ(Bar::FirstTickOffset(11 * 3600, 3600, true), 0.0);             // on the interval
  EXPECT_DOUBLE_EQ(Bar::FirstTickOffset(start, 60, false), 0.0);                  // elapsed time
}

TEST(VideoLocationBar, EmptyBarOrWindowDrawsNothing) {
  int x = -7;
  EXPECT_TRUE(Bar::XOf(50.0, 0.0, 100.0, 200, x));
  EXPECT_EQ(x, 100);
  EXPECT_FALSE(Bar::XOf(50.0, 0.0, 100.0, 0, x));
  EXPECT_FALSE(Bar::XOf(50.0, 10.0, 10.0, 200, x));
}

}  // namespace
