#include "app/results/lyr_utility_scroll_bar.h"

#include <algorithm>

int LyrUtilityScrollBar::CreateBar(CQLM2_AnalyzerDoc* doc, const ui::Rect& rect, ui::Window* parent) {
  doc_ = doc;
  if (Create(rect, parent, kControlId) == 0) return 0;
  SetBarRange(0, 1, 0);
  return 1;
}

void LyrUtilityScrollBar::SetBarRange(int maximum, int page, int position) {
  const int newMaximum = std::max(maximum, 0);
  const int newPage = std::max(page, 1);
  const int newPosition = std::clamp(position, 0, newMaximum);
  // Panes set the range from their paint: setting an unchanged range again would repaint the bar,
  // and the pane with it, without end.
  if (shown_ && newMaximum == maximum_ && newPage == page_ && newPosition == position_ && IsWindow()) {
    ui::ScrollInfo now;
    now.fMask = ui::SIF_ALL;
    GetScrollInfo(now);
    if (now.nMax == onControl_.nMax && now.nPage == onControl_.nPage && now.nPos == onControl_.nPos) return;
  }
  maximum_ = newMaximum;
  page_ = newPage;
  position_ = newPosition;
  shown_ = false;
  if (!IsWindow()) return;
  shown_ = true;
  ui::ScrollInfo info;
  info.fMask = ui::SIF_ALL;
  info.nMin = 0;
  info.nMax = maximum_;
  info.nPage = static_cast<std::uint32_t>(page_);
  info.nPos = position_;
  SetScrollInfo(info, true);
  onControl_.fMask = ui::SIF_ALL;
  GetScrollInfo(onControl_);
  UpdateArrowState();
}
