// The main frame's cut of the open recording into a new raw data file, and its calibration
// command.
#include <algorithm>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/lyr_dlg_calibration.h"
#include "app/frame/main_frame.h"
#include "app/frame/program_settings.h"
#include "app/raw/raw_dummy_view.h"
#include "app/results/lyr_dlg_raw_data_output.h"
#include "app/results/raw_output_file.h"
#include "platform/ui/dialog.h"

int CMainFrame::RawOutput(const std::string& path, std::int32_t first, std::int32_t last,
                          const std::array<std::int32_t, 32>& selected) {
  CQLM2_AnalyzerDoc* doc = GetDocument();
  if (doc == nullptr) return 0;
  return rawout::WriteRawOutput(*doc, path, first, last, selected);
}

void CMainFrame::OnRawDataOutput() {
  CQLM2_AnalyzerDoc* doc = GetDocument();
  if (doc == nullptr) return;
  WriteResumeFile();
  LyrDlgRawDataOutput dlg(doc, this);
  dlg.m_VideoAvailable = 0;  // the video copy comes with the video player
  if (dlg.DoModal() != ui::IDOK) return;
  // A failed cut stops here: a result file or video copy would describe a file that is not there.
  if (RawOutput(dlg.m_Path, dlg.m_StartEpoch, dlg.m_EndEpoch, dlg.m_ChannelSelected) == 0) return;
  if (dlg.m_ResultOutput != 0) {
    std::array<int, 32> flags{};
    std::copy(dlg.m_ChannelSelected.begin(), dlg.m_ChannelSelected.end(), flags.begin());
    WriteResultAnalysisFile(dlg.m_Path, RawOutputResultPath(dlg.m_Path), dlg.m_StartEpoch, dlg.m_EndEpoch,
                            doc->ResultMemos, &flags, true);
  }
  WriteResumeFile();
}

void CMainFrame::OnCalibration() {
  CQLM2_AnalyzerDoc* doc = GetDocument();
  if (doc == nullptr) return;
  WriteResumeFile();
  {
    LyrDlgCalibration dlg(doc, this);
    if (dlg.DoModal() != ui::IDOK) return;
  }
  // Every per-epoch table is made anew for the new values; when that fails the user gets the
  // dialog again.
  while (doc->Init4ChangeEpochTime(doc->GetDivNum(EpochSeconds), EpochSeconds, doc->RecordInfo.channelCount, 0) == 0) {
    LyrDlgCalibration again(doc, this);
    if (again.DoModal() != ui::IDOK) return;
  }
  doc->SetPageData();
  RefreshAllViews(-1);
  RedrawPageFFTViews();
  if (LyrRawDummyView* view = RawView()) view->UpdateWindow();
  UpdateFrameBarTime();
  WriteResumeFile();
}
