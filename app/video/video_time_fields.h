#pragma once
// The time fields that the video dialogs share: a day list of the recording's days, a time of
// day picker whose range follows the chosen day, and the fourteen buttons that choose the
// part of the picture shown (whole, a quarter or a ninth).
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "app/frame/time_point_scale.h"

// The items of a day list ("%2d" days of month) for a recording of lengthSeconds starting at
// base: with clock time the days of month it touches (passing a month end: to the end of the
// start month, then from 1), with elapsed time 1 .. length / 86400 + 1.
std::vector<std::string> VideoDayListItems(bool clockDisplay, const CalendarTime& base, std::int64_t lengthSeconds);

// The range of the time picker (seconds of the day) for item `item` of `count` days.
// startOfDay: the recording's start time of day in seconds; startWhole: the whole seconds of
// the recording start time on the video clock; lengthSeconds: the recording's length.
DayTimeLimits VideoDayTimeRange(int item, int count, bool clockDisplay, std::int64_t startOfDay,
                                std::int64_t startWhole, std::int64_t lengthSeconds);

// The split buttons: id and (kind, column, row).
struct VideoSplitButton {
  int id;
  std::uint16_t kind, column, row;
};
const std::array<VideoSplitButton, 14>& VideoSplitButtons();
// The button that shows a split setting: a quarter outside the table is the lower right one,
// a ninth beyond column or row 2 is in column or row 2, anything else the whole picture.
int VideoSplitButtonFor(std::uint16_t kind, std::uint16_t column, std::uint16_t row);
// The setting of a button; (2, 2, 2) for an id that is none of them.
std::array<std::uint16_t, 3> VideoSplitOfButton(int id);
