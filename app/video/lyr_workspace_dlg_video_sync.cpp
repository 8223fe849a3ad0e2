#include "app/video/lyr_workspace_dlg_video_sync.h"

void LyrWorkspaceDlgVideoSync::OnOK() {
  // A moment before the recording's start is taken as its start; the player stands at its
  // first frame until it shows pictures.
  if (m_Offset < 0.0) m_Offset = 0.0;
  EndDialog(ui::IDOK);
}
