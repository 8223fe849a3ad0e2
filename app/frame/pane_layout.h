#pragma once
// Arithmetic of the main frame's splitter layout: raw wave row on top, trend
// (left) and workspace (right) windows below, sized by two stored ratios.
#include <cstdint>

// Dock state of the trend and workspace windows: shown in its pane, floating,
// or hidden (its pane collapsed to nothing).
enum DockState : std::uint16_t { kDockFloating = 0, kDockShown = 1, kDockHidden = 2 };

struct DockStates {
  std::uint16_t trend = kDockShown;
  std::uint16_t workspace = kDockShown;
};

// Dock states derived from the ratios when the frame is built: a column ratio
// below 0.01 hides the trend window, above 0.99 the workspace window, and a row
// ratio above 0.99 hides both.
DockStates DeriveDockStates(double rowRatio, double columnRatio);

// Ideal sizes in pixels of the raw row (height) and of the trend column (width)
// for an outer client area of width x height: trunc(size x ratio), never below 0.
struct PaneSizes {
  int rawRowHeight = 0;
  int trendColumnWidth = 0;
};
PaneSizes ComputePaneSizes(int clientWidth, int clientHeight, double rowRatio, double columnRatio);

// New ratios after the user dragged a splitter bar. outerWidth/outerHeight are the
// outer splitter's client size, rawHeight the raw pane's height and trendWidth the
// trend pane's width. The ratios are changed in place as the dock states allow.
void StoreSplitRatiosFromPanes(DockStates states, int outerWidth, int outerHeight, int rawHeight,
                               int trendWidth, double& rowRatio, double& columnRatio);
