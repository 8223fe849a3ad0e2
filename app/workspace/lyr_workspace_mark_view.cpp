#include "app/workspace/lyr_workspace_mark_view.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/document/analysis_param_blocks.h"
#include "app/document/qlm2_analyzer_doc.h"
#include "app/document/stage_names.h"
#include "app/frame/frame_globals.h"
#include "app/frame/main_frame.h"
#include "app/frame/program_settings.h"
#include "app/workspace/lyr_workspace_area_tab_ctrl.h"
#include "app/workspace/lyr_workspace_frame.h"
#include "app/workspace/mark_runs.h"
#include "app/workspace/workspace_dummy_view.h"
#include "app/workspace/workspace_stage_strings.h"
#include "platform/draw/dc.h"
#include "platform/draw/gdi.h"
#include "platform/res/resource_store.h"
#include "platform/ui/app.h"
#include "platform/ui/message_box.h"
#include "platform/ui/messages.h"

namespace {
bool Listed(const MarkTypeParam::Item& item) { return item.triggerDetect == 1 && item.show == 1; }
}  // namespace

// ---- The view ----

int LyrWorkspaceMarkView::OnCreate() {
  AddControl(ui::ControlKind::ReportList, kListId);
  AddControl(ui::ControlKind::ReportList, kTypeListId);
  AddControl(ui::ControlKind::Button, kFloatId, res::LoadString(IDS_MK_FLOAT));
  AddControl(ui::ControlKind::Button, kDeleteId, res::LoadString(IDS_MK_DELETE));
  Item(kFloatId).SetCheck(0);  // a button that stays pressed
  List().SetFullRowSelect(true);
  List().SetMultiSelect(true);
  int col = 0;
  for (auto [id, width] : {std::pair{IDS_MK_EPOCH, 67}, {IDS_MK_TIME, 40}, {IDS_MK_STAGE, 130}, {IDS_MK_NAME, 110},
                           {IDS_MK_DURATION, 83}})
    List().InsertColumn(col++, res::LoadString(id), width);
  ui::Control types = Item(kTypeListId);
  types.SetFullRowSelect(true);
  types.SetMultiSelect(true);
  types.InsertColumn(0, res::LoadString(IDS_MK_TYPE), 120);
  types.InsertColumn(1, res::LoadString(IDS_MK_COLOR), 40);
  return 0;
}

void LyrWorkspaceMarkView::OnDraw(draw::Dc& dc) { FillButtonFace(dc); }

void LyrWorkspaceMarkView::OnSize(std::uint32_t, int cx, int cy) {
  const ui::Size text = TextSize(res::LoadString(IDS_MK_FLOAT));
  const int split = cx * 7 / 10;
  List().Move(draw::RectFromSize(0, 0, split, cy));
  List().Show(true);
  const int left = split + 5;
  const int right = cx - 5;
  Item(kFloatId).Move(draw::RectFromSize(left, 2, std::max(text.cx * 2, TextSize(res::LoadString(IDS_MK_FLOAT)).cx + 16),
                                         text.cy + 7));
  const int top = text.cy + 12;
  const int bottom = std::min(top + 20 * text.cy, cy - text.cy - 11);
  Item(kTypeListId).Move(ui::Rect{left, top, right, std::max(bottom, top)});
  Item(kDeleteId).Move(ui::Rect{left, std::max(bottom, top) + 6, right, std::max(bottom, top) + 6 + text.cy + 10});
}

void LyrWorkspaceMarkView::UpdateMarkTypeFlags() {
  const CQLM2_AnalyzerDoc* doc = Doc();
  if (doc == nullptr) return;
  for (int t = 0; t < kMarkTypeCount; ++t)
    ShownFlags[static_cast<std::size_t>(t)] = Listed(doc->Params.markType.items[static_cast<std::size_t>(t)]) ? 1 : 0;
}

void LyrWorkspaceMarkView::FillMarkTypeList() {
  const CQLM2_AnalyzerDoc* doc = Doc();
  ui::Control types = Item(kTypeListId);
  types.SetRedraw(false);
  types.DeleteAllItems();
  if (doc != nullptr) {
    for (int t = 0; t < kMarkTypeCount; ++t) {
      if (ShownFlags[static_cast<std::size_t>(t)] != 1) continue;
      const MarkTypeParam::Item& item = doc->Params.markType.items[static_cast<std::size_t>(t)];
      const int row = types.InsertItem(-1, item.name);
      types.SetItemSwatch(row, 1, true, item.colour);
      types.SetSelected(row, true);
    }
  }
  types.SetRedraw(true);
}

void LyrWorkspaceMarkView::UpdateMarkList() {
  ++Updates;
  CQLM2_AnalyzerDoc* doc = Doc();
  if (doc == nullptr || doc->Marks.FlagLength() <= 0 || RefreshPending != 1) return;
  ++Refills;
  ui::WaitCursor wait;
  int exist = 0;
  const std::vector<MarkRun> runs = FindMarkRuns(doc->Marks, ShownFlags, &exist);
  doc->Marks.SetMarksPresent(exist);
  const long seconds = std::max(EpochSeconds, 1);
  const int type = doc->Params.stageType.stageType;
  std::vector<std::string> cells;
  cells.reserve(runs.size() * 5);
  std::string label;
  char duration[32];
  for (const MarkRun& r : runs) {
    const int epoch = static_cast<int>(r.first / 10 / seconds);
    cells.push_back(std::to_string(epoch));
    doc->GetMSecTimeString(ClockTimeDisplay, static_cast<std::int64_t>(r.first) * 100, &label);
    cells.push_back(label);
    const int code = doc->EpochTables.GetStage(type, epoch, 0);
    cells.push_back(code != 0 ? GetStageName(doc->Params.stageType, code) : std::string());
    cells.push_back(doc->Params.markType.items[static_cast<std::size_t>(r.type)].name);
    std::snprintf(duration, sizeof duration, "%.2f", r.length * 0.1);
    cells.push_back(duration);
  }
  ui::Control list = List();
  list.SetRedraw(false);
  list.DeleteAllItems();
  list.AppendRows(cells, 5);
  list.AutoSizeColumns();
  list.SetRedraw(true);
  list.Invalidate();
  RefreshPending = 0;
}

void LyrWorkspaceMarkView::ClearList() {
  List().DeleteAllItems();
  List().Invalidate();
}

void LyrWorkspaceMarkView::AppendEndMarks() {
  if (CQLM2_AnalyzerDoc* doc = Doc()) ::AppendEndMarks(doc->Marks, doc->PageEndEpoch, EpochSeconds);
}

void LyrWorkspaceMarkView::EnableMarkButton(bool enable) { Item(kDeleteId).Enable(enable); }

void LyrWorkspaceMarkView::BuildMarkRuns() {
  if (CQLM2_AnalyzerDoc* doc = Doc()) ::BuildMarkRuns(doc->Marks, doc->Params.markType);
}

void LyrWorkspaceMarkView::DeleteSelectedMarks() {
  CQLM2_AnalyzerDoc* doc = Doc();
  if (doc == nullptr) return;
  const std::vector<int> rows = List().GetSelectedIndexes();
  if (List().GetCount() == 0 || rows.empty()) return;
  const std::vector<MarkRun> runs = FindMarkRuns(doc->Marks, ShownFlags);
  for (int row : rows)
    if (row >= 0 && row < static_cast<int>(runs.size())) {
      const MarkRun& r = runs[static_cast<std::size_t>(row)];
      doc->Marks.SetPoints(r.type, r.first, r.first + r.length, 0);
    }
  if (CMainFrame* frame = MainFrame()) frame->RedrawRawFrames(-1);
  RefreshPending = 1;
  UpdateMarkList();
  if (ResultModifiedState == 1) ResultModifiedState = 2;
}

void LyrWorkspaceMarkView::OnControlNotify(int controlId, int code) {
  if (DocumentLoaded == 0 || ScreeningRunning != 0 || code != ui::NM_CLICK) return;
  const CQLM2_AnalyzerDoc* doc = Doc();
  if (doc == nullptr) return;
  if (controlId == kTypeListId) {
    ShownFlags.fill(0);
    const ui::Control types = Item(kTypeListId);
    int row = 0;
    for (int t = 0; t < kMarkTypeCount; ++t) {
      if (!Listed(doc->Params.markType.items[static_cast<std::size_t>(t)])) continue;
      if (types.IsSelected(row)) ShownFlags[static_cast<std::size_t>(t)] = 1;
      ++row;
    }
    RefreshPending = 1;
    UpdateMarkList();
    return;
  }
  if (controlId != kListId) return;
  CMainFrame* frame = MainFrame();
  if (frame == nullptr) return;
  const LyrWorkspaceDummyView* ws = frame->WorkspaceView();
  const bool playing = ws != nullptr && ws->VideoPane.Playing;
  if (frame->AutoPagingMode == 2 || frame->AutoPagingMode == 4 || playing) {
    for (int row : List().GetSelectedIndexes()) List().SetSelected(row, false);
    return;
  }
  const int row = List().GetCurSel();
  if (row < 0) return;
  const int epoch = std::atoi(List().GetItemText(row, 0).c_str());
  frame->VideoFollowsWave = 1;
  frame->JumpToEpoch(epoch, 1);
}

bool LyrWorkspaceMarkView::OnCommand(std::uintptr_t wParam, std::intptr_t lParam) {
  const int id = static_cast<int>(ui::LowWord(wParam));
  const CQLM2_AnalyzerDoc* doc = Doc();
  if (id == kDeleteId) {
    if (DocumentLoaded != 0 && doc != nullptr && doc->Params.markType.triggerCount > 0 && doc->Marks.FlagLength() > 0)
      DeleteSelectedMarks();
    return true;
  }
  if (id == kFloatId) {
    OnFloat();
    return true;
  }
  return LyrWorkspaceListPane::OnCommand(wParam, lParam);
}

void LyrWorkspaceMarkView::OnFloat() {
  ui::Control button = Item(kFloatId);
  CMainFrame* frame = MainFrame();
  LyrWorkspaceDummyView* ws = frame != nullptr ? frame->WorkspaceView() : nullptr;
  if (DocumentLoaded == 0 || ws == nullptr || ws->Frame() == nullptr) {
    button.SetCheck(0);
    return;
  }
  if (button.GetCheck() != 0)
    ws->Frame()->FloatMarkWindow();
  else
    ws->Frame()->DockMarkWindow();
}

// ---- The frame ----

LyrWorkspaceMarkFrame::LyrWorkspaceMarkFrame() = default;
LyrWorkspaceMarkFrame::~LyrWorkspaceMarkFrame() = default;

bool LyrWorkspaceMarkFrame::CreateInPane(ui::Window* pane, CQLM2_AnalyzerDoc* doc) {
  m_pDoc = doc;
  ui::CreateContext context;
  context.currentDocument = doc;
  if (!CreateDocked(pane, 0, &context)) return false;
  SetWindowText(res::LoadString(IDS_MK_WINDOW));
  return true;
}

bool LyrWorkspaceMarkFrame::OnCreateClient(ui::CreateContext*) {
  if (m_pDoc == nullptr) return true;
  view_ = std::make_unique<LyrWorkspaceMarkView>();
  ui::CreateContext context;
  context.currentDocument = m_pDoc;
  if (!view_->CreateView(this, ui::AFX_IDW_PANE_FIRST, context, GetClientRect())) {
    ui::MessageBoxId(IDS_MK_CREATE_FAILED);
    view_.reset();
    return true;
  }
  view_->EnableMarkButton(true);
  SetActiveView(view_.get());
  return true;
}

void LyrWorkspaceMarkFrame::OnSize(std::uint32_t sizeType, int cx, int cy) {
  ui::DockFrame::OnSize(sizeType, cx, cy);
  if (view_ && view_->IsWindow()) view_->MoveWindow(draw::RectFromSize(0, 0, cx, cy));
}

// ---- The pane that holds the frame ----

LyrWorkspaceDummyMarkView::LyrWorkspaceDummyMarkView() = default;
LyrWorkspaceDummyMarkView::~LyrWorkspaceDummyMarkView() = default;

int LyrWorkspaceDummyMarkView::OnCreate() {
  frame_ = std::make_unique<LyrWorkspaceMarkFrame>();
  if (!frame_->CreateInPane(this, dynamic_cast<CQLM2_AnalyzerDoc*>(GetDocument()))) {
    ui::MessageBox("LyrWorkspaceDummyMarkView::OnCreate");
    frame_.reset();
    return 0;
  }
  // The window lives in the pane as one of its children.
  frame_->Dock();
  return 0;
}

void LyrWorkspaceDummyMarkView::OnDraw(draw::Dc&) {}

void LyrWorkspaceDummyMarkView::OnSize(std::uint32_t, int cx, int cy) {
  if (frame_ && frame_->IsDocked()) frame_->MoveWindow(draw::RectFromSize(0, 0, cx, cy));
}
