#include "app/trend/trend_settings.h"

#include <algorithm>

#include "app/frame/program_settings.h"

std::uint16_t TrendZoomState = 0;

int HypnogramLinesHeld() { return std::clamp<int>(static_cast<std::int16_t>(TrendSettingWord1), 1, 12); }
int TrendGraphCountHeld() { return std::clamp<int>(static_cast<std::int16_t>(TrendSettingWord2), 1, kMaxTrendGraphs); }
int EpochsPerLineHeld() { return std::max<int>(TrendTimeEpochs, 1); }
int MinutesPerLineHeld() { return std::max<int>(TrendTimeMinutes, 1); }
int ShownEpochs() { return HypnogramLinesHeld() * EpochsPerLineHeld(); }
double& TrendHypnogramRowRatio() { return TrendSplitRatio1; }
double& TrendColumnWidthRatio() { return TrendSplitRatio2; }
std::uint32_t TrendWindowColor() { return TrendColors[1]; }
int ZoomSpanMinutes(int state) {
  static constexpr int kSpans[] = {0, 20, 30, 60, 120};
  return state >= 1 && state <= 4 ? kSpans[state] : 0;
}
