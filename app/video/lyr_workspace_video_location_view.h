#pragma once
// The location bar under the video: the whole recording's time line with labelled ticks, the
// kept play ranges, highlighted segments and the current position; a click seeks there.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/draw/gdi.h"
#include "platform/ui/window.h"

class CVPInfoExchange;

class LyrWorkspaceVideoLocationView : public ui::Window {
 public:
  static constexpr int kFontHeight = 12;
  explicit LyrWorkspaceVideoLocationView(CVPInfoExchange*& video) : video_(video) {}
  int OnCreate() override;
  void OnPaint(draw::Dc& dc) override;
  void OnLButtonUp(std::uint32_t flags, ui::Point client) override;

  // Seconds between labelled ticks for a window of that many seconds.
  static std::int32_t LabelInterval(double windowSeconds);
  // Offset (seconds from the window start) of the first tick: base is the start's clock time
  // of day in seconds (0 without clock display); a start off the interval ticks first at the
  // next whole hour.
  static double FirstTickOffset(std::int64_t base, std::int32_t interval, bool clockDisplay);
  // The x of a time on a bar width pixels wide showing [start, end]; false when the bar or the
  // window is empty (nothing is drawn then).
  static bool XOf(double t, double start, double end, int width, int& x);
  // A tick's label: "day.hour:minute" of the recording's start (year, month, day, hour,
  // minute, second) plus windowStart + offset seconds, or of day 01 plus the offset.
  static std::string FormatTime(double offset, double windowStart, bool clockDisplay,
                                const std::array<std::uint16_t, 7>& start);
  // The whole bar: background, ticks and labels, then the band.
  void DrawBar(draw::Dc& dc);
  // The band alone (ranges, segments, position), on the bar's own surface.
  void UpdateBar();
  void DrawBand(draw::Dc& dc);
  // Highlighted segments (seconds on the video clock) in green, or red with colour choice 1;
  // set by the video file editing dialog for the ranges it edits.
  void SetSegments(std::vector<std::pair<double, double>> segments, int colourChoice);
  const std::vector<std::pair<double, double>>& Segments() const { return segments_; }

  // The shown window (copied from the controller at every drawing).
  double WindowStart = 0.0;
  double WindowEnd = 0.0;
  int BandUpdates = 0;
  // A click that may seek hands over the time (video clock); the frame sets both.
  std::function<bool()> CanSeek;
  std::function<void(double)> Seek;

 private:
  bool TakeWindow();
  CVPInfoExchange*& video_;
  draw::Font font_;
  std::vector<std::pair<double, double>> segments_;
  int colourChoice_ = 0;
};
