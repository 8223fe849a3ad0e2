#pragma once
// The trend window's container in the lower left pane of the main frame.
#include "platform/ui/document.h"

class LyrTrendDummyView : public ui::View {
 public:
  void OnDraw(draw::Dc& dc) override;
};
