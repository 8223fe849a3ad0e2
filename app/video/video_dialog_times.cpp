#include "app/video/video_dialog_times.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/res/resource_store.h"

namespace {

constexpr CalendarTime kElapsedVideoBase{2002, 9, 1, 0, 0, 0};

constexpr std::uint32_t kIdsAll = 64908;
constexpr std::uint32_t kIdsUpper = 64909;
constexpr std::uint32_t kIdsMiddle = 64910;
constexpr std::uint32_t kIdsLower = 64911;
constexpr std::uint32_t kIdsLeft = 64912;
constexpr std::uint32_t kIdsRight = 64913;

std::int64_t Trunc(double v) { return static_cast<std::int64_t>(std::trunc(v)); }

int DaysInMonth(int year, int month) {
  return static_cast<int>(DaysFromCivil(year, month + 1, 1) - DaysFromCivil(year, month, 1));
}

}  // namespace

std::string VideoClockText(bool clock, const CalendarTime& recordingStart, double offset, double t) {
  char text[48];
  if (clock) {
    const CalendarTime c = AddSeconds(recordingStart, Trunc(t));
    std::snprintf(text, sizeof text, "%02d/%02d/%02d  %02d:%02d:%02d", c.year % 100, c.month, c.day, c.hour, c.minute,
                  c.second);
  } else {
    const CalendarTime c = AddSeconds(kElapsedVideoBase, Trunc(t - offset));
    std::snprintf(text, sizeof text, "%02d.%02d:%02d:%02d", c.day, c.hour, c.minute, c.second);
  }
  return text;
}

CalendarTime VideoDayScale::Base() const { return AddSeconds(recordingStart, Trunc(startTime)); }

std::int64_t VideoDayScale::BaseSecondOfDay() const {
  if (!clock) return 0;
  const CalendarTime b = Base();
  return b.hour * 3600LL + b.minute * 60LL + b.second;
}

std::vector<std::string> VideoDayScale::DayItems() const {
  std::vector<int> days;
  if (clock) {
    const int first = Base().day;
    const int last = AddSeconds(Base(), std::max<std::int64_t>(length, 0)).day;
    if (last >= first) {
      for (int d = first; d <= last; ++d) days.push_back(d);
    } else {
      // The recording passes a month end.
      const int monthDays = DaysInMonth(recordingStart.year, recordingStart.month);
      for (int d = first; d <= monthDays; ++d) days.push_back(d);
      for (int d = 1; d <= last; ++d) days.push_back(d);
    }
  } else {
    const std::int64_t count = std::max<std::int64_t>(length, 0) / kSecondsPerDay + 1;
    for (std::int64_t d = 1; d <= count; ++d) days.push_back(static_cast<int>(d));
  }
  std::vector<std::string> items;
  items.reserve(days.size());
  for (int d : days) {
    char text[16];
    std::snprintf(text, sizeof text, "%2d", d);
    items.emplace_back(text);
  }
  return items;
}

VideoDayScale::DayAndTime VideoDayScale::Put(std::int64_t t) const {
  const std::int64_t v = std::max<std::int64_t>(t, 0) + BaseSecondOfDay();
  return {static_cast<int>(v / kSecondsPerDay), v % kSecondsPerDay};
}

double VideoDayScale::Read(int item, std::int64_t secondOfDay) const {
  const std::int64_t v = static_cast<std::int64_t>(item) * kSecondsPerDay + secondOfDay - BaseSecondOfDay();
  return static_cast<double>(v) + startTime;
}

DayTimeLimits VideoDayScale::PickerLimits(int item, int itemCount) const {
  constexpr std::int64_t kLast = kSecondsPerDay - 1;
  const std::int64_t s0 = recordingStart.hour * 3600LL + recordingStart.minute * 60LL + recordingStart.second;
  const std::int64_t r = Trunc(startTime);
  const std::int64_t l = std::max<std::int64_t>(length, 0);
  if (item == 0) {
    if (!clock) return {0, std::min(l, kLast)};
    if (s0 + r >= kSecondsPerDay) return {s0, kLast};
    return {s0, std::min(s0 + r + l, kLast)};
  }
  if (item == itemCount - 1) return {0, clock ? (r + s0 + l) % kSecondsPerDay : l % kSecondsPerDay};
  return {0, kLast};
}

std::string DisplayAreaText(std::uint16_t kind, std::uint16_t column, std::uint16_t row) {
  if (kind == 0) return res::LoadString(kIdsAll);
  // Quarters have no middle: their second row and column are the lower and right ones.
  const bool four = kind == 1;
  const auto word = [four](int index, std::uint32_t first, std::uint32_t last) {
    const int at = std::min(index, four ? 1 : 2);
    return at == 0 ? first : (at == 1 && !four) ? kIdsMiddle : last;
  };
  return res::LoadString(word(row, kIdsUpper, kIdsLower)) + "," + res::LoadString(word(column, kIdsLeft, kIdsRight));
}

const std::array<SplitButton, 14>& kSplitButtons = VideoSplitButtons();

int SplitButtonFor(std::uint16_t kind, std::uint16_t column, std::uint16_t row) {
  if (kind == 0) return 1089;
  if (kind == 2) column = std::min<std::uint16_t>(column, 2);
  for (const SplitButton& b : kSplitButtons)
    if (b.kind == kind && b.column == column && b.row == row) return b.id;
  return kind == 1 ? 1082 : 9144;
}
