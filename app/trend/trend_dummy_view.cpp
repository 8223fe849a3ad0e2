#include "app/trend/trend_dummy_view.h"

#include "platform/draw/dc.h"

void LyrTrendDummyView::OnDraw(draw::Dc& dc) {
  const ui::Rect r = GetClientRect();
  dc.FillSolidRect(draw::RectFromSize(0, 0, r.Width(), r.Height()), 0x00FFFFFF);
}

void LyrTrendDummyView::SetCursorEpoch(std::int32_t epoch, std::int32_t line) {
  cursorEpoch_ = epoch;
  cursorLine_ = line;
  Invalidate(false);
}

void LyrTrendDummyView::DrawCursor() {
  ++CursorDraws;
  Invalidate(false);
}
