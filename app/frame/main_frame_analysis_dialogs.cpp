// The analysis settings windows that stay open beside the wave display (wave-form
// recognition and sleep-disturbance recognition), the "Other" settings, and what the frame
// does when they close.
#include <exception>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/main_frame.h"
#include "app/scoring/lyr_dlg_screening.h"
#include "app/settings/lyr_raw_dlg_other.h"
#include "app/settings/lyr_raw_dlg_sleep_disturbance_parent.h"
#include "app/settings/lyr_raw_dlg_wave_form_recognition.h"
#include "app/settings/lyr_raw_dlg_wfr_result.h"
#include "app/trend/trend_dummy_view.h"
#include "app/workspace/workspace_dummy_view.h"
#include "platform/ui/app.h"
#include "platform/ui/command.h"
#include "platform/ui/message_box.h"

namespace {

constexpr std::uint32_t kIdWaveFormRecognition = 32800;
constexpr std::uint32_t kIdModifySleepDisturbance = 32801;
constexpr int kRestartCode = 1000;

template <typename T>
void DestroyDialogLater(T* dlg) {
  if (dlg == nullptr) return;
  ui::PostTask([dlg] {
    if (dlg->IsWindow()) dlg->DestroyWindow();
    delete dlg;
  });
}

}  // namespace

void CMainFrame::MapAnalysisDialogCommands() {
  // A right click on a recognised wave of the page opens its list.
  InstallWaveListHook();
  MapCommand(kIdWaveFormRecognition, [this] { OnRawWaveFormRecognition(); });
  MapUpdate(kIdWaveFormRecognition, [this](ui::CmdUI& cmd) {
    const bool open = WaveFormRecognitionDlg != nullptr;
    cmd.Enable(!open);
    cmd.SetCheck(open ? 1 : 0);
  });
  MapCommand(kIdModifySleepDisturbance, [this] { OpenDlgDisturbFormRecognition(0); });
  // One setup window at a time: the Screening window opens its own.
  MapUpdate(kIdModifySleepDisturbance, [this](ui::CmdUI& cmd) {
    UpdateSetupWindowCommand(cmd, ScreeningDlg != nullptr || SleepDisturbanceParentDlg != nullptr);
  });
}

void CMainFrame::OnRawWaveFormRecognition() {
  CQLM2_AnalyzerDoc* doc = GetDocument();
  PreviewKind = 0;
  if (doc == nullptr || WaveFormRecognitionDlg != nullptr) return;
  try {
    auto* dlg = new LyrRawDlgWaveFormRecognition(doc);
    dlg->SetCloseCallback([this](int code) { CloseWaveFormRecognitionDlg(code == ui::IDOK ? 1 : code); });
    WaveFormRecognitionDlg = dlg;
    if (!dlg->CreateModeless(this)) {
      WaveFormRecognitionDlg = nullptr;
      delete dlg;
    }
  } catch (const std::exception&) {
    ui::MessageBox("CMainFrame::OnRawWaveFormRecognition");
  }
}

void CMainFrame::CloseWaveFormRecognitionDlg(int code) {
  DestroyDialogLater(WaveFormRecognitionDlg);
  WaveFormRecognitionDlg = nullptr;
  if (code == kRestartCode) {
    // A restart: the Screening window and the recognition window open anew.
    if (ScreeningDlg != nullptr) {
      CloseScreeningSettingDlgs();
      OnScreening();
    }
    OnRawWaveFormRecognition();
    return;
  }
  PreviewKind = 0;
  RawPreviewMode = 0;
  ui::Window::ReleaseCapture();
  RefreshAllViews(-1);
  // The free-band names may have changed: the parameter lists and values follow.
  ReloadParameterCombos();
  UpdateParameterBar();
  if (ScreeningDlg != nullptr) ScreeningDlg->EndWaveformRecognition(code);
}

void CMainFrame::OpenDlgDisturbFormRecognition(int caller) {
  CQLM2_AnalyzerDoc* doc = GetDocument();
  PreviewKind = 0;
  if (doc == nullptr || SleepDisturbanceParentDlg != nullptr) return;
  try {
    auto* dlg = new LyrRawDlgSleepDisturbanceParent(doc, caller);
    dlg->SetCloseCallback([this](int code) { CloseSleepDisturbanceParentDlg(code == ui::IDOK ? 1 : code); });
    SleepDisturbanceParentDlg = dlg;
    if (!dlg->CreateModeless(this)) {
      SleepDisturbanceParentDlg = nullptr;
      delete dlg;
    }
  } catch (const std::exception&) {
    ui::MessageBox("CMainFrame::OpenDlgDisturbFormRecognition");
  }
}

void CMainFrame::CloseSleepDisturbanceParentDlg(int code) {
  DestroyDialogLater(SleepDisturbanceParentDlg);
  SleepDisturbanceParentDlg = nullptr;
  PreviewKind = 0;
  RawPreviewMode = 0;
  ui::Window::ReleaseCapture();
  RefreshAllViews(-1);
  RedrawWorkspaceViews();
  if (ScreeningDlg != nullptr) ScreeningDlg->EndSleepDisturbance(code);
}

int CMainFrame::RunOtherSettings(LyrRawDlgOther& dlg) {
  dlg.m_pDoc = GetDocument();
  if (dlg.m_pDoc == nullptr) return ui::IDCANCEL;
  const int result = dlg.DoModal();
  if (result == ui::IDOK) AdjustAnalysisSettings();
  return result;
}

void CMainFrame::OnOtherSettings() {
  if (GetDocument() == nullptr) return;
  LyrRawDlgOther dlg(this);
  if (RunOtherSettings(dlg) == ui::IDOK) WriteResumeFile();
}

void CMainFrame::EnableTrendAndWorkspace(bool enable) {
  if (LyrTrendDummyView* trend = TrendView()) trend->EnableWindow(enable);
  if (LyrWorkspaceDummyView* ws = WorkspaceView()) ws->EnableWindow(enable);
}
