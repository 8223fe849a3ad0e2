#include "app/workspace/workspace_dummy_view.h"

#include "platform/draw/dc.h"

void LyrWorkspaceDummyView::OnDraw(draw::Dc& dc) {
  const ui::Rect r = GetClientRect();
  dc.FillSolidRect(draw::RectFromSize(0, 0, r.Width(), r.Height()), 0x00FFFFFF);
}

void LyrWorkspaceDummyView::OnSize(std::uint32_t sizeType, int cx, int cy) {
  ui::View::OnSize(sizeType, cx, cy);
  for (ui::Window* child : Children()) child->MoveWindow(draw::RectFromSize(0, 0, cx, cy));
}
