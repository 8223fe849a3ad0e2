#include "app/workspace/lyr_workspace_area_view.h"

#include "app/workspace/lyr_workspace_area_tab_ctrl.h"
#include "platform/draw/dc.h"

int LyrWorkspaceAreaView::OnCreate() {
  if (tabs_ != nullptr && !tabs_->IsWindow()) {
    tabs_->CreateStrip(this);
    tabs_->ShowSelectedPane(0);
  }
  return 0;
}

void LyrWorkspaceAreaView::OnSize(std::uint32_t, int cx, int cy) {
  if (tabs_ != nullptr && tabs_->IsWindow()) tabs_->MoveWindow(draw::RectFromSize(0, 0, cx, cy));
}
