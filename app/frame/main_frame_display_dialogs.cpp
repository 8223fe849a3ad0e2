// The frame's display-setting commands: each writes the settings file, runs its
// dialog on the active document and brings the windows up to date afterwards.
#include <exception>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/lyr_frame_bar.h"
#include "app/frame/main_frame.h"
#include "app/frame/navigation_state.h"
#include "app/frame/program_settings.h"
#include "app/raw/lyr_dlg_display_option.h"
#include "app/raw/lyr_raw_display_dialogs.h"
#include "app/raw/lyr_raw_dlg_gain_colour.h"
#include "app/raw/lyr_raw_dlg_operate_wave.h"
#include "app/raw/lyr_raw_dlg_scale_ch.h"
#include "app/raw/lyr_raw_dlg_show_ch.h"
#include "app/raw/lyr_raw_dlg_stage.h"
#include "app/raw/lyr_raw_dlg_type_ch.h"
#include "app/raw/raw_dummy_view.h"
#include "app/workspace/workspace_dummy_view.h"
#include "platform/ui/command.h"
#include "platform/ui/message_box.h"

namespace {
constexpr std::uint32_t kCmdPageTime = 32775;
constexpr std::uint32_t kCmdChannelDisplayInformation = 32777;
constexpr std::uint32_t kCmdShowChannel = 32778;
constexpr std::uint32_t kCmdGain = 32779;
constexpr std::uint32_t kCmdScale = 32780;
constexpr std::uint32_t kCmdColor = 32781;
constexpr std::uint32_t kCmdType = 32782;
constexpr std::uint32_t kCmdDisplayOption = 32790;
constexpr std::uint32_t kCmdStageType = 32805;

// Runs a per-channel dialog with fresh change marks; a failure inside it is shown
// under the handler's name and counts as Cancel.
template <class Dlg>
int RunChannelDialog(CMainFrame& frame, CQLM2_AnalyzerDoc* doc, const char* handler) {
  try {
    Dlg dlg(doc, &frame);
    dlg.ChangeMarks.assign(doc != nullptr ? static_cast<std::size_t>(std::max(doc->RecordInfo.channelCount, 0)) : 0u, 0);
    return dlg.DoModal();
  } catch (const std::exception&) {
    ui::MessageBox(handler);
    return ui::IDCANCEL;
  }
}
}  // namespace

void CMainFrame::RefreshBarCombos(bool gain, bool page, bool showType) {
  if (EpochBar == nullptr) return;
  if (gain) EpochBar->FillGainCombo();
  if (page) EpochBar->FillPageCombo();
  if (showType) EpochBar->FillShowTypeCombo();
}

void CMainFrame::OnPageTime() {
  CQLM2_AnalyzerDoc* doc = GetDocument();
  WriteResumeFile();
  const std::int64_t t = static_cast<std::int64_t>(EpochSeconds) * (doc != nullptr ? doc->CurrentEpoch : 0);
  for (;;) {
    LyrRawDlgPage dlg(doc, this);
    if (dlg.DoModal() != ui::IDOK) return;
    if (doc == nullptr) break;
    doc->CurrentEpoch = EpochSeconds > 0 ? static_cast<std::int32_t>(t / EpochSeconds) : 0;
    doc->CurrentPage = PageSeconds > 0 ? EpochSeconds * doc->CurrentEpoch / PageSeconds : 0;
    if (doc->SetPageData() == 0) break;
  }
  if (LyrRawDummyView* raw = RawView()) raw->LayoutRawFrames();
  RefreshAllViews(-1);
  UpdateFrameBarTime();
  RefreshBarCombos(false, true, false);
  WriteResumeFile();
}

void CMainFrame::OnChannelDisplayInformation() {
  CQLM2_AnalyzerDoc* doc = GetDocument();
  WriteResumeFile();
  LyrRawDlgOperateWave dlg(doc, this);
  if (dlg.DoModal() == ui::IDOK) {
    RefreshBarCombos(false, true, true);
    WriteResumeFile();
  }
  RefreshAllViews(-1);
  RefreshBarCombos(true, false, false);
}

void CMainFrame::OnRawChShow() {
  CQLM2_AnalyzerDoc* doc = GetDocument();
  WriteResumeFile();
  LyrRawDlgShowCh dlg(doc, this);
  if (dlg.DoModal() != ui::IDOK) {
    // A set chosen, saved or deleted before Cancel stays in force: show it.
    if (dlg.SetsChanged) {
      RefreshAllViews(-1);
      RefreshBarCombos(false, false, true);
    }
    return;
  }
  RefreshAllViews(-1);
  RefreshBarCombos(false, false, true);
  WriteResumeFile();
}

void CMainFrame::OnRawChGain() {
  WriteResumeFile();
  if (RunChannelDialog<LyrRawDlgGainCh>(*this, GetDocument(), "CMainFrame::OnRawChGain") == ui::IDOK) {
    WriteResumeFile();
    return;
  }
  RefreshAllViews(-1);
  RefreshBarCombos(true, false, false);
}

void CMainFrame::OnRawChScale() {
  WriteResumeFile();
  if (RunChannelDialog<LyrRawDlgScaleCh>(*this, GetDocument(), "CMainFrame::OnRawChScale") == ui::IDOK)
    WriteResumeFile();
  RefreshAllViews(-1);
}

void CMainFrame::OnRawChType() {
  WriteResumeFile();
  if (RunChannelDialog<LyrRawDlgTypeCh>(*this, GetDocument(), "CMainFrame::OnRawChType") != ui::IDOK) return;
  RefreshAllViews(-1);
  WriteResumeFile();
}

void CMainFrame::OnRawChColor() {
  WriteResumeFile();
  if (RunChannelDialog<LyrRawDlgColorCh>(*this, GetDocument(), "CMainFrame::OnRawChColor") != ui::IDOK) return;
  RefreshAllViews(-1);
  WriteResumeFile();
}

void CMainFrame::OnDisplayOption() {
  CQLM2_AnalyzerDoc* doc = GetDocument();
  WriteResumeFile();
  LyrDlgDisplayOption dlg(doc, this);
  if (dlg.DoModal() != ui::IDOK) return;
  if (LyrRawDummyView* raw = RawView()) raw->LayoutRawFrames();
  RefreshAllViews(-1);
  UpdateFrameBarTime();
  RedrawTrendViews(1);
  RedrawWorkspaceViews();
  WriteResumeFile();
}

void CMainFrame::OnStageType() {
  CQLM2_AnalyzerDoc* doc = GetDocument();
  WriteResumeFile();
  LyrRawDlgStage dlg(doc, this);
  if (dlg.DoModal() != ui::IDOK) return;
  if (doc != nullptr) doc->Params.stageType.Sanitize();
  if (LyrWorkspaceDummyView* ws = WorkspaceView()) ws->StageTypeChanged();
  RefreshAllViews(-1);
  RedrawTrendViews(1);
  RedrawWorkspaceViews();
  WriteResumeFile();
}

void CMainFrame::MapDisplayDialogCommands() {
  MapCommand(kCmdPageTime, [this] { OnPageTime(); });
  MapCommand(kCmdChannelDisplayInformation, [this] { OnChannelDisplayInformation(); });
  MapCommand(kCmdShowChannel, [this] { OnRawChShow(); });
  MapCommand(kCmdGain, [this] { OnRawChGain(); });
  MapCommand(kCmdScale, [this] { OnRawChScale(); });
  MapCommand(kCmdType, [this] { OnRawChType(); });
  MapCommand(kCmdColor, [this] { OnRawChColor(); });
  MapCommand(kCmdDisplayOption, [this] { OnDisplayOption(); });
  MapCommand(kCmdStageType, [this] { OnStageType(); });
  // The channel commands need a recording and no screening run.
  MapUpdateRange(kCmdChannelDisplayInformation, kCmdType,
                 [](ui::CmdUI& ui) { ui.Enable(ScreeningRunning != 1 && DocumentLoaded != 0); });
  MapUpdate(kCmdStageType, [this](ui::CmdUI& ui) {
    const LyrWorkspaceDummyView* ws = WorkspaceView();
    ui.Enable(!(ScreeningRunning != 0 || ScreeningDlg != nullptr || (ws != nullptr && ws->PendingFlag != 0) ||
                MultiScreeningDlg != nullptr));
  });
}
