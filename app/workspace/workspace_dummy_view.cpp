#include "app/workspace/workspace_dummy_view.h"

#include "platform/draw/dc.h"

void LyrWorkspaceDummyView::OnDraw(draw::Dc& dc) {
  const ui::Rect r = GetClientRect();
  dc.FillSolidRect(draw::RectFromSize(0, 0, r.Width(), r.Height()), 0x00FFFFFF);
}
