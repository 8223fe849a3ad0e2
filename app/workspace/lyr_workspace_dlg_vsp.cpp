#include "app/workspace/lyr_workspace_dlg_vsp.h"

#include <algorithm>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/lyr_dlg_time_point.h"
#include "app/frame/program_settings.h"
#include "app/frame/shared_dialog_strings.h"
#include "app/workspace/lyr_workspace_vsp_view.h"
#include "app/workspace/workspace_settings.h"
#include "app/workspace/workspace_stage_strings.h"
#include "app/workspace/workspace_text_out.h"
#include "platform/res/resource_store.h"
#include "platform/ui/app.h"

LyrWorkspaceDlgVSPFind::LyrWorkspaceDlgVSPFind(CQLM2_AnalyzerDoc* doc, LyrWorkspaceVSPView* pane, ui::Window* parent)
    : ui::Dialog(kTemplateId, parent), m_pDoc(doc), m_pPane(pane) {}

LyrWorkspaceDlgVSPFind::~LyrWorkspaceDlgVSPFind() {
  for (auto* p : {division_.get(), start_.get(), end_.get()})
    if (p != nullptr && p->IsWindow()) p->DestroyWindow();
}

bool LyrWorkspaceDlgVSPFind::OnInitDialog() {
  const int epochs = m_pDoc != nullptr && EpochSeconds > 0 ? m_pDoc->GetDivNum(EpochSeconds) : 0;
  const int whole = m_pDoc != nullptr && EpochSeconds > 0 ? m_pDoc->RecordSeconds / EpochSeconds : 0;
  division_ = std::make_unique<LyrDlgTimePoint>(this);
  start_ = std::make_unique<LyrDlgTimePoint>(this);
  end_ = std::make_unique<LyrDlgTimePoint>(this);
  for (auto [panel, frame] : {std::pair{division_.get(), kDivisionFrame}, std::pair{start_.get(), kStartFrame},
                              std::pair{end_.get(), kEndFrame}}) {
    panel->m_pDoc = m_pDoc;
    panel->CreatePanel(this, frame);
    panel->SetTimeMode(static_cast<std::int16_t>(ClockTimeDisplay));
  }
  division_->SetCaption(res::LoadString(IDS_VSP_DIVISION));
  start_->SetCaption(res::LoadString(IDS_SD_START_CAPTION));
  end_->SetCaption(res::LoadString(IDS_SD_END_CAPTION));
  start_->SetRange(0, std::max(epochs - 1, 0));
  end_->SetRange(0, std::max(epochs - 1, 0));
  start_->SetEpoch(0);
  end_->SetEpoch(std::max(whole - 1, 0));
  division_->SetRange(1, std::max(epochs, 1));
  division_->SetEpoch(std::clamp(std::min<int>(TextOutputTimeDivision, whole), 1, std::max(epochs, 1)));
  CheckRadioButton(kManual, kAuto, VigilanceTrimmingMode == 1 ? kAuto : kManual);
  CheckDlgButton(kArtifact, 0);
  return true;
}

void LyrWorkspaceDlgVSPFind::OnOK() {
  ui::WaitCursor wait;
  TextOutputTimeDivision = division_ ? division_->GetEpoch() : TextOutputTimeDivision;
  int first = start_ ? start_->GetEpoch() : 0;
  int last = end_ ? end_->GetEpoch() : 0;
  if (first > last) std::swap(first, last);
  VigilanceTrimmingMode = IsDlgButtonChecked(kAuto) != 0 ? 1 : 0;
  if (m_pPane != nullptr) {
    m_pPane->ArtifactSeparate = IsDlgButtonChecked(kArtifact) != 0 ? 1 : 0;
    ApplyResult = m_pPane->Apply(first, last, 0, nullptr);
  }
  EndDialog(ui::IDOK);
}

void LyrWorkspaceDlgVSPFind::OnCancel() {
  if (division_) TextOutputTimeDivision = division_->GetEpoch();
  EndDialog(ui::IDCANCEL);
}

LyrWorkspaceDlgTextOutVSP::LyrWorkspaceDlgTextOutVSP(CQLM2_AnalyzerDoc* doc, LyrWorkspaceVSPView* pane,
                                                     ui::Window* parent)
    : LyrWorkspaceTextOutDlg(kTemplateId, doc, pane != nullptr ? &pane->FileName : nullptr, parent), m_pPane(pane) {
  MapCommand(kTransition, [] { VigilanceTextKind = 0; });
  MapCommand(kCountPerDuration, [] { VigilanceTextKind = 1; });
}

bool LyrWorkspaceDlgTextOutVSP::OnInitDialog() {
  CheckRadioButton(kTransition, kCountPerDuration, VigilanceTextKind == 1 ? kCountPerDuration : kTransition);
  if (m_pPane != nullptr && m_pDoc != nullptr)
    m_pPane->FileName = WorkspaceOutputPath(*m_pDoc, VigilanceTextKind == 1 ? "_VSct" : "_VStrn");
  return LyrWorkspaceTextOutDlg::OnInitDialog();
}

int LyrWorkspaceDlgTextOutVSP::Write() {
  if (m_pPane == nullptr) return 0;
  const std::string path = m_pPane->FileName;
  return m_pPane->OutputText(VigilanceTextKind == 1 ? 1 : 0, OutputToClipboard == 1 ? 1 : 0, path,
                            m_pPane->RangeStart, m_pPane->RangeEnd, 0);
}

std::uint32_t LyrWorkspaceDlgTextOutVSP::FailureText() const { return IDS_VSP_TEXT_FAILED; }

void RunVSPSetupDialog(LyrWorkspaceVSPView* pane, ui::Window* parent) {
  if (pane == nullptr) return;
  LyrWorkspaceDlgVSPFind dlg(pane->Doc(), pane, parent);
  dlg.DoModal();
}

void RunVSPTextDialog(LyrWorkspaceVSPView* pane, ui::Window* parent) {
  if (pane == nullptr) return;
  LyrWorkspaceDlgTextOutVSP dlg(pane->Doc(), pane, parent);
  dlg.DoModal();
}
