#pragma once
// Times and picture parts as the video dialogs show them: an entry's start and end as text,
// the day lists and time pickers that hold a time of the recording (a day and a time of day),
// and the part of the picture an auto-play entry shows.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "app/frame/time_point_scale.h"
#include "app/video/video_time_fields.h"

inline constexpr std::int64_t kSecondsPerDay = 86400;

// A time on the video clock as text. Clock time: the recording start plus trunc(t) seconds,
// "%y/%m/%d  %H:%M:%S". Elapsed time: 1 September 2002 plus trunc(t - offset) seconds,
// "%d.%H:%M:%S" (the day field is 1 during the first 24 hours).
std::string VideoClockText(bool clock, const CalendarTime& recordingStart, double offset, double t);

// The day lists and time pickers of the range dialogs. The base is the recording start plus
// trunc(recording start time) seconds (clock time only); the length is whole seconds of the
// recording on the video clock.
struct VideoDayScale {
  bool clock = true;
  CalendarTime recordingStart;  // the document's recording start
  double startTime = 0.0;       // the controller's recording start time (video clock)
  std::int64_t length = 0;      // trunc(recording end time - recording start time)

  CalendarTime Base() const;
  // Seconds of day of the base (0 in elapsed time).
  std::int64_t BaseSecondOfDay() const;
  // Items of a day list: day-of-month numbers "%2d" (clock), or 1 .. days (elapsed).
  std::vector<std::string> DayItems() const;
  // t whole seconds after the recording start time as a day item and a time of day.
  struct DayAndTime {
    int item = 0;
    std::int64_t secondOfDay = 0;
  };
  DayAndTime Put(std::int64_t t) const;
  // A day item and a time of day back as a time on the video clock.
  double Read(int item, std::int64_t secondOfDay) const;
  // The time picker's limits (seconds of day) while a day item is selected.
  DayTimeLimits PickerLimits(int item, int itemCount) const;
};

// The picture part of an entry (kind 0 whole, 1 quarters, 2 ninths) as text: "All", or the
// row word, ",", the column word.
std::string DisplayAreaText(std::uint16_t kind, std::uint16_t column, std::uint16_t row);

// The fourteen buttons that choose a picture part, each with its kind, column and row.
using SplitButton = VideoSplitButton;
// The video window's own table of the fourteen buttons.
extern const std::array<SplitButton, 14>& kSplitButtons;
// The button of a part: kind 1 with another column or row gives the lower right quarter, kind 2
// past column 2 the buttons of column 2.
int SplitButtonFor(std::uint16_t kind, std::uint16_t column, std::uint16_t row);
