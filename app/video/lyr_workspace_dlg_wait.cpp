#include "app/video/lyr_workspace_dlg_wait.h"

#include "platform/ui/app.h"

void LyrWorkspaceDlgWait::SetPos(int pos) {
  Item(IDC_VIDEO_WAIT_PROGRESS).SetPos(pos);
  ui::PumpPendingMessages();
}
