#include "app/video/lyr_workspace_dlg_video_split.h"

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/main_frame.h"
#include "app/video/video_time_fields.h"

bool LyrWorkspaceDlgVideoSplit::OnInitDialog() {
  if (CMainFrame* frame = CQLM2_AnalyzerDoc::MainFrame()) frame->CentreOnFrame(*this);
  const int chosen = VideoSplitButtonFor(Kind, Column, Row);
  for (const VideoSplitButton& b : VideoSplitButtons()) Item(b.id).SetCheck(b.id == chosen ? 1 : 0);
  return true;
}

void LyrWorkspaceDlgVideoSplit::OnOK() {
  int chosen = 0;
  for (const VideoSplitButton& b : VideoSplitButtons())
    if (Item(b.id).GetCheck() == 1) chosen = b.id;
  const auto split = VideoSplitOfButton(chosen);
  Kind = split[0];
  Column = split[1];
  Row = split[2];
  EndDialog(ui::IDOK);
}
