#pragma once
// The workspace window's container in the lower right pane of the main frame.
#include "platform/ui/document.h"

class LyrWorkspaceDummyView : public ui::View {
 public:
  void OnDraw(draw::Dc& dc) override;
  // Set while the workspace has an operation pending that blocks some commands.
  int PendingFlag = 0;
};
