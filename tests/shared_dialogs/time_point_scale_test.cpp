#include "app/frame/time_point_scale.h"

#include <gtest/gtest.h>

namespace {

TEST(CalendarTime, CarriesSecondsThroughMonthsAndYears) {
  EXPECT_EQ(AddSeconds({2020, 2, 28, 23, 59, 30}, 60), (CalendarTime{2020, 2, 29, 0, 0, 30}));
  EXPECT_EQ(AddSeconds({2021, 12, 31, 23, 0, 0}, 3600), (CalendarTime{2022, 1, 1, 0, 0, 0}));
  EXPECT_EQ(AddSeconds({2000, 11, 1, 0, 0, 0}, -1), (CalendarTime{2000, 10, 31, 23, 59, 59}));
  EXPECT_EQ(SecondsBetween({2000, 11, 1, 0, 0, 0}, {2000, 12, 1, 0, 0, 0}), 30 * 86400);
}

struct DayListCase {
  const char* name;
  bool clock;
  CalendarTime base;
  std::int64_t seconds;  // recording length for the seconds panel
  std::vector<std::string> first;  // leading entries
  std::size_t count;
  std::string last;
};

TEST(TimePointScale, DayListFollowsTheCalendar) {
  const std::vector<DayListCase> cases = {
      {"elapsed, under a day", false, kElapsedBaseDate, 8 * 3600, {" 1"}, 1, " 1"},
      {"clock, 30 Jan 22:00 for 30 h", true, {2021, 1, 30, 22, 0, 0}, 30 * 3600, {"30", "31", " 1"}, 3, " 1"},
      {"clock, ends at midnight", true, {2021, 3, 1, 22, 0, 0}, 2 * 3600, {" 1", " 2"}, 2, " 2"},
      {"clock, 40 days across a month end", true, {2021, 1, 15, 12, 0, 0}, 40 * 86400, {"15", "16"}, 41, "24"},
      {"clock, leap February", true, {2024, 2, 28, 0, 0, 0}, 3 * 86400 - 1, {"28", "29", " 1"}, 3, " 1"},
      {"elapsed, 35 days counts on", false, kElapsedBaseDate, 35 * 86400, {" 1", " 2"}, 36, "36"},
  };
  for (const DayListCase& c : cases) {
    SCOPED_TRACE(c.name);
    const auto s = TimePointScale::ForSeconds(c.clock, c.base, c.seconds);
    const auto days = s.DayEntries();
    ASSERT_EQ(days.size(), c.count);
    for (std::size_t i = 0; i < c.first.size(); ++i) EXPECT_EQ(days[i], c.first[i]);
    EXPECT_EQ(days.back(), c.last);
  }
  // Every entry of a long span is the next calendar day of the one before.
  const auto s = TimePointScale::ForSeconds(true, {2021, 1, 15, 12, 0, 0}, 40 * 86400);
  const auto days = s.DayEntries();
  for (std::size_t i = 1; i < days.size(); ++i) {
    const int prev = std::stoi(days[i - 1]);
    const int cur = std::stoi(days[i]);
    EXPECT_TRUE(cur == prev + 1 || (cur == 1 && prev >= 28)) << i;
  }
}

TEST(TimePointScale, EpochPanelConversionsInClockMode) {
  // 30 January 22:00, 30 hours of 30-s epochs: 3600 epochs.
  const CalendarTime base{2021, 1, 30, 22, 0, 0};
  const auto s = TimePointScale::ForEpochs(true, base, 30, 0, 3599);
  EXPECT_EQ(s.SpanSeconds(), 30 * 3600);
  EXPECT_EQ(s.DayIndexOf(0), 0);
  EXPECT_EQ(s.DayIndexOf(240), 1);  // 2 h after 22:00 is the next day
  EXPECT_EQ(s.SecondOfDayOf(241), 30);
  EXPECT_EQ(s.SliderOf(1801), 5002);
  EXPECT_EQ(s.FromSlider(5001), 1800);
  EXPECT_EQ(s.FromSlider(10000), 3599);  // clamped to the highest epoch
  // The first day's midnight lies before the start: the lowest epoch.
  EXPECT_EQ(s.FromDay(0), 0);
  EXPECT_EQ(s.FromDay(1), 240);
  // 31 January 01:00:00 on the second day.
  EXPECT_EQ(s.FromTime(1, 0, 0, 1), 360);
  // Typing beyond the range clamps.
  EXPECT_EQ(s.Clamp(99999), 3599);
  // The first day ends at 23:59:50 when the span runs past midnight; the last day ends where
  // the span ends.
  const DayTimeLimits first = s.LimitsFor(0, 3);
  EXPECT_EQ(first.from, 22 * 3600);
  EXPECT_EQ(first.to, 86390);
  const DayTimeLimits middle = s.LimitsFor(1, 3);
  EXPECT_EQ(middle.to, 86399);
  EXPECT_EQ(s.LimitsFor(2, 3).to, 4 * 3600);
}

TEST(TimePointScale, EpochPanelEdgesOfTheDayAndSeconds) {
  // A span that ends exactly at midnight: the last day yields the highest epoch.
  const auto s = TimePointScale::ForEpochs(true, {2021, 3, 1, 22, 0, 0}, 30, 0, 239);
  EXPECT_EQ(s.DayEntries().size(), 2u);
  EXPECT_EQ(s.FromDay(1), 239);
  EXPECT_EQ(s.LimitsFor(0, 2).to, 86390);
  // A span inside one day keeps the first day's limit at its end.
  const auto shortSpan = TimePointScale::ForEpochs(true, {2021, 3, 1, 10, 0, 0}, 30, 0, 119);
  EXPECT_EQ(shortSpan.LimitsFor(0, 1).to, 11 * 3600);

  // 10-s epochs, elapsed: raising the seconds from :20 to :21 moves to the epoch at :30;
  // a boundary stays; near the minute's end the step stays within the minute.
  const auto e = TimePointScale::ForEpochs(false, kElapsedBaseDate, 10, 0, 1000);
  EXPECT_EQ(e.FromTime(0, 0, 20, 0), 2);
  EXPECT_EQ(e.FromTime(0, 0, 21, 0), 3);
  EXPECT_EQ(e.FromTime(0, 1, 55, 0), 6);
  EXPECT_EQ(e.FromDay(0), 0);
  EXPECT_EQ(e.LimitsFor(0, 1).to, 10010);
}

TEST(TimePointScale, SecondsPanel) {
  const CalendarTime start{2021, 1, 30, 22, 0, 0};
  const auto s = TimePointScale::ForSeconds(true, start, 30 * 3600);
  EXPECT_EQ(s.FromDay(1), 2 * 3600);           // midnight of the second day
  EXPECT_EQ(s.FromDay(0), 0);                  // before the start: clamped
  EXPECT_EQ(s.FromTime(23, 0, 1, 0), 3601);    // no step adjustment
  EXPECT_EQ(s.FromTime(12, 0, 0, 2), 30 * 3600);  // past the end: clamped
  EXPECT_EQ(s.SliderOf(54011), 5001);
  EXPECT_EQ(s.FromSlider(2501), 27010);
  EXPECT_EQ(s.SecondOfDayOf(7200), 0);
  // An empty recording neither divides by zero nor leaves the range.
  const auto empty = TimePointScale::ForSeconds(false, kElapsedBaseDate, 0);
  EXPECT_EQ(empty.SliderOf(0), 0);
  EXPECT_EQ(empty.FromSlider(9000), 0);
  EXPECT_EQ(empty.DayEntries().size(), 1u);
}

}  // namespace
