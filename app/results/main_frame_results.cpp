// The main frame's result-file commands: thin adapters from the frame and the document to
// the result analysis file code.
#include <algorithm>
#include <filesystem>

#include "app/document/epoch_values.h"
#include "app/document/import_plugin.h"
#include "app/document/qlm2_analyzer_app.h"
#include "app/document/qlm2_analyzer_doc.h"
#include "app/document/seizure_finding.h"
#include "app/frame/frame_globals.h"
#include "app/frame/main_frame.h"
#include "app/frame/navigation_state.h"
#include "app/frame/program_settings.h"
#include "app/frame/window_command_states.h"
#include "app/results/lyr_dlg_result_file.h"
#include "app/results/result_analysis_file.h"
#include "app/results/result_strings.h"
#include "app/scoring/learning_sample_file.h"
#include "app/trend/trend_dummy_view.h"
#include "app/workspace/workspace_dummy_view.h"
#include "platform/res/resource_store.h"
#include "platform/ui/common_dialogs.h"
#include "platform/ui/message_box.h"

// Minutes per line of the wave-detect list, kept with the result file's companion settings.
std::int32_t WaveDetectTimeDivision = 60;

namespace {

ResultFileDocument DocumentOf(CQLM2_AnalyzerDoc& d) {
  ResultFileDocument doc{d.EpochTables,   d.RecognitionTables, d.Marks,      d.Params,          d.ChInfo,
                         d.RecordInfo,    d.ResultMemos,       d.LastScreenedEpoch, d.RecordSeconds, d.ResultPath,
                         SeizureMarks,    WaveDetectParam,     WaveDetectTimeDivision,
                         std::max(d.GetRecordSec(), 0), {}, {}, {}};
  // The check value ties a result file to the raw samples of its recording.
  doc.rawSampleSum = [&d](int second, const std::array<int, 32>* flags) {
    return d.GetRawWordSum(second, flags != nullptr ? flags->data() : nullptr);
  };
  doc.pluginDataType = [&d] {
    if (!PluginModule.IsLoaded()) return -1;
    auto dataType = PluginModule.Function<ImpGetDataType>("GetDataType");
    return dataType != nullptr ? dataType(d.RecordInfo.path.c_str()) : -1;
  };
  doc.saveModeSetting = [] {
    if (TheApp()) TheApp()->WriteSetting();
  };
  return doc;
}

std::string FileTitle(const std::string& path) { return std::filesystem::path(path).stem().string(); }

}  // namespace

int CMainFrame::WriteResultAnalysisFile(const std::string& rawPath, const std::string& path, int first, int last,
                                        const std::array<std::string, 5>& memos, const std::array<int, 32>* selected,
                                        bool besideRawOutput) {
  CQLM2_AnalyzerDoc* d = GetDocument();
  if (!d) return 0;
  ResultFileDocument doc = DocumentOf(*d);
  ResultWriteRequest req{rawPath, path, first, last, memos};
  if (selected != nullptr) {
    req.selected = *selected;
    req.selectedCount = static_cast<int>(std::count_if(selected->begin(), selected->end(), [](int f) { return f != 0; }));
  }
  req.besideRawOutput = besideRawOutput;
  ResultFileMessageBoxes boxes;
  return WriteResultFile(doc, req, boxes);
}

int CMainFrame::SaveResultFile() {
  CQLM2_AnalyzerDoc* d = GetDocument();
  if (!d || DocumentLoaded == 0) return 0;
  const bool first = ResultFilePath.empty();
  LyrDlgResultFileOpenSaveWithRange dlg("RAF", FileTitle(first ? d->RecordInfo.path : ResultFilePath),
                                        ui::OFN_HIDEREADONLY | ui::OFN_OVERWRITEPROMPT,
                                        res::LoadString(kIdsResultFileFilter), this);
  dlg.m_pDoc = d;
  dlg.SetInitialFolder(first ? LastFolderPath : std::filesystem::path(ResultFilePath).parent_path().string());
  if (dlg.DoModal() != ui::IDOK) return 0;
  if (!WriteResultAnalysisFile(d->RecordInfo.path, dlg.GetPathName(), dlg.m_StartEpoch, dlg.m_EndEpoch, dlg.m_Memo))
    return 0;
  ResultFilePath = dlg.GetPathName();
  if (LearningSampleMode != 0) WriteMsfFile(ResultFilePath, dlg.m_StartEpoch, dlg.m_EndEpoch);
  return 1;
}

int CMainFrame::WriteMsfFile(const std::string& resultPath, int first, int last) {
  CQLM2_AnalyzerDoc* d = GetDocument();
  if (!d) return 0;
  // The model folder comes from the learning settings when none is known yet.
  if (d->AutoStaging.ModelFolder().empty() && !d->AutoStaging.ReadLearningIni()) d->AutoStaging.SetModelFolder({});
  const LearningSampleSource src{d->RecordInfo.path, d->EpochTables, d->Params.waveForm,
                                 d->Params.stageType.stageType, d->AutoStaging, EpochSeconds};
  if (WriteLearningSampleFile(src, resultPath, first, last)) return 1;
  ui::MessageBox("CMainFrame::WriteMsfFile", ui::MB_OK | ui::MB_ICONEXCLAMATION);
  return 0;
}

void CMainFrame::OpenResultFile(const std::string& path) {
  CQLM2_AnalyzerDoc* d = GetDocument();
  ResultFileMessageBoxes boxes;
  if (DocumentLoaded == 0) {
    // The recording the results belong to is opened first.
    const std::string raw = GetRafRawDataPath(path, boxes);
    if (raw.empty()) return;
    if (std::filesystem::exists(raw)) {
      ResultSaveState = 0;
      if (!TheApp() || !TheApp()->OpenDocumentFile(raw)) boxes.Message(res::LoadString(kIdsRawDataMissing), ui::MB_OK);
    } else {
      std::string text = res::LoadString(kIdsSpecifyRawData);
      if (const auto at = text.find("%s"); at != std::string::npos) text.replace(at, 2, raw);
      if (boxes.Message(text, ui::MB_YESNO) != ui::IDYES)
        boxes.Message(res::LoadString(kIdsRawDataMissing), ui::MB_OK);
      else if (TheApp())
        TheApp()->OnFileOpen();
    }
    d = GetDocument();
    if (DocumentLoaded == 0 || !d) return;
  }
  if (!d) return;
  ResultFileDocument doc = DocumentOf(*d);
  if (!OpenResultProcess(doc, path, boxes)) return;
  ReadResultCompanionFiles(doc, path, boxes);
  d->CurrentEpoch = 0;
  d->CurrentPage = 0;
  if (EpochSeconds > 0) PageSeconds = std::max(PageSeconds / EpochSeconds, 1) * EpochSeconds;
  ResultFilePath = path;
  UpdateFrameBarTime();
  RefreshAllViews(-1);
  // The logic pane comes forward with the results' logic; the other lists follow them.
  WorkspaceTabs.SelectPane(4);
  WorkspaceTabs.ShowSelectedPane(4);
  if (LyrWorkspaceDummyView* ws = WorkspaceView()) ws->RefreshResultPanes(0);
  if (LyrTrendDummyView* trend = TrendView()) trend->AfterResultFileOpened();
}

void CMainFrame::MapResultFileCommands() {
  MapCommand(ID_RESULT_FILE_OPEN, [this] { OnResultFileOpen(); });
  MapCommand(ID_RESULT_FILE_SAVE, [this] { OnResultFileSave(); });
}

void CMainFrame::OnResultFileSave() { SaveResultFile(); }

void CMainFrame::OnResultFileOpen() {
  if (ResultSaveState == 2) {
    ResultFileMessageBoxes boxes;
    ui::MessageBeep(ui::MB_ICONQUESTION);
    const int answer = boxes.Message(res::LoadString(kIdsSaveChangesAndOpen), ui::MB_YESNOCANCEL | ui::MB_ICONQUESTION);
    if (answer == ui::IDCANCEL) return;
    if (answer == ui::IDYES) SaveResultFile();
  }
  LyrDlgResultFileOpenSave dlg(true, "RAF", "", ui::OFN_HIDEREADONLY | ui::OFN_FILEMUSTEXIST,
                               res::LoadString(kIdsResultFileFilter), this);
  dlg.m_pDoc = GetDocument();
  dlg.SetInitialFolder(LastFolderPath);
  if (dlg.DoModal() != ui::IDOK) return;
  OpenResultFile(dlg.GetPathName());
}

void CMainFrame::CheckSaveAndClearResult() {
  // The document has asked whether to save; the results of the recording are cleared.
  if (CQLM2_AnalyzerDoc* d = GetDocument()) {
    d->EpochTables.ClearAll(EpochSeconds);
    d->ResultPath.clear();
  }
  ResultSaveState = 0;
  RefreshAllViews(-1);
  if (LyrWorkspaceDummyView* ws = WorkspaceView()) ws->RefreshResultPanes(1);
  if (LyrTrendDummyView* trend = TrendView()) trend->AfterResultsCleared();
}
