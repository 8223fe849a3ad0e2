#include "app/frame/pane_layout.h"

#include <cmath>

DockStates DeriveDockStates(double rowRatio, double columnRatio) {
  DockStates states;
  if (columnRatio < 0.01) states.trend = kDockHidden;
  if (columnRatio > 0.99) states.workspace = kDockHidden;
  if (rowRatio > 0.99) {
    states.trend = kDockHidden;
    states.workspace = kDockHidden;
  }
  return states;
}

namespace {
int ScaledSize(int size, double ratio) {
  const double scaled = std::trunc(static_cast<double>(size) * ratio);
  // A ratio read from a damaged settings file must not produce a wild size.
  if (!(scaled > 0.0)) return 0;
  if (scaled > static_cast<double>(size)) return size > 0 ? size : 0;
  return static_cast<int>(scaled);
}
}  // namespace

PaneSizes ComputePaneSizes(int clientWidth, int clientHeight, double rowRatio, double columnRatio) {
  PaneSizes sizes;
  sizes.rawRowHeight = ScaledSize(clientHeight, rowRatio);
  sizes.trendColumnWidth = ScaledSize(clientWidth, columnRatio);
  return sizes;
}

void StoreSplitRatiosFromPanes(DockStates states, int outerWidth, int outerHeight, int rawHeight,
                               int trendWidth, double& rowRatio, double& columnRatio) {
  const double row = (rawHeight + 1.0) / (outerHeight + 1.0);
  const double column = (trendWidth + 1.0) / (outerWidth + 1.0);
  const auto t = states.trend;
  const auto w = states.workspace;
  if (t == kDockShown && w == kDockShown) {
    rowRatio = row;
    columnRatio = column;
  } else if (t == kDockShown && w == kDockFloating) {
    rowRatio = row;
    columnRatio = 1.0;
  } else if ((t == kDockShown && w == kDockHidden) || (t == kDockHidden && w == kDockShown)) {
    rowRatio = row;
  } else if (t == kDockFloating && w == kDockShown) {
    columnRatio = 0.0;
    rowRatio = row;
  } else if (t == kDockFloating && w == kDockFloating) {
    rowRatio = 1.0;
    columnRatio = 0.0;
  }
}
