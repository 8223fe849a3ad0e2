// The video window's arithmetic: pane layout with the bars on and off, the clock line and the
// tick labels, the sync dialog's fields across midnight, the split buttons, the bar's tips,
// the original size, the stored surface placement and the day lists.
#include <gtest/gtest.h>

#include "app/video/cvp_info_exchange.h"
#include "app/video/lyr_workspace_dlg_video_bar.h"
#include "app/video/lyr_workspace_dlg_video_sync.h"
#include "app/video/lyr_workspace_video_frame.h"
#include "app/video/lyr_workspace_video_location_view.h"
#include "app/video/video_time_fields.h"
#include "app/video/video_window_size.h"
#include "platform/res/resource_store.h"

namespace {

TEST(VideoWindowLayout, BarsTakeTheirHeightFromTheBottomUp) {
  const VideoPaneHeights h = VideoPaneHeightsFor(12, 17);
  EXPECT_EQ(h.time, 29);
  EXPECT_EQ(h.location, 46);
  struct Case {
    int time, location;
    int surfaceBottom, timeTop, locationTop;
  };
  for (const Case& c : {Case{1, 1, 300 - 46 - 29, 300 - 46 - 29, 300 - 46}, Case{0, 1, 300 - 46, 300 - 46, 300 - 46},
                        Case{1, 0, 300 - 29, 300 - 29, 300}, Case{0, 0, 300, 300, 300}}) {
    const VideoPaneLayout l = LayoutVideoPanes(400, 300, VideoBarFlags{1, c.time, c.location});
    EXPECT_EQ(l.surface.bottom, c.surfaceBottom) << c.time << c.location;
    EXPECT_EQ(l.time.top, c.timeTop);
    EXPECT_EQ(l.location.top, c.locationTop);
    EXPECT_EQ(l.location.bottom, 300);
    EXPECT_EQ(l.surface.Width(), 400);
  }
  // A window lower than the bars leaves the surface empty, never negative.
  EXPECT_EQ(LayoutVideoPanes(100, 40, VideoBarFlags{}).surface.Height(), 0);
}

TEST(VideoWindowLayout, ClockLineAndTickLabels) {
  const std::array<std::uint16_t, 7> start{2024, 3, 31, 23, 59, 30, 0};
  using Time = LyrWorkspaceVideoTimeView;
  EXPECT_EQ(Time::FormatClock(45.0, true, start), "24/04/01  00:00:15");
  EXPECT_EQ(Time::FormatClock(-3.0, true, start), "24/03/31  23:59:30") << "never before the start";
  EXPECT_EQ(Time::FormatClock(90061.0, false, start), "02.01:01:01") << "day 01 is the set's first day";
  const std::array<std::uint16_t, 7> odd{1900, 13, 40, 10, 15, 30, 0};
  EXPECT_EQ(Time::FormatClock(30.0, true, odd), "01.10:16:00") << "a year outside 1970..2037";
  using Bar = LyrWorkspaceVideoLocationView;
  EXPECT_EQ(Bar::FormatTime(2670.0, 0.0, true, {2024, 5, 6, 10, 15, 30, 0}), "06.11:00");
  EXPECT_EQ(Bar::FormatTime(3600.0, 0.0, false, start), "01.01:00");
  EXPECT_EQ(Bar::FormatTime(0.0, 0.0, true, odd), "01.10:15") << "year 2002, month 9, day 1 stand in";
}

TEST(VideoSyncDialog, FieldsAcrossMidnightAndBack) {
  const CalendarTime base{2024, 1, 1, 23, 59, 59};
  EXPECT_EQ(VideoSyncFieldsOf(0.0, true, base, 500), (VideoSyncFields{0, 86399, 500}));
  EXPECT_EQ(VideoSyncFieldsOf(0.75, true, base, 500), (VideoSyncFields{1, 0, 250}));
  EXPECT_EQ(VideoSyncFieldsOf(90061.25, false, base, 500), (VideoSyncFields{1, 3661, 250}));
  for (double t : {0.0, 0.75, 12.5, 86400.125}) {
    for (bool clock : {true, false}) {
      const VideoSyncFields f = VideoSyncFieldsOf(t, clock, base, clock ? 500 : 0);
      EXPECT_NEAR(VideoSyncMomentOf(f, clock, base, clock ? 500 : 0, 3.0), t + 3.0, 1e-6) << t << clock;
    }
  }
  // A moment picked before the start reads back negative: OK then takes 0.
  EXPECT_LT(VideoSyncMomentOf({0, 86399, 0}, true, base, 500, 0.0), 0.0);
}

TEST(VideoSplitButtons, BothWays) {
  EXPECT_EQ(VideoSplitButtonFor(2, 1, 2), 9142);
  EXPECT_EQ(VideoSplitOfButton(9142), (std::array<std::uint16_t, 3>{2, 1, 2}));
  for (const VideoSplitButton& b : VideoSplitButtons()) {
    EXPECT_EQ(VideoSplitButtonFor(b.kind, b.column, b.row), b.id);
    EXPECT_EQ(VideoSplitOfButton(b.id), (std::array<std::uint16_t, 3>{b.kind, b.column, b.row}));
  }
  EXPECT_EQ(VideoSplitButtonFor(1, 5, 0), 1082) << "a quarter outside the table";
  EXPECT_EQ(VideoSplitButtonFor(2, 7, 1), 9138) << "a ninth beyond column 2";
  EXPECT_EQ(VideoSplitOfButton(0), (std::array<std::uint16_t, 3>{2, 2, 2})) << "no button set";
}

TEST(VideoBar, ToolTips) {
  res::SetLanguage(res::Language::English);
  EXPECT_EQ(LyrWorkspaceDlgVideoBar::TipText(33121), "Float/Docking");
  EXPECT_EQ(LyrWorkspaceDlgVideoBar::TipText(33122), "Run/Stop");
  EXPECT_EQ(LyrWorkspaceDlgVideoBar::TipText(33123), "");
  EXPECT_EQ(LyrWorkspaceDlgVideoBar::TipText(1), "");
  res::SetLanguage(res::Language::Japanese);
  EXPECT_FALSE(LyrWorkspaceDlgVideoBar::TipText(33121).empty());
  res::SetLanguage(res::Language::English);
}

TEST(VideoWindowSizes, OriginalSizeBySplit) {
  EXPECT_EQ(OriginalVideoSize(0, 640, 480), (VideoWindowSize{640, 480}));
  EXPECT_EQ(OriginalVideoSize(1, 640, 480), (VideoWindowSize{320, 240}));
  EXPECT_EQ(OriginalVideoSize(2, 640, 480), (VideoWindowSize{192, 144}));
  EXPECT_EQ(OriginalVideoSize(3, 640, 480), (VideoWindowSize{320, 240}));
}

TEST(VideoWindowSizes, StoredSurfacePlacement) {
  using R = std::array<std::int32_t, 4>;
  EXPECT_EQ(AppliedWindowRect(R{10, 20, 110, 80}, 300, 200, 1366, 768), (R{310, 220, 410, 280}));
  EXPECT_EQ(AppliedWindowRect(R{-5, 900, 95, 960}, 300, 200, 1366, 768), (R{300, 200, 400, 260}))
      << "off-screen corner from 0";
  EXPECT_EQ(KeepWindowRectOnScreen(R{1300, 700, 1400, 800}, 1366, 768), (R{1265, 667, 1366, 768}));
  EXPECT_EQ(KeepWindowRectOnScreen(R{1300, 10, 1400, 110}, 1366, 768), (R{1300, 10, 1400, 110}))
      << "only past both edges";
}

TEST(VideoTimeFields, DayListsAndPickerRanges) {
  // 31 January 22:00 for 3 days: 31, then 1 .. 3 February.
  const std::vector<std::string> days = VideoDayListItems(true, {2024, 1, 31, 22, 0, 0}, 3 * 86400);
  EXPECT_EQ(days, (std::vector<std::string>{"31", " 1", " 2", " 3"}));
  EXPECT_EQ(VideoDayListItems(true, {2024, 2, 28, 12, 0, 0}, 2 * 86400).size(), 3u) << "leap year: 28, 29, 1";
  EXPECT_EQ(VideoDayListItems(false, {}, 86400), (std::vector<std::string>{" 1", " 2"}));
  // Recording from 22:00 for 5 hours (clock): the first day from 22:00, the last to 03:00.
  const std::int64_t s0 = 22 * 3600;
  EXPECT_EQ(VideoDayTimeRange(0, 2, true, s0, 0, 5 * 3600).from, s0);
  EXPECT_EQ(VideoDayTimeRange(0, 2, true, s0, 0, 5 * 3600).to, 86399);
  EXPECT_EQ(VideoDayTimeRange(1, 2, true, s0, 0, 5 * 3600).to, 3 * 3600);
  EXPECT_EQ(VideoDayTimeRange(1, 3, true, s0, 0, 30 * 3600).to, 86399) << "a middle day is whole";
  EXPECT_EQ(VideoDayTimeRange(0, 1, false, s0, 0, 3600).to, 3600) << "elapsed: from 00:00:00";
}

}  // namespace
