#pragma once
// The trend window's display settings under the names the window uses, over the slots of
// the settings file: hypnogram lines (TrendSettingWord1), graph count (TrendSettingWord2),
// minutes and epochs per line (TrendTimeMinutes, TrendTimeEpochs), the hypnogram row and
// information column ratios (TrendSplitRatio1, TrendSplitRatio2). Counts read from the
// file are held to their ranges where they are used, so no division meets a zero.
#include <cstdint>

// Armed zoom span: 0 none, 1 = 20 min, 2 = 30 min, 3 = 60 min, 4 = 120 min.
extern std::uint16_t TrendZoomState;

// Hypnogram lines, 1..12.
int HypnogramLinesHeld();
// Trend graphs shown, 1..20.
int TrendGraphCountHeld();
// Epochs per line, at least 1.
int EpochsPerLineHeld();
// Minutes per line, at least 1.
int MinutesPerLineHeld();
// The display slots: lines x epochs per line.
int ShownEpochs();
// Height of the hypnogram row and width of the hypnogram and graph column over the trend
// frame's client area (the second at 1.0 hides the information column).
double& TrendHypnogramRowRatio();
double& TrendColumnWidthRatio();
// The trend windows' background (TrendColors[1]).
std::uint32_t TrendWindowColor();
// Zoom span in minutes of an armed state 1..4; 0 otherwise.
int ZoomSpanMinutes(int state);
