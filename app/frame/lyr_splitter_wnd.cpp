#include "app/frame/lyr_splitter_wnd.h"

#include "app/frame/main_frame.h"

void LyrSplitterWnd::ApplyStyle() {
  // Style 0 is the only one the program uses: bars and gaps of 8 pixels.
  SetBarWidth(8);
}

void LyrSplitterWnd::OnBarMoved(bool, int) {
  if (owner_ != nullptr) owner_->StoreSplitRatios();
}
