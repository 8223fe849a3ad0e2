#include "app/results/lyr_utility_scroll_bar.h"

#include <algorithm>

int LyrUtilityScrollBar::CreateBar(CQLM2_AnalyzerDoc* doc, const ui::Rect& rect, ui::Window* parent) {
  doc_ = doc;
  if (Create(rect, parent, kControlId) == 0) return 0;
  SetBarRange(0, 1, 0);
  return 1;
}

void LyrUtilityScrollBar::SetBarRange(int maximum, int page, int position) {
  maximum_ = std::max(maximum, 0);
  page_ = std::max(page, 1);
  position_ = std::clamp(position, 0, maximum_);
  if (!IsWindow()) return;
  ui::ScrollInfo info;
  info.fMask = ui::SIF_ALL;
  info.nMin = 0;
  info.nMax = maximum_;
  info.nPage = static_cast<std::uint32_t>(page_);
  info.nPos = position_;
  SetScrollInfo(info, true);
  UpdateArrowState();
}
