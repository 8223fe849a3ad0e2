// The trend window's commands of the hypnogram strip and the text outputs: "Hypnogram
// Setting" (33042), "Text Output" (33168) and "ECG-RR" (33065).
#include <algorithm>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/main_frame.h"
#include "app/frame/program_settings.h"
#include "app/trend/lyr_trend_frame.h"
#include "app/trend/lyr_trend_hypno_setting.h"
#include "app/trend/lyr_trend_text_dialogs.h"
#include "app/trend/trend_dummy_view.h"
#include "app/trend/trend_settings.h"
#include "app/trend/trend_text_output.h"
#include "platform/ui/app.h"
#include "platform/ui/message_box.h"

namespace {

void WriteSettings() {
  if (CMainFrame* frame = CQLM2_AnalyzerDoc::MainFrame()) frame->WriteResumeFile();
}

}  // namespace

int LyrTrendDummyView::OutputText(const std::string& path, void*, std::int32_t start, std::int32_t end,
                                  int rangeLines) {
  OutputStartEpoch = start;
  OutputEndEpoch = end;
  OutputRangeLines = rangeLines;
  if (OutputToClipboard != 1) OutputPath = path;
  CQLM2_AnalyzerDoc* doc = Doc();
  return doc != nullptr ? WriteTrendTextTable(*doc, path, start, end, rangeLines, this) : 0;
}

void LyrTrendFrame::MapHypnogramCommands() {
  const auto loadedIdle = [](ui::CmdUI& ui) { ui.Enable(DocumentLoaded != 0 && ScreeningRunning == 0); };
  MapCommand(kCmdHypnogramSetting, [this] {
    WriteSettings();
    LyrDlgHypnogramSetting dlg;
    dlg.m_pDoc = Document();
    if (dlg.DoModal() != ui::IDOK) return;
    ApplyDisplaySetting(HypnogramLinesHeld(), dlg.minutes, TrendGraphCountHeld());
    WriteSettings();
  });
  MapUpdate(kCmdHypnogramSetting, loadedIdle);

  MapCommand(kCmdTrendTextOutput, [this] {
    WriteSettings();
    CQLM2_AnalyzerDoc* doc = Document();
    if (doc == nullptr || host_ == nullptr) return;
    LyrDlgTrendTextOutput dlg;
    dlg.m_pDoc = doc;
    dlg.m_StartEpoch = 0;
    dlg.m_EndEpoch = std::max(doc->GetDivNum(EpochSeconds) - 1, 0);
    if (dlg.DoModal() != ui::IDOK) return;
    if (host_->OutputText(dlg.m_Path, &dlg, dlg.m_StartEpoch, dlg.m_EndEpoch, 0) == 1) {
      ui::MessageBeep(ui::MB_ICONINFORMATION);
      ui::MessageBoxId(kStrTextOutputComplete, ui::MB_OK | ui::MB_ICONINFORMATION);
    }
    WriteSettings();
  });
  MapUpdate(kCmdTrendTextOutput, loadedIdle);

  MapCommand(kCmdEcgRrOutput, [this] {
    CQLM2_AnalyzerDoc* doc = Document();
    if (doc == nullptr || host_ == nullptr) return;
    LyrDlgEcgRrTextOutput dlg;
    dlg.m_pDoc = doc;
    dlg.m_StartEpoch = host_->StageArea.GetEpochAt(0);
    dlg.m_EndEpoch = dlg.m_StartEpoch + ShownEpochs() - 1;
    dlg.DoModal();
  });
}
