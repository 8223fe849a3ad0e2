// The main frame's commands that open windows and dialogs, their update handlers, and the
// frame operations those windows call when they end.
#include <algorithm>
#include <cstdio>
#include <exception>

#include "app/document/lyr_dlg_wave_detect.h"
#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/lyr_dlg_analysis_range.h"
#include "app/frame/lyr_dlg_detect_list.h"
#include "app/frame/lyr_dlg_small.h"
#include "app/frame/main_frame.h"
#include "app/frame/navigation_state.h"
#include "app/frame/program_settings.h"
#include "app/frame/shared_dialog_rules.h"
#include "app/frame/window_command_states.h"
#include "app/scoring/dsi_silent_open.h"
#include "app/scoring/lyr_dlg_multi_screening.h"
#include "app/scoring/lyr_dlg_screening.h"
#include "app/trend/trend_dummy_view.h"
#include "app/video/lyr_dlg_make_avi.h"
#include "app/workspace/lyr_workspace_mark_view.h"
#include "app/workspace/workspace_dummy_view.h"
#include "platform/ui/app.h"
#include "platform/ui/message_box.h"

namespace {

// Destroys a modeless window after the message that ended it has been handled.
template <typename T>
void DestroyLater(T* dlg) {
  if (!dlg) return;
  ui::PostTask([dlg] {
    if (dlg->IsWindow()) dlg->DestroyWindow();
    delete dlg;
  });
}

}  // namespace

FrameWindowState CMainFrame::CurrentWindowState() {
  FrameWindowState s;
  s.loaded = DocumentLoaded != 0;
  s.screeningRunning = ScreeningRunning != 0;
  s.screeningPaused = ScreeningRunning == 2;
  s.screeningOpen = ScreeningDlg != nullptr;
  s.multiScreeningOpen = MultiScreeningDlg != nullptr;
  s.reportOpen = IsReportDlgOpen();
  s.analysisRangeOpen = AnalysisRangeDlg != nullptr;
  s.aviOpen = MakeAviDlg != nullptr;
  s.autoPlayRunning = AutoPlayRunning != 0;
  s.videoBound = VideoLibraryBound != 0;
  s.videoPaneBusy = VideoPaneBusy != 0;
  s.videoOpenState = VideoOpenState;
  s.workspaceStateWord = WorkspaceStateWord;
  if (const CQLM2_AnalyzerDoc* doc = GetDocument()) {
    s.analysisFile = doc->RecordInfo.sourceKind == 1;
    const int channels = std::clamp<int>(doc->RecordInfo.channelCount, 0, 32);
    for (int c = 1; c < channels; ++c)
      if (doc->ChInfo[c].rate != doc->ChInfo[0].rate || doc->ChInfo[c].dataCount != doc->ChInfo[0].dataCount)
        s.oneRate = false;
  }
  return s;
}

void CMainFrame::MapWindowCommands() {
  MapCommand(ID_ANALYSIS_RANGE, [this] { OnAnalysisRange(); });
  MapCommand(ID_EPOCH_JUMP, [this] { OnEpochJump(); });
  MapCommand(ID_WAVE_DETECT_SETTING, [this] { OnWaveDetectSetting(); });
  MapCommand(ID_WAVE_DETECT_LIST, [this] { OnWaveDetectList(); });
  MapCommand(ID_SCREENING, [this] { OnScreening(); });
  MapCommand(ID_AVI_OUTPUT, [this] { OnAviOutput(); });
  MapCommand(ID_MULTI_SCREENING, [this] { OpenMultiScreeningDlg(); });
  for (std::uint32_t id : {ID_SCREEN_ITEM, ID_EPOCH_JUMP, ID_DATA_PROCESSING, ID_ANALYSIS_RANGE, ID_SCREENING,
                           ID_WAVE_DETECT_SETTING, ID_WAVE_DETECT_LIST, ID_PARAMETER_OUTPUT, ID_AVI_OUTPUT, ID_VIDEO_FILE_OPEN,
                           ID_RESULT_FILE_COMPARE, ID_MULTI_SCREENING, ID_AUTO_SCROLL, ID_DISPLAY_OPTION, ID_PAGE_TIME,
                           ID_RESULT_FILE_OPEN, ID_RESULT_FILE_SAVE, ID_RAW_TEXT_OUTPUT, ID_PRINT_RAW, ID_RAW_DATA_OUTPUT,
                           ID_CALIBRATION}) {
    MapUpdate(id, [this, id](ui::CmdUI& cmd) {
      const auto state = WindowCommandState(id, CurrentWindowState());
      if (!state) return;
      cmd.Enable(state->enabled);
      if (state->checked >= 0) cmd.SetCheck(state->checked);
    });
  }
}

// ---- Analysis range -------------------------------------------------------------------------

void CMainFrame::OnAnalysisRange() {
  CQLM2_AnalyzerDoc* doc = GetDocument();
  if (!doc || AnalysisRangeDlg) return;
  // Choosing a range makes the tables anew over the whole recording: hand scoring not yet
  // saved is saved first or given up on purpose.
  if (!KeepOrGiveUpUnsavedScoring()) return;
  try {
    auto* dlg = new LyrDlgAnalysisRange(doc, this);
    for (std::size_t i = 0; i < doc->ChInfo.size(); ++i) dlg->m_SavedStart[i] = doc->ChInfo[i].startOffset;
    dlg->m_SavedLength = doc->RecordSeconds;
    // The whole recording while the range is chosen.
    for (LyrChInfo& ch : doc->ChInfo) ch.startOffset = 0;
    const std::int32_t e = std::max<std::int32_t>(EpochSeconds, 1);
    doc->RecordSeconds = std::max<std::int32_t>(doc->GetRecordSec(), 0) / e * e;
    if (doc->Init4ChangeEpochTime(doc->GetDivNum(EpochSeconds), EpochSeconds, doc->RecordInfo.channelCount, 1) == 0) {
      for (std::size_t i = 0; i < doc->ChInfo.size(); ++i) doc->ChInfo[i].startOffset = dlg->m_SavedStart[i];
      doc->RecordSeconds = dlg->m_SavedLength;
      delete dlg;
      return;
    }
    ShowRangeFromStart();
    dlg->SetCloseCallback([this](int code) { EndAnalysisRange(code); });
    AnalysisRangeDlg = dlg;
    if (!dlg->CreateModeless(this)) {
      AnalysisRangeDlg = nullptr;
      delete dlg;
    }
  } catch (const std::exception&) {
    ui::MessageBox("CMainFrame::OnAnalisysRange");
  }
}

void CMainFrame::EndAnalysisRange(int result) {
  CQLM2_AnalyzerDoc* doc = GetDocument();
  if (AnalysisRangeDlg && doc) {
    const int epochs = doc->GetDivNum(EpochSeconds);
    if (result == 1) {
      if (doc->Init4ChangeEpochTime(epochs, EpochSeconds, doc->RecordInfo.channelCount, 1) != 0 &&
          doc->AllocateMark() != 0) {
        ShowRangeFromStart();
        // The marks were made anew: the mark list empties with them.
        if (LyrWorkspaceDummyView* ws = WorkspaceView()) {
          if (LyrWorkspaceMarkView* marks = ws->MarkView()) {
            marks->MarkForRefill();
            marks->UpdateMarkList();
          }
          ws->Invalidate();
        }
        if (VideoLibraryBound != 0) {
          // The video follows the analysed start; nothing to show without a channel to time it.
          std::uint32_t rate = 0;
          std::int16_t channel = -1;
          if (GetMaxChannelRate(&rate, &channel) != 0) {
            VideoTimeOfEpoch = static_cast<double>(doc->ChInfo[static_cast<std::size_t>(channel)].startOffset) / rate;
            if (LyrWorkspaceDummyView* ws = WorkspaceView()) ws->VideoPane.ShowVideoAtTime(VideoTimeOfEpoch);
          }
        }
      }
    } else {
      // The dialog gave the channels their start and length back: the tables and the pages
      // follow them again (the stage records are kept as they are).
      doc->Init4ChangeEpochTime(epochs, EpochSeconds, doc->RecordInfo.channelCount, 0);
      ShowRangeFromStart();
    }
  }
  DestroyLater(AnalysisRangeDlg);
  AnalysisRangeDlg = nullptr;
  RawPreviewMode = 0;
  ui::Window::ReleaseCapture();
  RefreshAllViews(-1);
  UpdateParameterBar();
  if (ScreeningDlg) ScreeningDlg->EndAnalysisRange(result);
}

void CMainFrame::ShowRangeFromStart() {
  CQLM2_AnalyzerDoc* doc = GetDocument();
  if (!doc) return;
  doc->CurrentEpoch = 0;
  doc->CurrentPage = 0;
  doc->SelectedEpoch = -1;
  if (LyrTrendDummyView* trend = TrendView()) trend->SetCursorEpoch(-1, 0);
  doc->SetPageData();
  RefreshAllViews(-1);
  UpdateFrameBarTime();
}

// ---- Epoch jump, wave detection -------------------------------------------------------------

void CMainFrame::OnEpochJump() {
  CQLM2_AnalyzerDoc* doc = GetDocument();
  if (!doc) return;
  LyrDlgEpochJump dlg(doc, this);
  if (dlg.DoModal() != ui::IDOK) return;
  JumpToEpoch(dlg.m_Epoch, 1);
  UpdateFrameBarTime();
}

void CMainFrame::OnWaveDetectSetting() {
  CQLM2_AnalyzerDoc* doc = GetDocument();
  PreviewKind = 0;
  if (!doc || WaveDetectDlg) return;
  try {
    auto* dlg = new LyrDlgWaveDetect(doc, this);
    dlg->SetCloseCallback([this](int) { CloseWaveDetectDlg(); });
    WaveDetectDlg = dlg;
    if (!dlg->CreateModeless(this)) {
      WaveDetectDlg = nullptr;
      delete dlg;
    }
  } catch (const std::exception&) {
    ui::MessageBox("CMainFrame::OnSeizureSet");
  }
}

void CMainFrame::CloseWaveDetectDlg() {
  DestroyLater(WaveDetectDlg);
  WaveDetectDlg = nullptr;
}

void CMainFrame::OnWaveDetectList() {
  CQLM2_AnalyzerDoc* doc = GetDocument();
  PreviewKind = 0;
  if (!doc || WaveDetectListDlg) return;
  try {
    auto* dlg = new LyrDlgDetectList(doc, this);
    dlg->m_JumpToEpoch = [this](std::int32_t epoch) { JumpToEpoch(epoch, 1); };
    dlg->SetCloseCallback([this](int) { CloseDetectListDlg(); });
    WaveDetectListDlg = dlg;
    if (!dlg->CreateModeless(this)) {
      WaveDetectListDlg = nullptr;
      delete dlg;
    }
  } catch (const std::exception&) {
    ui::MessageBox("CMainFrame::OnSeizureList");
  }
}

void CMainFrame::CloseDetectListDlg() {
  DestroyLater(WaveDetectListDlg);
  WaveDetectListDlg = nullptr;
}

// ---- Helpers of other windows -------------------------------------------------------------

int CMainFrame::GetMaxChannelRate(std::uint32_t* rate, std::int16_t* channel) {
  const CQLM2_AnalyzerDoc* doc = GetDocument();
  const ChannelRate r = doc ? FastestChannel(doc->ChInfo.data(), std::clamp<int>(doc->RecordInfo.channelCount, 0, 32), false)
                            : ChannelRate{};
  if (rate) *rate = r.rate;
  if (channel) *channel = r.channel;
  return r.Found() ? 1 : 0;
}

int CMainFrame::GetMaxShownChannelRate(std::uint32_t* rate, std::int16_t* channel) {
  const CQLM2_AnalyzerDoc* doc = GetDocument();
  const ChannelRate r = doc ? FastestChannel(doc->ChInfo.data(), std::clamp<int>(doc->RecordInfo.channelCount, 0, 32), true)
                            : ChannelRate{};
  if (rate) *rate = r.rate;
  if (channel) *channel = r.channel;
  return r.Found() ? 1 : 0;
}

// ---- Screening and AVI output windows -------------------------------------------------------

void CMainFrame::OnScreening() {
  CQLM2_AnalyzerDoc* doc = GetDocument();
  if (!doc || ScreeningDlg) return;
  WriteResumeFile();
  try {
    auto* dlg = new LyrDlgScreening(doc, AnimalOnlyMode != 0 ? IDD_SCREENING_ANIMAL : IDD_SCREENING, this);
    dlg->SetCloseCallback([this](int) { CloseScreeningSettingDlgs(); });
    ScreeningDlg = dlg;
    if (!dlg->CreateModeless(this)) {
      ScreeningDlg = nullptr;
      delete dlg;
      return;
    }
    CentreOnFrame(*dlg);
  } catch (const std::exception&) {
    ui::MessageBox("CMainFrame::OnBatch");
  }
}

void CMainFrame::CloseScreeningSettingDlgs() {
  if (ScreeningDlg) ScreeningDlg->CloseProgress();
  // A model learned for this window goes with it.
  CQLM2_AnalyzerDoc* doc = GetDocument();
  if (ScreeningDlg && doc && LearningSampleMode == 1 && doc->AutoStaging.TreeCount() > 0) doc->AutoStaging.FreeModel();
  DestroyLater(ScreeningDlg);
  if (ScreeningDlg) EnableTrendAndWorkspace(true);
  ScreeningDlg = nullptr;
  RedrawRawFrames(-1);
  RedrawPageFFTViews();
  RedrawTrendViews(0);
  RedrawWorkspaceViews();
}

void CMainFrame::OnAviOutput() {
  if (MakeAviDlg) return;
  WriteResumeFile();
  try {
    auto* dlg = new LyrDlgMakeAvi(this);
    dlg->SetCloseCallback([this](int) { CloseAviDlg(); });
    MakeAviDlg = dlg;
    if (!dlg->CreateModeless(this)) {
      MakeAviDlg = nullptr;
      delete dlg;
      return;
    }
    CentreOnFrame(*dlg);
  } catch (const std::exception&) {
    ui::MessageBox("CMainFrame::OnAviOutput");
  }
}

void CMainFrame::CloseAviDlg() {
  DestroyLater(MakeAviDlg);
  MakeAviDlg = nullptr;
}

void CMainFrame::CentreOnFrame(ui::Window& window) const {
  const ui::Rect frame = GetWindowRect();
  const ui::Rect r = window.GetWindowRect();
  const int x = frame.left + (frame.Width() - r.Width()) / 2;
  const int y = frame.top + (frame.Height() - r.Height()) / 2;
  window.MoveWindow(ui::Rect{x, y, x + r.Width(), y + r.Height()}, false);
}

// ---- Multi-screening window -------------------------------------------------------------------

void CMainFrame::OpenMultiScreeningDlg() {
  // The DSI plug-in asks again while the user sets up a batch.
  SetDsiSilentOpen(0);
  if (MultiScreeningDlg) return;
  auto* dlg = new LyrDlgMultiScreening(this);
  // The window is taken back whenever it ends: the slot is cleared and the window destroyed.
  dlg->SetCloseCallback([this, dlg](int) {
    if (MultiScreeningDlg == dlg) MultiScreeningDlg = nullptr;
    DestroyLater(dlg);
  });
  MultiScreeningDlg = dlg;
  if (!dlg->CreateModeless(this)) {
    MultiScreeningDlg = nullptr;
    delete dlg;
  }
}

void CMainFrame::RedrawTrendViews(int all) {
  if (LyrTrendDummyView* trend = TrendView()) trend->RedrawPanes(all);
}

void CMainFrame::RedrawWorkspaceViews() {
  LyrWorkspaceDummyView* ws = WorkspaceView();
  if (ws == nullptr) return;
  ws->Invalidate();
  // The logic rows follow a changed stage type, logic or screening.
  ws->UpdateLogicList(0);
  if (ui::Window* pane = WorkspaceTabs.PaneWindow(WorkspaceTabs.CurrentPane)) pane->Invalidate();
}
