// Times and picture parts as the video dialogs show them: entry times, the day lists and time
// pickers, and the part of the picture.
#include <gtest/gtest.h>

#include "app/video/video_dialog_times.h"
#include "platform/res/resource_store.h"

namespace {

TEST(VideoDialogTimes, EntryTimeText) {
  const CalendarTime start{2026, 3, 31, 23, 59, 50};
  // Clock time: the recording start plus the whole seconds of t.
  EXPECT_EQ(VideoClockText(true, start, 0.0, 15.9), "26/04/01  00:00:05");
  // Elapsed time counts from the offset; the day field is 1 during the first day.
  EXPECT_EQ(VideoClockText(false, start, 2.5, 12.5), "01.00:00:10");
  EXPECT_EQ(VideoClockText(false, start, 0.0, 86400.0 + 3661.0), "02.01:01:01");
}

TEST(VideoDialogTimes, DayListsFollowTheCalendar) {
  VideoDayScale s;
  s.recordingStart = {2026, 1, 30, 22, 0, 0};
  s.length = 3 * 86400;  // to 2 February, 22:00
  EXPECT_EQ(s.DayItems(), (std::vector<std::string>{"30", "31", " 1", " 2"}));
  s.startTime = 7200.0;  // the base moves to 31 January, 00:00
  EXPECT_EQ(s.DayItems(), (std::vector<std::string>{"31", " 1", " 2", " 3"}));
  s.clock = false;
  EXPECT_EQ(s.DayItems(), (std::vector<std::string>{" 1", " 2", " 3", " 4"}));
  s.length = 86399;
  EXPECT_EQ(s.DayItems(), (std::vector<std::string>{" 1"}));
}

TEST(VideoDialogTimes, PutAndReadBack) {
  VideoDayScale s;
  s.recordingStart = {2026, 5, 1, 23, 0, 0};
  s.startTime = 1.75;  // offset of the fastest channel: the base is 23:00:01
  s.length = 2 * 86400;
  for (bool clock : {true, false}) {
    s.clock = clock;
    for (std::int64_t t : {0LL, 3598LL, 3599LL, 90000LL, 2 * 86400LL}) {
      SCOPED_TRACE(t);
      const VideoDayScale::DayAndTime v = s.Put(t);
      EXPECT_LT(v.secondOfDay, 86400);
      EXPECT_DOUBLE_EQ(s.Read(v.item, v.secondOfDay), static_cast<double>(t) + 1.75);
    }
  }
  s.clock = true;
  // 3599 s after 23:00:01 is the next day's 00:00:00.
  EXPECT_EQ(s.Put(3599).item, 1);
  EXPECT_EQ(s.Put(3599).secondOfDay, 0);
}

TEST(VideoDialogTimes, PickerLimitsOfEachDay) {
  VideoDayScale s;
  s.recordingStart = {2026, 5, 1, 22, 0, 0};  // S0 = 79200
  s.startTime = 10.0;
  struct Case {
    bool clock;
    std::int64_t length;
    int item, count;
    std::int64_t from, to;
  };
  const Case cases[] = {
      {true, 3600, 0, 1, 79200, 79200 + 10 + 3600},  // one day: from the start to the end
      {true, 7200, 0, 2, 79200, 86399},              // past midnight: open to 23:59:59
      {true, 7200, 1, 2, 0, (10 + 79200 + 7200) % 86400},
      {true, 3 * 86400, 1, 4, 0, 86399},             // a middle day
      {false, 3600, 0, 1, 0, 3600},
      {false, 90000, 0, 2, 0, 86399},
      {false, 90000, 1, 2, 0, 90000 % 86400},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.clock << " " << c.length << " item " << c.item);
    s.clock = c.clock;
    s.length = c.length;
    const DayTimeLimits l = s.PickerLimits(c.item, c.count);
    EXPECT_EQ(l.from, c.from);
    EXPECT_EQ(l.to, c.to);
  }
  // A start whose offset passes midnight leaves the first day open to its end.
  s.clock = true;
  s.startTime = 8000.0;
  s.length = 60;
  EXPECT_EQ(s.PickerLimits(0, 2).to, 86399);
}

TEST(VideoDialogTimes, DisplayAreaWordsAndButtons) {
  res::SetLanguage(res::Language::English);
  EXPECT_EQ(DisplayAreaText(0, 0, 0), "All");
  EXPECT_EQ(DisplayAreaText(2, 0, 2), "lower,left");
  EXPECT_EQ(DisplayAreaText(1, 1, 0), "upper,right");
  EXPECT_EQ(DisplayAreaText(2, 1, 1), "middle,middle");
  res::SetLanguage(res::Language::Japanese);
  EXPECT_EQ(DisplayAreaText(2, 0, 2), "下,左");
  res::SetLanguage(res::Language::English);

  EXPECT_EQ(SplitButtonFor(0, 1, 1), 1089);
  EXPECT_EQ(SplitButtonFor(1, 1, 0), 9186);
  EXPECT_EQ(SplitButtonFor(1, 3, 0), 1082);  // another quarter: the lower right one
  EXPECT_EQ(SplitButtonFor(2, 5, 1), 9138);  // past column 2: column 2
  EXPECT_EQ(SplitButtonFor(2, 1, 2), 9142);
}

}  // namespace
