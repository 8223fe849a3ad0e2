#include "app/frame/lyr_splitter_wnd.h"

#include "app/frame/main_frame.h"
#include "platform/ui/frame.h"

namespace {
struct SplitterStyle {
  int barWidth, barHeight, gapWidth, gapHeight;
};
constexpr SplitterStyle kStyles[] = {{8, 8, 8, 8}, {4, 8, 4, 8}, {4, 4, 4, 4}, {8, 8, 8, 8}};
}  // namespace

void LyrSplitterWnd::ApplySplitterStyle() {
  if (SplitterKind > 3) return;
  const SplitterStyle& s = kStyles[SplitterKind];
  // The splitter draws one bar size in both directions: the width between columns.
  SetBarWidth(s.barWidth);
  barHeight_ = s.barHeight;
  gapWidth_ = s.gapWidth;
  gapHeight_ = s.gapHeight;
}

int LyrSplitterWnd::GetSplitterWidth() const { return GetBarWidth(); }

void LyrSplitterWnd::OnBarMoved(bool, int) {
  if (SplitterKind == 0) {
    // The main frame keeps the new ratios and lays its panes out again.
    if (owner_ != nullptr) owner_->StoreSplitRatios();
    return;
  }
  if (SplitterKind > 3) return;
  // The owner is the window that holds the splitter (a raw row) or its frame.
  auto* owner = dynamic_cast<LyrSplitterOwner*>(GetParent());
  if (owner == nullptr) owner = dynamic_cast<LyrSplitterOwner*>(GetParentFrame());
  if (owner != nullptr) owner->OnSplitterDragged(*this);
}
