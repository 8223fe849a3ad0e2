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
#include "app/video/cvp_info_exchange.h"
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
  dlg.m_VideoAvailable = VideoLibraryBound != 0 ? 1 : 0;
  if (dlg.DoModal() != ui::IDOK) return;
  // A failed cut stops here: a result file or video copy would describe a file that is not there.
  if (RawOutput(dlg.m_Path, dlg.m_StartEpoch, dlg.m_EndEpoch, dlg.m_ChannelSelected) == 0) return;
  if (dlg.m_VideoOutput != 0) {
    // The range on the video clock: the fastest channel's time of the first and last epoch.
    int best = -1;
    for (int c = 0; c < doc->RecordInfo.channelCount && c < static_cast<int>(doc->ChInfo.size()); ++c)
      if (best < 0 || doc->ChInfo[static_cast<std::size_t>(c)].rate > doc->ChInfo[static_cast<std::size_t>(best)].rate)
        best = c;
    CVPInfoExchange* video = VideoController();
    if (video != nullptr && best >= 0 && doc->ChInfo[static_cast<std::size_t>(best)].rate > 0) {
      const double r = doc->ChInfo[static_cast<std::size_t>(best)].rate;
      const double o = doc->ChInfo[static_cast<std::size_t>(best)].startOffset;
      const double e = EpochSeconds;
      video->OutputVideoFile(dlg.m_Path, (e * r * dlg.m_StartEpoch + o) / r, (e * r * dlg.m_EndEpoch + o) / r);
    }
  }
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
