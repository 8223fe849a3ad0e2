#pragma once
// The result-file comparison window ("Hypnogram Utility"): an overlapped frame of its own with
// menu 227, opened by the main frame's Result File Compare command.
#include <functional>

#include "platform/ui/frame.h"

inline constexpr std::uint32_t IDR_UTILITY_HYPNOGRAM = 227;

class LyrUtilityHypnogramFrame : public ui::Frame {
 public:
  LyrUtilityHypnogramFrame();
  // The time scale of the window's graphs in minutes.
  void SetTrendTimeScale(int minutes) { m_TimeScaleMinutes = minutes; }
  void OnClose() override;
  void PostNcDestroy() override;

  int m_TimeScaleMinutes = 0;
  // Told after the window is gone, so that its opener forgets it.
  std::function<void()> Closed;
};
