#include "app/video/video_time_fields.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr std::int64_t kDay = 86400;

int DaysInMonth(int year, int month) {
  const std::int64_t first = DaysFromCivil(year, month, 1);
  const std::int64_t next = month == 12 ? DaysFromCivil(year + 1, 1, 1) : DaysFromCivil(year, month + 1, 1);
  return static_cast<int>(next - first);
}

std::string DayText(int day) {
  char text[16];
  std::snprintf(text, sizeof text, "%2d", day);
  return text;
}

}  // namespace

std::vector<std::string> VideoDayListItems(bool clockDisplay, const CalendarTime& base, std::int64_t lengthSeconds) {
  std::vector<std::string> items;
  lengthSeconds = std::max<std::int64_t>(lengthSeconds, 0);
  if (!clockDisplay) {
    for (std::int64_t d = 1; d <= lengthSeconds / kDay + 1; ++d) items.push_back(DayText(static_cast<int>(d)));
    return items;
  }
  const int first = base.day;
  const int last = AddSeconds(base, lengthSeconds).day;
  if (last >= first) {
    for (int d = first; d <= last; ++d) items.push_back(DayText(d));
    return items;
  }
  for (int d = first; d <= DaysInMonth(base.year, base.month); ++d) items.push_back(DayText(d));
  for (int d = 1; d <= last; ++d) items.push_back(DayText(d));
  return items;
}

DayTimeLimits VideoDayTimeRange(int item, int count, bool clockDisplay, std::int64_t startOfDay,
                                std::int64_t startWhole, std::int64_t lengthSeconds) {
  const std::int64_t s0 = clockDisplay ? startOfDay : 0;
  const std::int64_t r = clockDisplay ? startWhole : 0;
  if (item == 0) {
    // The first day: from the start, closed by the end when it falls on the same day.
    const std::int64_t end = s0 + r + lengthSeconds;
    return {s0, s0 + r < kDay ? std::min(end, kDay - 1) : kDay - 1};
  }
  if (item == count - 1) return {0, (r + s0 + lengthSeconds) % kDay};
  return {0, kDay - 1};
}

const std::array<VideoSplitButton, 14>& VideoSplitButtons() {
  static const std::array<VideoSplitButton, 14> buttons = {{{1089, 0, 0, 0},
                                                            {1067, 1, 0, 0},
                                                            {9186, 1, 1, 0},
                                                            {1076, 1, 0, 1},
                                                            {1082, 1, 1, 1},
                                                            {9128, 2, 0, 0},
                                                            {9129, 2, 1, 0},
                                                            {9131, 2, 2, 0},
                                                            {9134, 2, 0, 1},
                                                            {9136, 2, 1, 1},
                                                            {9138, 2, 2, 1},
                                                            {9140, 2, 0, 2},
                                                            {9142, 2, 1, 2},
                                                            {9144, 2, 2, 2}}};
  return buttons;
}

int VideoSplitButtonFor(std::uint16_t kind, std::uint16_t column, std::uint16_t row) {
  if (kind == 2) {
    column = std::min<std::uint16_t>(column, 2);
    row = std::min<std::uint16_t>(row, 2);
  }
  for (const VideoSplitButton& b : VideoSplitButtons())
    if (b.kind == kind && b.column == column && b.row == row) return b.id;
  return kind == 1 ? 1082 : 1089;
}

std::array<std::uint16_t, 3> VideoSplitOfButton(int id) {
  for (const VideoSplitButton& b : VideoSplitButtons())
    if (b.id == id) return {b.kind, b.column, b.row};
  return {2, 2, 2};
}
