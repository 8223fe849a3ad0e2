#pragma once
// Arithmetic of the time-point panels: one point of the recording seen as a calendar day, a
// time of day, a value (epochs or seconds) and a slider position. The panels keep only their
// controls; every conversion between them is here so that it can be checked on its own.
#include <cstdint>
#include <string>
#include <vector>

// A calendar date and time of day (proleptic Gregorian calendar).
struct CalendarTime {
  int year = 2000;
  int month = 1;
  int day = 1;
  int hour = 0;
  int minute = 0;
  int second = 0;
  friend bool operator==(const CalendarTime&, const CalendarTime&) = default;
};

// Days since 1 January 1970 of a date; month and day may lie outside their usual ranges.
std::int64_t DaysFromCivil(int year, int month, int day);
// The time plus a number of seconds (negative allowed), carried through minutes, hours, days,
// months and years.
CalendarTime AddSeconds(const CalendarTime& t, std::int64_t seconds);
// Seconds from a to b.
std::int64_t SecondsBetween(const CalendarTime& a, const CalendarTime& b);

// The date that elapsed-time panels count from.
inline constexpr CalendarTime kElapsedBaseDate{2000, 11, 1, 0, 0, 0};

// Limits of the time picker for the selected day, in seconds of the day.
struct DayTimeLimits {
  std::int64_t from = 0;
  std::int64_t to = 86399;
};

// One panel's scale. The value moves in units of unitSeconds (an epoch length for the epoch
// panel, 1 for the seconds panel) between low and high; spanSeconds is the length the panel
// covers from its base and sliderUnits the number of units the slider's 0..10000 stands for.
class TimePointScale {
 public:
  static constexpr int kSliderMax = 10000;

  // The epoch panel: base = the recording start (clock) or 1 November 2000 (elapsed), plus the
  // offset of the first analysed sample; bounds in epochs.
  static TimePointScale ForEpochs(bool clock, const CalendarTime& base, std::int32_t epochSeconds,
                                  std::int64_t lowestEpoch, std::int64_t highestEpoch);
  // The seconds panel: base = the recording start (clock) or 1 November 2000; bounds 0 and the
  // recording length in seconds.
  static TimePointScale ForSeconds(bool clock, const CalendarTime& base, std::int64_t recordSeconds);

  bool Clock() const { return clock_; }
  const CalendarTime& Base() const { return base_; }
  std::int64_t Low() const { return low_; }
  std::int64_t High() const { return high_; }
  std::int64_t SpanSeconds() const { return span_; }
  // Second of the day of the base in clock mode, 0 in elapsed mode.
  std::int64_t BaseSecondOfDay() const;

  std::int64_t Clamp(std::int64_t v) const;

  // The day list: one entry per calendar day that the span touches, "%2d" of the day of the
  // month in clock mode and of the day's number (1, 2, ...) in elapsed mode. Entry k is the
  // k-th day from the base's day.
  std::vector<std::string> DayEntries() const;
  // Index into the day list of a value.
  int DayIndexOf(std::int64_t v) const;
  // Slider position of a value.
  int SliderOf(std::int64_t v) const;
  // Time of day shown for a value, in seconds of the day.
  std::int64_t SecondOfDayOf(std::int64_t v) const;
  // Picker limits for the selected day of a list of dayCount entries.
  DayTimeLimits LimitsFor(int dayIndex, int dayCount) const;

  // New values, clamped, from each control.
  std::int64_t FromSlider(int position) const;
  // Picker time h:m:s on day k; on the epoch panel a press on the seconds that leaves an epoch
  // boundary moves to the next boundary within the same minute.
  std::int64_t FromTime(int h, int m, int s, int dayIndex) const;
  // The first value that starts on day k.
  std::int64_t FromDay(int dayIndex) const;

 private:
  bool clock_ = false;
  CalendarTime base_ = kElapsedBaseDate;
  std::int64_t unit_ = 1;
  std::int64_t span_ = 0;
  std::int64_t sliderUnits_ = 0;
  std::int64_t low_ = 0;
  std::int64_t high_ = 0;
};
