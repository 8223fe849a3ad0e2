// The workspace menu's commands whose dialogs and outputs belong to the spectrum, stage-graph,
// vigilance-state and mark panes and to the reports: the frame's part of each (which pane
// comes forward, when the settings are written, what follows an OK) and their enable rules.
#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/main_frame.h"
#include "app/results/lyr_dlg_animal_report.h"
#include "app/results/lyr_dlg_report.h"
#include "app/workspace/lyr_workspace_area_tab_ctrl.h"
#include "app/workspace/lyr_workspace_frame.h"
#include "app/workspace/workspace_dummy_view.h"
#include "app/workspace/lyr_workspace_dlg_marks.h"
#include "app/workspace/lyr_workspace_dlg_vsp.h"
#include "app/workspace/lyr_workspace_stage_graph_view.h"
#include "app/workspace/lyr_workspace_vsp_view.h"
#include "app/workspace/workspace_placeholder_panes.h"
#include "platform/ui/app.h"
#include "platform/ui/message_box.h"
#include "platform/ui/messages.h"

namespace {
constexpr std::uint32_t kCmdFftChannelsEpoch = 32828;
constexpr std::uint32_t kCmdFftChannelsPage = 32824;
constexpr std::uint32_t kCmdFftParameter = 32826;
constexpr std::uint32_t kCmdFftScale = 32825;
constexpr std::uint32_t kCmdAverageFft = 32846;
constexpr std::uint32_t kCmdContinuousFft = 32832;
constexpr std::uint32_t kCmdStageGraphSetup = 32956;
constexpr std::uint32_t kCmdStageGraphText = 32959;
constexpr std::uint32_t kCmdStageGraphPrint = 33066;
constexpr std::uint32_t kCmdVspSetup = 32849;
constexpr std::uint32_t kCmdVspText = 32850;
constexpr std::uint32_t kCmdMarkType = 33152;
constexpr std::uint32_t kCmdMarkList = 33154;
constexpr std::uint32_t kCmdMarkSumUp = 33155;
constexpr std::uint32_t kCmdHumanReport = 33044;
constexpr std::uint32_t kCmdAnimalReport = 33163;

CMainFrame* Main() { return CQLM2_AnalyzerDoc::MainFrame(); }

bool UsualEnable() {
  const CMainFrame* frame = Main();
  return DocumentLoaded != 0 && ScreeningRunning != 1 && (frame == nullptr || frame->MultiScreeningDlg == nullptr);
}

void WriteSettings() {
  if (CMainFrame* frame = Main()) frame->WriteResumeFile();
}

bool AnyPageFftChannel(const CQLM2_AnalyzerDoc& doc) {
  for (std::int32_t c : doc.Params.fftPageChannels.channels)
    if (c >= 0) return true;
  return false;
}
}  // namespace

void LyrWorkspaceFrame::BringPane(int id) {
  if (tabs_ == nullptr) return;
  tabs_->SelectPane(id);
  tabs_->ShowSelectedPane(id);
}

LyrWorkspaceEmptyPane* LyrWorkspaceFrame::PaneOf(int id) const {
  return tabs_ != nullptr ? dynamic_cast<LyrWorkspaceEmptyPane*>(tabs_->PaneWindow(id)) : nullptr;
}

int LyrWorkspaceFrame::RunPaneDialog(int pane, std::uint32_t command) {
  LyrWorkspaceEmptyPane* p = PaneOf(pane);
  return p != nullptr ? p->RunDialog(command) : ui::IDCANCEL;
}

void LyrWorkspaceFrame::AfterSpectrumSettings() {
  if (m_pDoc != nullptr) m_pDoc->SetPageData();
  if (CMainFrame* frame = Main()) frame->RedrawPageFFTViews();
  if (LyrWorkspaceEmptyPane* epoch = PaneOf(3)) {
    epoch->Invalidate();
    epoch->UpdateWindow();
  }
  WriteSettings();
}

int LyrWorkspaceFrame::OnStageGraphSetup() {
  BringPane(6);
  WriteSettings();
  LyrWorkspaceStageGraphView* graph = StageGraphPane();
  if (graph == nullptr || graph->RunSetupDialog() != ui::IDOK) return 0;
  graph->OutputText(2);
  graph->Invalidate();
  graph->UpdateWindow();
  WriteSettings();
  return 1;
}

LyrWorkspaceStageGraphView* LyrWorkspaceFrame::StageGraphPane() const {
  return tabs_ != nullptr ? dynamic_cast<LyrWorkspaceStageGraphView*>(tabs_->PaneWindow(6)) : nullptr;
}

LyrWorkspaceVSPView* LyrWorkspaceFrame::VSPPane() const {
  return tabs_ != nullptr ? dynamic_cast<LyrWorkspaceVSPView*>(tabs_->PaneWindow(5)) : nullptr;
}

int LyrWorkspaceFrame::StageGraphRows() const {
  const LyrWorkspaceStageGraphView* graph = StageGraphPane();
  return graph != nullptr ? graph->TableRows() : 0;
}

int LyrWorkspaceFrame::EpisodeRows() const {
  const LyrWorkspaceVSPView* vsp = VSPPane();
  return vsp != nullptr ? vsp->EpisodeRows() : 0;
}

void LyrWorkspaceFrame::MapAnalysisCommands() {
  for (std::uint32_t id : {kCmdFftChannelsEpoch, kCmdFftChannelsPage, kCmdFftParameter, kCmdFftScale, kCmdAverageFft,
                           kCmdContinuousFft, kCmdStageGraphSetup, kCmdStageGraphText, kCmdStageGraphPrint,
                           kCmdVspSetup, kCmdVspText, kCmdAnimalReport})
    MapUpdate(id, [](ui::CmdUI& c) { c.Enable(UsualEnable()); });

  MapCommand(kCmdFftChannelsEpoch, [this] {
    WriteSettings();
    if (RunPaneDialog(3, kCmdFftChannelsEpoch) != ui::IDOK) return;
    if (m_pDoc != nullptr) m_pDoc->CalcEpochFFTData();
    if (LyrWorkspaceEmptyPane* epoch = PaneOf(3)) {
      epoch->Invalidate();
      epoch->UpdateWindow();
    }
    BringPane(3);
    WriteSettings();
  });
  MapCommand(kCmdFftChannelsPage, [this] {
    const bool before = m_pDoc != nullptr && AnyPageFftChannel(*m_pDoc);
    if (RunPaneDialog(3, kCmdFftChannelsPage) != ui::IDOK || m_pDoc == nullptr) return;
    WriteSettings();
    m_pDoc->SetPageData();
    const bool now = AnyPageFftChannel(*m_pDoc);
    CMainFrame* frame = Main();
    if (before && now) {
      DividedFftMode = 1;
      if (frame != nullptr) frame->RedrawPageFFTViews();
    } else {
      // The page-spectrum panes come or go with the rows.
      DividedFftMode = now ? 1 : 0;
      if (frame != nullptr) frame->RedrawRawFrames(-1);
    }
  });
  MapCommand(kCmdFftParameter, [this] {
    WriteSettings();
    if (RunPaneDialog(3, kCmdFftParameter) == ui::IDOK) AfterSpectrumSettings();
  });
  MapCommand(kCmdFftScale, [this] {
    WriteSettings();
    if (RunPaneDialog(3, kCmdFftScale) == ui::IDOK) AfterSpectrumSettings();
  });
  MapCommand(kCmdAverageFft, [this] {
    WriteSettings();
    RunPaneDialog(3, kCmdAverageFft);
  });
  MapCommand(kCmdContinuousFft, [this] {
    WriteSettings();
    RunPaneDialog(3, kCmdContinuousFft);
  });

  MapCommand(kCmdStageGraphSetup, [this] { OnStageGraphSetup(); });
  MapCommand(kCmdStageGraphText, [this] {
    WriteSettings();
    if (StageGraphRows() == 0 && OnStageGraphSetup() == 0) return;
    if (StageGraphRows() == 0) return;
    if (LyrWorkspaceStageGraphView* graph = StageGraphPane()) graph->RunTextDialog();
    WriteSettings();
  });
  MapCommand(kCmdStageGraphPrint, [this] {
    if (StageGraphRows() == 0) {
      if (OnStageGraphSetup() == 1)
        if (LyrWorkspaceStageGraphView* graph = StageGraphPane()) graph->Print();
      return;
    }
    BringPane(6);
    if (LyrWorkspaceStageGraphView* graph = StageGraphPane()) graph->Print();
  });

  MapCommand(kCmdVspSetup, [this] { OnVSPSetup(); });
  MapCommand(kCmdVspText, [this] {
    WriteSettings();
    if (EpisodeRows() == 0) OnVSPSetup();
    if (EpisodeRows() > 0) RunVSPTextDialog(VSPPane(), this);
  });

  // Marks: a recording with marks, no screening and neither screening window open.
  auto markEnable = [this](bool needsTable) {
    return [this, needsTable](ui::CmdUI& c) {
      const CMainFrame* frame = Main();
      const CQLM2_AnalyzerDoc* doc = m_pDoc;
      const bool marks = doc != nullptr && doc->Marks.MarksPresent() != 0;
      const bool table = doc != nullptr && doc->Marks.FlagLength() > 0;
      const bool windows = frame == nullptr || (frame->ScreeningDlg == nullptr && frame->MultiScreeningDlg == nullptr);
      c.Enable(DocumentLoaded != 0 && marks && ScreeningRunning != 1 && windows && (!needsTable || table));
    };
  };
  MapUpdate(kCmdMarkType, markEnable(false));
  MapUpdate(kCmdMarkList, markEnable(true));
  MapUpdate(kCmdMarkSumUp, markEnable(true));
  MapCommand(kCmdMarkType, [this] { OpenMarkTypeDlg(); });
  MapCommand(kCmdMarkList, [this] {
    LyrWorkspaceDlgMarkList dlg(m_pDoc, this);
    dlg.DoModal();
  });
  MapCommand(kCmdMarkSumUp, [this] {
    LyrWorkspaceDlgMarkSumUp dlg(m_pDoc, this);
    dlg.DoModal();
    WriteSettings();
  });

  MapUpdate(kCmdHumanReport, [](ui::CmdUI& c) {
    const CMainFrame* frame = Main();
    c.Enable(UsualEnable() && (frame == nullptr || !frame->IsReportDlgOpen()));
  });
  MapCommand(kCmdHumanReport, [this] { OnReport(); });
  MapCommand(kCmdAnimalReport, [this] {
    LyrDlgAnimalReport dlg(this);
    dlg.m_pDoc = m_pDoc;
    dlg.DoModal();
    WriteSettings();
  });
}

void LyrWorkspaceFrame::OnReport() {
  if (report_ != nullptr) return;
  auto dlg = std::make_unique<LyrDlgReport>(m_pDoc);
  if (!dlg->CreateModeless(nullptr)) {
    ui::MessageBox("LyrWorkspaceFrame::OnReport");
    return;
  }
  report_ = std::move(dlg);
}

void LyrWorkspaceFrame::CloseReportDlg() {
  if (report_ == nullptr) return;
  // The pointer goes at once; the window goes after the handler that asked for it has returned.
  LyrDlgReport* dlg = report_.release();
  if (dlg->IsWindow()) dlg->ShowWindow(ui::SW_HIDE);
  ui::PostTask([dlg] {
    if (dlg->IsWindow()) dlg->DestroyWindow();
    delete dlg;
  });
}

void LyrWorkspaceFrame::OnVSPSetup() {
  BringPane(5);
  WriteSettings();
  RunVSPSetupDialog(VSPPane(), this);
}
