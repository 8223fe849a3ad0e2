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

bool LyrTrendDummyView::RegisterThresholdEdit(ui::Window* host, int controlId) {
  if (host == nullptr || IsThresholdEdit(host, controlId)) return host != nullptr;
  if (static_cast<int>(thresholdEdits_.size()) >= kThresholdEditCount) return false;
  thresholdEdits_.emplace_back(host, controlId);
  return true;
}

void LyrTrendDummyView::UnregisterThresholdEdits(ui::Window* host) {
  std::erase_if(thresholdEdits_, [host](const auto& e) { return e.first == host; });
}

bool LyrTrendDummyView::IsThresholdEdit(const ui::Window* host, int controlId) const {
  for (const auto& [window, id] : thresholdEdits_)
    if (window == host && id == controlId) return true;
  return false;
}
