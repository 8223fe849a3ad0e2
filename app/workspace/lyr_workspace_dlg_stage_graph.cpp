#include "app/workspace/lyr_workspace_dlg_stage_graph.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/lyr_dlg_time_point.h"
#include "app/frame/program_settings.h"
#include "app/frame/shared_dialog_strings.h"
#include "app/workspace/lyr_workspace_stage_graph_view.h"
#include "app/workspace/lyr_workspace_vsp_view.h"
#include "app/workspace/workspace_settings.h"
#include "app/workspace/workspace_stage_strings.h"
#include "app/workspace/workspace_text_out.h"
#include "platform/res/resource_store.h"
#include "platform/ui/app.h"
#include "platform/ui/frame.h"
#include "platform/ui/message_box.h"

LyrWorkspaceDlgStageGraph::LyrWorkspaceDlgStageGraph(CQLM2_AnalyzerDoc* doc, LyrWorkspaceStageGraphView* pane,
                                                     ui::Window* parent)
    : ui::Dialog(kTemplateId, parent), m_pDoc(doc), m_pPane(pane) {}

LyrWorkspaceDlgStageGraph::~LyrWorkspaceDlgStageGraph() {
  for (auto* p : {start_.get(), end_.get()})
    if (p != nullptr && p->IsWindow()) p->DestroyWindow();
}

namespace {
int EpochCount(const CQLM2_AnalyzerDoc* doc) {
  return doc != nullptr && EpochSeconds > 0 ? doc->GetDivNum(EpochSeconds) : 0;
}
}  // namespace

int LyrWorkspaceDlgStageGraph::RangeEpochs() const {
  // In the result-file comparison window the range is the pane's file's.
  if (m_pPane != nullptr && m_pPane->UtilityMode != 0) return m_pPane->Utility.lastEpoch + 1;
  return EpochCount(m_pDoc);
}

int LyrWorkspaceDlgStageGraph::RangeEpochSeconds() const {
  if (m_pPane != nullptr && m_pPane->UtilityMode != 0) return m_pPane->Utility.epochSeconds;
  return EpochSeconds;
}

int LyrWorkspaceDlgStageGraph::DivisionLimit() const {
  return StageGraphDivisionLimitMinutes(RangeEpochs(), RangeEpochSeconds());
}

bool LyrWorkspaceDlgStageGraph::OnInitDialog() {
  const int last = std::max(RangeEpochs() - 1, 0);
  start_ = std::make_unique<LyrDlgTimePoint>(this);
  end_ = std::make_unique<LyrDlgTimePoint>(this);
  for (auto [panel, frame] : {std::pair{start_.get(), kStartFrame}, std::pair{end_.get(), kEndFrame}}) {
    panel->m_pDoc = m_pDoc;
    panel->CreatePanel(this, frame);
    panel->SetTimeMode(static_cast<std::int16_t>(ClockTimeDisplay));
    panel->SetRange(0, last);
  }
  start_->SetCaption(res::LoadString(IDS_SD_START_CAPTION));
  end_->SetCaption(res::LoadString(IDS_SD_END_CAPTION));
  start_->SetEpoch(0);
  end_->SetEpoch(m_pDoc != nullptr && EpochSeconds > 0 ? std::max(m_pDoc->RecordSeconds / EpochSeconds - 1, 0) : last);

  CheckRadioButton(kPercent, kTime, StageGraphYUnit == 0 ? kPercent : kTime);
  CheckRadioButton(kOrigin, kSetting, StageGraphXAxisMode == 0 ? kOrigin : kSetting);
  CheckRadioButton(kLine, kBand, StageGraphType == 0 ? kLine : StageGraphType == 1 ? kBar : kBand);
  SetDlgItemText(kDivision, std::to_string(static_cast<long>(StageGraphTimeDivision)));

  ui::Control list = Item(kStages);
  list.SetMultiSelect(true);
  list.ResetContent();
  const StageTypeParam* stageType = m_pDoc != nullptr ? &m_pDoc->Params.stageType : nullptr;
  if (m_pPane != nullptr && m_pPane->UtilityMode != 0) stageType = m_pPane->Utility.stageType;
  if (stageType != nullptr)
    for (const std::string& name : StageGraphItemNames(*stageType)) list.AddString(name);
  for (int i = 0; i < std::min(list.GetCount(), kStageGraphItems); ++i)
    if (StageGraphStageFlag(i) == 1) list.SetSelected(i, true);
  return true;
}

void LyrWorkspaceDlgStageGraph::StoreChoices() {
  StageGraphYUnit = IsDlgButtonChecked(kPercent) != 0 ? 0 : 1;
  StageGraphXAxisMode = IsDlgButtonChecked(kOrigin) != 0 ? 0 : 1;
  StageGraphType = IsDlgButtonChecked(kLine) != 0 ? 0 : IsDlgButtonChecked(kBar) != 0 ? 1 : 2;
  for (int i = 0; i < kStageGraphItems; ++i) SetStageGraphStageFlag(i, 0);
  for (int row : Item(kStages).GetSelectedIndexes())
    if (row >= 0 && row < kStageGraphItems) SetStageGraphStageFlag(row, 1);
}

void LyrWorkspaceDlgStageGraph::OnOK() {
  const std::vector<int> rows = Item(kStages).GetSelectedIndexes();
  if (rows.empty()) return;
  std::int32_t first = start_ ? start_->GetEpoch() : 0;
  std::int32_t last = end_ ? end_->GetEpoch() : 0;
  if (first > last) std::swap(first, last);
  const long long value = std::llabs(std::atoll(GetDlgItemText(kDivision).c_str()));
  if (RangeEpochSeconds() == 8 && value % 2 != 0) {
    ui::MessageBeep(ui::MB_ICONEXCLAMATION);
    ui::MessageBoxId(IDS_SG_EVEN_ONLY, ui::MB_OK | ui::MB_ICONEXCLAMATION);
    Item(kDivision).SetFocus();
    return;
  }
  if (m_pDoc != nullptr) {
    const int type = m_pDoc->Params.stageType.stageType;
    for (std::int32_t e = first; e <= last; ++e) {
      const int code = m_pDoc->EpochTables.GetStage(type, e, 0);
      if (code != 0 && code != 20) continue;
      ReportUnscoredEpochs(CQLM2_AnalyzerDoc::MainFrame());
      // Nothing is stored; the opener shows the graph as it was.
      EndDialog(ui::IDOK);
      return;
    }
  }
  // The division is checked before anything is stored.
  const int limit = DivisionLimit();
  if (value < 1 || value > limit) {
    char text[256];
    std::snprintf(text, sizeof text, res::LoadString(IDS_SG_RANGE).c_str(), 1, limit);
    ui::MessageBeep(ui::MB_ICONEXCLAMATION);
    ui::MessageBox(text, ui::MB_OK | ui::MB_ICONEXCLAMATION);
    Item(kDivision).SetFocus();
    return;
  }
  StoreChoices();
  StageGraphTimeDivision = static_cast<std::int32_t>(value);
  if (m_pPane != nullptr) {
    m_pPane->FirstEpoch = first;
    m_pPane->LastEpoch = last;
    m_pPane->StageItemFlags.fill(0);
    for (int row : rows)
      if (row >= 0 && row < kStageGraphItemFlags) m_pPane->StageItemFlags[static_cast<std::size_t>(row)] = 1;
  }
  EndDialog(ui::IDOK);
}

void LyrWorkspaceDlgStageGraph::OnCancel() {
  StoreChoices();
  const long long value = std::llabs(std::atoll(GetDlgItemText(kDivision).c_str()));
  if (value >= 1 && value <= DivisionLimit() && !(RangeEpochSeconds() == 8 && value % 2 != 0))
    StageGraphTimeDivision = static_cast<std::int32_t>(value);
  EndDialog(ui::IDCANCEL);
}

LyrWorkspaceDlgTextOutStageGraph::LyrWorkspaceDlgTextOutStageGraph(CQLM2_AnalyzerDoc* doc,
                                                                   LyrWorkspaceStageGraphView* pane, ui::Window* parent)
    : LyrWorkspaceTextOutDlg(kTemplateId, doc, pane != nullptr ? &pane->OutputPath : nullptr, parent), m_pPane(pane) {}

bool LyrWorkspaceDlgTextOutStageGraph::OnInitDialog() {
  if (m_pPane != nullptr) {
    if (m_pPane->UtilityMode != 0)
      m_pPane->OutputPath.clear();
    else if (m_pDoc != nullptr)
      m_pPane->OutputPath = WorkspaceOutputPath(*m_pDoc, "_SG");
  }
  return LyrWorkspaceTextOutDlg::OnInitDialog();
}

int LyrWorkspaceDlgTextOutStageGraph::Write() {
  return m_pPane != nullptr ? m_pPane->OutputText(OutputToClipboard == 1 ? 1 : 0) : 0;
}

int LyrWorkspaceStageGraphView::RunSetupDialog() {
  LyrWorkspaceDlgStageGraph dlg(Doc(), this, GetParentFrame());
  return dlg.DoModal();
}

void LyrWorkspaceStageGraphView::RunTextDialog() {
  LyrWorkspaceDlgTextOutStageGraph dlg(Doc(), this, GetParentFrame());
  dlg.DoModal();
}
