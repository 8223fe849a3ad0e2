#pragma once
// The trend window's container in the lower left pane of the main frame.
#include <cstdint>

#include "platform/ui/document.h"

class LyrTrendDummyView : public ui::View {
 public:
  void OnDraw(draw::Dc& dc) override;
  // Moves the epoch cursor of the hypnogram and trend graphs (line -1: none given) and has
  // both panes repaint.
  void SetCursorEpoch(std::int32_t epoch, std::int32_t line = -1);
  std::int32_t CursorEpoch() const { return cursorEpoch_; }

 private:
  std::int32_t cursorEpoch_ = -1;
  std::int32_t cursorLine_ = -1;
};
