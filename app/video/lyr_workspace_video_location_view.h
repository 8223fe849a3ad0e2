#pragma once
// The location bar under the video: the whole set's time line with its ticks, the kept ranges,
// highlighted segments and the current position. Its geometry, apart from any window.
#include <cstdint>

class LyrWorkspaceVideoLocationView {
 public:
  // Seconds between labelled ticks for a window of that many seconds.
  static std::int32_t LabelInterval(double windowSeconds);
  // Offset (seconds from the window start) of the first tick: base is the start's clock time
  // of day in seconds (0 without clock display); a start off the interval ticks first at the
  // next whole hour.
  static double FirstTickOffset(std::int64_t base, std::int32_t interval, bool clockDisplay);
  // The x of a time on a bar width pixels wide showing [start, end]; false when the bar or the
  // window is empty (nothing is drawn then).
  static bool XOf(double t, double start, double end, int width, int& x);
};
