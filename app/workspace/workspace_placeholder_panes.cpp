#include "app/workspace/workspace_placeholder_panes.h"

#include "platform/draw/dc.h"

void LyrWorkspaceEmptyPane::OnDraw(draw::Dc& dc) {
  const ui::Rect r = GetClientRect();
  dc.FillSolidRect(draw::RectFromSize(0, 0, r.Width(), r.Height()), 0x00FFFFFF);
}

int LyrWorkspaceEmptyPane::RunDialog(std::uint32_t command) {
  DialogsRun.push_back(command);
  return DialogAnswer;
}
