// The frame's display commands (epoch length, trend and workspace windows,
// actual-size scales), the epoch-offset and page buttons, the bar toggles and
// mode commands, and closing the frame.
#include <cmath>

#include "app/document/close_questions.h"
#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/lyr_frame_bar.h"
#include "app/frame/main_frame.h"
#include "app/frame/navigation_state.h"
#include "app/frame/oo_toolbar.h"
#include "app/frame/program_settings.h"
#include "app/raw/lyr_raw_dlg_epoch.h"
#include "app/trend/trend_dummy_view.h"
#include "app/workspace/workspace_dummy_view.h"
#include "platform/draw/dc.h"
#include "platform/draw/gdi.h"
#include "platform/system/key_state.h"
#include "platform/ui/app.h"
#include "platform/ui/command.h"
#include "platform/ui/message_box.h"
#include "platform/ui/messages.h"

namespace {

constexpr std::uint32_t kCmdEpochTime = 32776;
constexpr std::uint32_t kCmdWorkspaceWindow = 32788;
constexpr std::uint32_t kCmdTrendWindow = 32789;
constexpr std::uint32_t kCmdFirstOffset = 33016;  // offset -5 .. +5 up to 33026
constexpr std::uint32_t kCmdPagesDown = 33027;
constexpr std::uint32_t kCmdPagesUp = 33028;
constexpr std::uint32_t kCmdStandardBar = 33169;
constexpr std::uint32_t kCmdWaveViewBar = 32829;
constexpr std::uint32_t kCmdWaveParameterBar = 32830;
constexpr std::uint32_t kSysMinimize = 0xF020;
constexpr std::uint32_t kSysMaximize = 0xF030;
// The frame's own wording of the unsaved-results question.
constexpr std::uint32_t kIdsFrameSaveResults = 61001;

// The close questions asked by the frame itself.
class FrameQuestionHost : public CloseQuestionHost {
 public:
  explicit FrameQuestionHost(CMainFrame& frame) : frame_(frame) {}
  int AskQuestion(std::uint32_t stringId, bool withCancel) override {
    ui::MessageBeep(ui::MB_ICONQUESTION);
    if (stringId == kIdsSaveResults) stringId = kIdsFrameSaveResults;
    return ui::MessageBoxId(stringId, withCancel ? ui::MB_YESNOCANCEL : ui::MB_YESNO);
  }
  bool SaveResults() override { return frame_.SaveResultFile() != 0; }
  void SaveEditedVideoRanges() override { frame_.SaveEditedVideoRanges(); }

 private:
  CMainFrame& frame_;
};

}  // namespace

void CMainFrame::UpdateFrameBarTime() {
  CQLM2_AnalyzerDoc* doc = GetDocument();
  if (EpochBar == nullptr || doc == nullptr) return;
  EpochBar->UpdateTimeTexts(doc->CurrentEpoch);
  EpochBar->SetSliderPos(doc->CurrentEpoch);
}

bool CMainFrame::KeepOrGiveUpUnsavedScoring() {
  if (ResultModifiedState != 2) return true;
  FrameQuestionHost host(*this);
  const int answer = host.AskQuestion(kIdsSaveResults, true);
  return answer == ui::IDNO || (answer == ui::IDYES && host.SaveResults());
}

// ---- Epoch length -----------------------------------------------------------------

void CMainFrame::OnEpochTime() {
  CQLM2_AnalyzerDoc* doc = GetDocument();
  WriteResumeFile();
  const std::int32_t oldEpoch = EpochSeconds;
  const std::int32_t oldPage = PageSeconds;
  const std::int64_t t = static_cast<std::int64_t>(oldEpoch) * (doc != nullptr ? doc->CurrentEpoch : 0);
  bool askedToSave = false;
  for (;;) {
    LyrRawDlgEpoch dlg(doc, this);
    if (dlg.DoModal() != ui::IDOK) return;
    if (DocumentLoaded == 0 || doc == nullptr) {
      RefreshAllViews(-1);
      WriteResumeFile();
      return;
    }
    if (EpochSeconds == oldEpoch) {
      doc->CurrentEpoch = static_cast<std::int32_t>(t / EpochSeconds);
      doc->CurrentPage = PageSeconds > 0 ? EpochSeconds * doc->CurrentEpoch / PageSeconds : 0;
    } else {
      // New tables replace the scored ones: unsaved scoring is saved first or given
      // up on purpose, never dropped without a word. Asked once per change.
      if (!askedToSave) {
        askedToSave = true;
        if (!KeepOrGiveUpUnsavedScoring()) {
          EpochSeconds = oldEpoch;
          PageSeconds = oldPage;
          return;
        }
      }
      doc->CurrentEpoch = 0;
      doc->CurrentPage = 0;
      std::int32_t seconds = doc->GetRecordSec();
      if (doc->RecordInfo.channelCount > 0 && doc->ChInfo[0].rate > 0)
        seconds -= doc->ChInfo[0].startOffset / doc->ChInfo[0].rate;
      if (seconds < 0) seconds = 0;
      doc->RecordSeconds = EpochSeconds * (seconds / EpochSeconds);
      const int epochs = doc->GetDivNum(EpochSeconds);
      if (doc->Init4ChangeEpochTime(epochs, EpochSeconds, doc->RecordInfo.channelCount, 1) == 0 ||
          doc->AllocateMark() == 0)
        continue;
      doc->PageEndEpoch = -1;
      ResultModifiedState = 0;
      if (EpochSeconds == 8 && doc->Params.logicOption.lastStageMode == 1) doc->Params.logicOption.lastStageMode = 0;
      if (LyrTrendDummyView* trend = TrendView()) trend->Invalidate();
      if (LyrWorkspaceDummyView* ws = WorkspaceView()) ws->Invalidate();
    }
    if (doc->SetPageData() != 0) continue;
    break;
  }
  RefreshAllViews(-1);
  UpdateFrameBarTime();
  if (LyrTrendDummyView* trend = TrendView()) trend->Invalidate();
  if (EpochBar != nullptr) EpochBar->FillPageCombo();
  if (LyrWorkspaceDummyView* ws = WorkspaceView()) ws->Invalidate();
  WriteResumeFile();
}

// ---- Trend and workspace windows -------------------------------------------------

void CMainFrame::ToggleBottomWindow(bool trend) {
  std::uint16_t& own = trend ? TrendWindowDockState : WorkspaceWindowDockState;
  const std::uint16_t other = trend ? WorkspaceWindowDockState : TrendWindowDockState;
  // The column ratio that gives the whole row to the window shown.
  const double soleColumn = trend ? 1.0 : 0.0;
  const double hiddenColumn = trend ? 0.0 : 1.0;
  if (own == kDockFloating) return;
  if (own == kDockHidden) {
    own = kDockShown;
    if (other == kDockShown) {
      PaneColumnRatio = SavedPaneColumnRatio;
    } else {
      PaneColumnRatio = soleColumn;
      PaneRowRatio = SavedPaneRowRatio;
    }
  } else {
    own = kDockHidden;
    if (other == kDockShown) {
      SavedPaneColumnRatio = PaneColumnRatio;
      PaneColumnRatio = hiddenColumn;
    } else {
      SavedPaneRowRatio = PaneRowRatio;
      PaneColumnRatio = 0.0;
      PaneRowRatio = 1.0;
    }
  }
  LayoutPanes();
}

// ---- Actual-size display ------------------------------------------------------------

int CMainFrame::CheckScreenSizeMillimetres() {
  int valid = 1;
  if (!(ScreenWidthMm > 0.0)) {
    ScreenWidthMm = 360.0;
    valid = 0;
  }
  if (!(ScreenHeightMm > 0.0)) {
    ScreenHeightMm = 260.0;
    valid = 0;
  }
  return valid;
}

void CMainFrame::CalcActualSizeScale(draw::Dc* dc, double* vertical, double* horizontal, double unit) {
  double perCmX = 0.0;
  double perCmY = 0.0;
  if (PrintTarget != 0 && dc != nullptr) {
    perCmX = dc->GetDeviceCaps(draw::LOGPIXELSX) / 2.54;
    perCmY = dc->GetDeviceCaps(draw::LOGPIXELSY) / 2.54;
  } else {
    CheckScreenSizeMillimetres();
    const draw::ScreenMetrics screen = draw::GetScreenMetrics();
    perCmX = screen.widthPx / (ScreenWidthMm * 0.1);
    perCmY = screen.heightPx / (ScreenHeightMm * 0.1);
  }
  // A page of the wave display spans 30 cm.
  if (horizontal != nullptr) *horizontal = (PageSeconds > 0 ? 300.0 / PageSeconds : 0.0) * 0.1 * perCmX;
  if (vertical != nullptr) *vertical = unit != 0.0 ? perCmY / unit : 0.0;
}

// ---- Epoch-offset and page buttons -------------------------------------------------

void CMainFrame::OnShiftEpoch(int offset) {
  CQLM2_AnalyzerDoc* doc = GetDocument();
  if (offset != 0 && doc != nullptr && WaveFollowFlag != 0) {
    JumpToEpoch(doc->CurrentEpoch + offset, 1);
    RedrawRawFrames(2);
    UpdateFrameBarTime();
  }
  ActivateFrame();
  SetFocus();
}

// ---- Closing and system commands ----------------------------------------------------

bool CMainFrame::AviCapturing() const { return MakeAviDlg != nullptr && AviRunning != 0; }

void CMainFrame::OnClose() {
  const bool ctrl = sys::IsKeyDown(sys::VirtualKey::Control);
  CQLM2_AnalyzerDoc* doc = GetDocument();
  if (DocumentLoaded != 0 && !ctrl) {
    if (ScreeningRunning == 1 || ForbidsClosingRecording()) return;
    FrameQuestionHost host(*this);
    std::uint32_t calibration = doc != nullptr ? doc->CalibrationChanged : 0;
    const bool goOn = AskBeforeClosingRecording(host, calibration, CloseReason::Close);
    if (doc != nullptr) doc->CalibrationChanged = calibration;
    if (!goOn) return;
    if (doc != nullptr && doc->CalibrationChanged != 0) RebuildRawFileCalibration();
  }
  WriteResumeFile();
  // The recording is let go as the program ends: its plug-in, and the user's permissions on
  // the own raw file made read-only while it was open.
  if (doc != nullptr) doc->LetGoAtExit();
  ui::Frame::OnClose();
}

void CMainFrame::OnGetMinMaxInfo(ui::MinMaxInfo& info) {
  if (!AviCapturing()) return;
  const ui::Rect r = GetWindowRect();
  info.minTrackWidth = info.maxTrackWidth = r.Width();
  info.minTrackHeight = info.maxTrackHeight = r.Height();
}

std::intptr_t CMainFrame::WindowProc(std::uint32_t msg, std::uintptr_t wParam, std::intptr_t lParam) {
  if (msg == ui::WM_GETMINMAXINFO && lParam != 0) OnGetMinMaxInfo(*reinterpret_cast<ui::MinMaxInfo*>(lParam));
  // The frame keeps its size and state while the AVI output captures it.
  if (msg == ui::WM_SYSCOMMAND && DocumentLoaded != 0 && AviCapturing() &&
      (wParam == kSysMinimize || wParam == kSysMaximize))
    return 0;
  const std::intptr_t result = ui::Frame::WindowProc(msg, wParam, lParam);
  // After a change of the system settings the standard bar measures its buttons anew.
  if (msg == ui::WM_SETTINGCHANGE) {
    if (auto* bar = dynamic_cast<COOExToolBar*>(StandardBar)) bar->SetTextLabels(false);
  }
  return result;
}

// ---- Command table ----------------------------------------------------------------------

void CMainFrame::MapDisplayCommands() {
  MapDisplayDialogCommands();
  MapCommand(kCmdEpochTime, [this] { OnEpochTime(); });
  MapUpdate(kCmdEpochTime, [this](ui::CmdUI& ui) {
    const LyrWorkspaceDummyView* ws = WorkspaceView();
    ui.Enable(!((VideoOpen != 0 && VideoPlaying != 0) || ScreeningRunning != 0 || ScreeningDlg != nullptr ||
                (ws != nullptr && ws->PendingFlag != 0) || MultiScreeningDlg != nullptr));
  });
  MapCommand(kCmdTrendWindow, [this] { ToggleBottomWindow(true); });
  MapCommand(kCmdWorkspaceWindow, [this] { ToggleBottomWindow(false); });
  MapUpdate(kCmdTrendWindow, [](ui::CmdUI& ui) {
    ui.Enable(TrendWindowDockState != kDockFloating && ScreeningRunning != 1);
    ui.SetCheck(TrendWindowDockState == kDockShown ? 1 : 0);
  });
  MapUpdate(kCmdWorkspaceWindow, [](ui::CmdUI& ui) {
    ui.Enable(WorkspaceWindowDockState != kDockFloating && ScreeningRunning != 1);
    ui.SetCheck(WorkspaceWindowDockState == kDockShown ? 1 : 0);
  });

  for (int offset = -5; offset <= 5; ++offset) {
    const std::uint32_t id = kCmdFirstOffset + static_cast<std::uint32_t>(offset + 5);
    MapCommand(id, [this, offset] { OnShiftEpoch(offset); });
    MapUpdate(id, [this, offset](ui::CmdUI& ui) {
      CQLM2_AnalyzerDoc* doc = GetDocument();
      bool on = true;
      if (doc != nullptr && offset < 0) on = doc->CurrentEpoch + offset >= 0;
      if (doc != nullptr && offset > 0) on = doc->CurrentEpoch + offset < NavEpochCount(*doc);
      if (ScreeningRunning == 1) on = false;
      ui.Enable(on);
    });
  }
  MapCommand(kCmdPagesDown, [this] { HandleNavigationKey(ui::WM_KEYDOWN, ui::VK_PRIOR, 0, 0); });
  MapCommand(kCmdPagesUp, [this] { HandleNavigationKey(ui::WM_KEYDOWN, ui::VK_NEXT, 0, 0); });
  MapUpdate(kCmdPagesDown, [this](ui::CmdUI& ui) {
    CQLM2_AnalyzerDoc* doc = GetDocument();
    ui.Enable(doc != nullptr && doc->PageRows != 1 && doc->CurrentPage != 0 && ScreeningRunning != 1);
  });
  MapUpdate(kCmdPagesUp, [this](ui::CmdUI& ui) {
    CQLM2_AnalyzerDoc* doc = GetDocument();
    bool on = doc != nullptr && doc->PageRows != 1 && ScreeningRunning != 1;
    if (on) {
      const int perPage = NavEpochsPerPage();
      const int epochs = NavEpochCount(*doc);
      const int pages = perPage > 0 ? (epochs + perPage - 1) / perPage : 0;
      on = doc->CurrentPage != pages - 1;
    }
    ui.Enable(on);
  });

  MapCommand(kCmdStandardBar, [this] { ToggleBar(StandardBar, StandardBarShown); });
  MapCommand(kCmdWaveViewBar, [this] { ToggleBar(EpochBar, WaveViewBarShown); });
  MapCommand(kCmdWaveParameterBar, [this] { ToggleBar(ParameterBar, WaveParameterBarShown); });
  for (auto [id, flag] : {std::pair{kCmdStandardBar, &StandardBarShown}, std::pair{kCmdWaveViewBar, &WaveViewBarShown},
                          std::pair{kCmdWaveParameterBar, &WaveParameterBarShown}}) {
    MapUpdate(id, [flag = flag](ui::CmdUI& ui) {
      ui.Enable(ScreeningRunning != 1);
      ui.SetCheck(*flag != 0 ? 1 : 0);
    });
  }
  MapUpdate(ui::ID_FILE_NEW, [this](ui::CmdUI& ui) {
    ui.Enable(DocumentLoaded != 0 && ScreeningRunning == 0 && MultiScreeningDlg == nullptr);
  });
}

void CMainFrame::ToggleBar(ui::ControlBar* bar, std::uint32_t& flag) {
  flag = flag != 0 ? 0 : 1;
  if (bar != nullptr) ShowControlBar(bar, flag != 0, false);
}
