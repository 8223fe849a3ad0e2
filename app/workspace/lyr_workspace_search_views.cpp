#include "app/workspace/lyr_workspace_search_views.h"

#include <algorithm>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/main_frame.h"
#include "app/raw/raw_dummy_view.h"
#include "app/workspace/workspace_dummy_view.h"
#include "app/workspace/workspace_searches.h"
#include "platform/draw/dc.h"
#include "platform/draw/gdi.h"
#include "platform/res/resource_store.h"
#include "platform/ui/app.h"
#include "platform/ui/message_box.h"
#include "platform/ui/messages.h"

namespace {
constexpr std::uint32_t kStrNotFound = 65200;
constexpr std::uint32_t kStrLimit = 65201;
constexpr std::uint32_t kStrNonStage = 65202;
constexpr std::uint32_t kStrSelectStage = 65203;
constexpr std::uint32_t kStrStageButton = 65204;
constexpr std::uint32_t kStrCandidates = 65205;
constexpr std::uint32_t kStrSearch = 65206;
constexpr std::uint32_t kStrNo = 65207;
constexpr std::uint32_t kStrEpochNo = 65208;
constexpr std::uint32_t kStrTime = 65209;
constexpr std::uint32_t kStrStage = 65210;
constexpr std::uint32_t kStrEvent = 65211;
constexpr std::uint32_t kStrAmplitude = 65212;
constexpr std::uint32_t kStrChannel = 65213;
constexpr std::uint32_t kStrMode = 65214;
constexpr std::uint32_t kStrFirstMode = 65215;  // "Min." ... "CV%", six texts
constexpr std::uint32_t kStrNotSpecified = 2311;

void Beep() { ui::MessageBeep(ui::MB_ICONEXCLAMATION); }

void Tell(std::uint32_t text) {
  Beep();
  ui::MessageBox(res::LoadString(text), ui::MB_OK | ui::MB_ICONEXCLAMATION);
}

// Stage codes offered per stage type after "Non stage".
std::vector<int> StageCodesOf(const StageTypeParam& block) {
  static constexpr int kType0[] = {1, 2, 3, 4, 5, 6, 7};
  static constexpr int kType1[] = {1, 2, 3, 4, 5, 7};
  static constexpr int kType2[] = {1, 2, 3, 5, 7};
  static constexpr int kType3[] = {1, 2, 3, 7};
  std::vector<int> codes;
  switch (block.stageType) {
    case 0: codes.assign(std::begin(kType0), std::end(kType0)); break;
    case 1: codes.assign(std::begin(kType1), std::end(kType1)); break;
    case 2: codes.assign(std::begin(kType2), std::end(kType2)); break;
    default: codes.assign(std::begin(kType3), std::end(kType3)); break;
  }
  for (int f = 0; f < 3; ++f)
    if (block.sharedInUse >= f + 1) codes.push_back(8 + f);
  return codes;
}

std::pair<std::string, int> Column(std::uint32_t text, int width) { return {res::LoadString(text), width}; }
}  // namespace

// ---- Shared ----------------------------------------------------------------------------

void LyrWorkspaceSearchPane::OnControlNotify(int controlId, int code) {
  if (controlId != kListId || code != ui::NM_CLICK || ScreeningRunning != 0) return;
  CMainFrame* frame = MainFrame();
  if (frame == nullptr) return;
  for (int row : List().GetSelectedIndexes()) {
    const int epoch = std::atoi(List().GetItemText(row, 1).c_str());
    frame->VideoFollowsWave = 1;
    frame->JumpToEpoch(epoch, 0);
    if (LyrRawDummyView* raw = frame->RawView())
      if (LyrRawFrame* middle = raw->Row(2); middle != nullptr && middle->AreaView() != nullptr)
        middle->AreaView()->RedrawStageLabels();
  }
}

int LyrWorkspaceSearchPane::ShowRows(const SearchRows& rows, bool reportNone) {
  ui::Control list = List();
  list.SetRedraw(false);
  list.DeleteAllItems();
  list.AppendRows(rows.cells, rows.columns);
  list.SetRedraw(true);
  if (rows.Count() == 0 && reportNone) Tell(kStrNotFound);
  return rows.Count();
}

LyrWorkspaceSearchPane::Metrics LyrWorkspaceSearchPane::LayoutMetrics(int letters) const {
  const ui::Rect r = GetClientRect();
  const ui::Size m = TextSize(std::string(static_cast<std::size_t>(letters), 'M'));
  Metrics k;
  k.right = r.right;
  k.x = r.right * 7 / 10 + 10;
  k.cx = m.cx;
  k.cy = m.cy;
  k.h = RowHeight();
  List().Move(ui::Rect{r.left, r.top, r.right * 7 / 10, r.bottom});
  return k;
}

// ---- Stage search -------------------------------------------------------------------------

LyrWorkspaceSearchStageView::LyrWorkspaceSearchStageView() {
  MapCommand(kStageButton, [this] { SearchStage(SelectedCode()); });
  MapCommand(kCandidatesButton, [this] { SearchCandidates(); });
}

int LyrWorkspaceSearchStageView::OnCreate() {
  AddControl(ui::ControlKind::ReportList, kListId);
  SetListColumns({Column(kStrNo, 40), Column(kStrEpochNo, 80), Column(kStrTime, 120), Column(kStrStage, 120)});
  List().SetFullRowSelect(true);
  AddControl(ui::ControlKind::Combo, kStageCombo);
  AddControl(ui::ControlKind::Button, kStageButton, res::LoadString(kStrStageButton));
  AddControl(ui::ControlKind::Button, kCandidatesButton, res::LoadString(kStrCandidates));
  return 0;
}

void LyrWorkspaceSearchStageView::OnSize(std::uint32_t, int, int) {
  const Metrics k = LayoutMetrics(7);
  Item(kStageCombo).Move(ui::Rect{k.x, k.cy, k.right - 10, k.cy + k.h});
  Item(kStageButton).Move(ui::Rect{k.x, 2 * k.cy + k.h, k.right - 10, 2 * k.cy + 2 * k.h});
  Item(kCandidatesButton).Move(ui::Rect{k.x, 2 * k.cy + 3 * k.h, k.right - 10, 2 * k.cy + 4 * k.h});
}

void LyrWorkspaceSearchStageView::OnDraw(draw::Dc& dc) {
  FillButtonFace(dc);
  if (DocumentLoaded == 0) return;
  dc.SetBkMode(draw::TRANSPARENT);
  dc.TextOut(GetClientRect().right * 7 / 10 + 10, 0, res::LoadString(kStrSelectStage));
}

void LyrWorkspaceSearchStageView::FillStageCombos() {
  ui::Control combo = Item(kStageCombo);
  combo.ResetContent();
  combo.AddString(res::LoadString(kStrNonStage));
  if (CQLM2_AnalyzerDoc* doc = Doc()) {
    for (int code : StageCodesOf(doc->Params.stageType)) {
      std::string name;
      doc->GetStageName(static_cast<signed char>(code), name);
      combo.SetItemData(combo.AddString(name), code);
    }
  }
  combo.SetCurSel(0);
}

int LyrWorkspaceSearchStageView::SelectedCode() const {
  const ui::Control combo = Item(kStageCombo);
  const int sel = combo.GetCurSel();
  return sel > 0 ? static_cast<int>(combo.GetItemData(sel)) : 0;
}

void LyrWorkspaceSearchStageView::SearchStage(int code) {
  CQLM2_AnalyzerDoc* doc = Doc();
  if (DocumentLoaded == 0 || doc == nullptr) return;
  ui::WaitCursor wait;
  SetListColumns({Column(kStrNo, 40), Column(kStrEpochNo, 80), Column(kStrTime, 120)});
  bool cut = false;
  const SearchRows rows = FindStageEpochs(*doc, code, &cut);
  ShowRows(rows);
  if (cut) Tell(kStrLimit);
}

void LyrWorkspaceSearchStageView::SearchCandidates() {
  CQLM2_AnalyzerDoc* doc = Doc();
  if (DocumentLoaded == 0 || doc == nullptr) return;
  ui::WaitCursor wait;
  SetListColumns({Column(kStrNo, 40), Column(kStrEpochNo, 80), Column(kStrTime, 120), Column(kStrStage, 120)});
  ShowRows(FindCandidateEpochs(*doc));
}

// ---- Artifact search --------------------------------------------------------------------

LyrWorkspaceSearchArtifactView::LyrWorkspaceSearchArtifactView() { MapCommand(kSearchButton, [this] { Search(); }); }

int LyrWorkspaceSearchArtifactView::OnCreate() {
  AddControl(ui::ControlKind::ReportList, kListId);
  SetListColumns({Column(kStrNo, 40), Column(kStrEpochNo, 120), Column(kStrTime, 120), Column(kStrStage, 120)});
  List().SetFullRowSelect(true);
  AddControl(ui::ControlKind::Button, kSearchButton, res::LoadString(kStrSearch));
  return 0;
}

void LyrWorkspaceSearchArtifactView::OnSize(std::uint32_t, int, int) {
  const Metrics k = LayoutMetrics(7);
  Item(kSearchButton).Move(ui::Rect{k.x, 2 * k.cy, k.right - 10, 2 * k.cy + k.h});
}

void LyrWorkspaceSearchArtifactView::OnDraw(draw::Dc& dc) { FillButtonFace(dc); }

void LyrWorkspaceSearchArtifactView::Search() {
  CQLM2_AnalyzerDoc* doc = Doc();
  if (DocumentLoaded == 0 || doc == nullptr) return;
  ui::WaitCursor wait;
  ShowRows(FindArtifactEpochs(*doc));
}

// ---- Event list -------------------------------------------------------------------------

int LyrWorkspaceSearchEventView::OnCreate() {
  AddControl(ui::ControlKind::ReportList, kListId, {}, GetClientRect());
  SetListColumns({Column(kStrNo, 40), Column(kStrEpochNo, 120), Column(kStrTime, 120), Column(kStrEvent, 120)});
  List().SetFullRowSelect(true);
  return 0;
}

void LyrWorkspaceSearchEventView::OnSize(std::uint32_t, int cx, int cy) {
  List().Move(draw::RectFromSize(0, 0, cx, cy));
}

void LyrWorkspaceSearchEventView::UpdateEventList() {
  List().DeleteAllItems();
  CQLM2_AnalyzerDoc* doc = Doc();
  if (doc == nullptr || doc->Events.empty()) return;
  ShowRows(ListEvents(*doc), false);
}

// ---- Free search --------------------------------------------------------------------------

LyrWorkspaceSearchFreeView::LyrWorkspaceSearchFreeView() { MapCommand(kSearchButton, [this] { Search(); }); }

int LyrWorkspaceSearchFreeView::OnCreate() {
  AddControl(ui::ControlKind::ReportList, kListId);
  SetListColumns({Column(kStrNo, 40), Column(kStrEpochNo, 120), Column(kStrTime, 120), Column(kStrAmplitude, 120),
                  Column(kStrStage, 120)});
  List().SetFullRowSelect(true);
  AddControl(ui::ControlKind::Combo, kChannelCombo);
  AddControl(ui::ControlKind::Combo, kModeCombo);
  for (std::uint32_t m = 0; m < 6; ++m) Item(kModeCombo).AddString(res::LoadString(kStrFirstMode + m));
  Item(kModeCombo).SetCurSel(0);
  AddControl(ui::ControlKind::Edit, kValueEdit);
  Item(kValueEdit).SetLimitText(10);
  AddControl(ui::ControlKind::Radio, kAtLeastRadio, ">=");
  AddControl(ui::ControlKind::Radio, kAtMostRadio, "<=");
  Item(kAtLeastRadio).SetCheck(1);
  AddControl(ui::ControlKind::Button, kSearchButton, res::LoadString(kStrSearch));
  return 0;
}

void LyrWorkspaceSearchFreeView::OnSize(std::uint32_t, int, int) {
  const Metrics k = LayoutMetrics(8);
  Item(kChannelCombo).Move(ui::Rect{k.x, k.cy, k.right - 10, k.cy + k.h});
  Item(kModeCombo).Move(ui::Rect{k.x, 2 * k.cy + k.h, k.right - 10, 2 * k.cy + 2 * k.h});
  Item(kAtLeastRadio).Move(draw::RectFromSize(k.x, 3 * k.cy + 2 * k.h, k.cx, k.h));
  Item(kAtMostRadio).Move(draw::RectFromSize(k.x + k.cx, 3 * k.cy + 2 * k.h, k.cx, k.h));
  Item(kValueEdit).Move(draw::RectFromSize(k.x, 5 * k.cy + 5 + 2 * k.h, k.cx, k.h));
  Item(kSearchButton).Move(ui::Rect{k.x, 7 * k.cy + 2 * k.h + 10, k.right - 10, 7 * k.cy + 3 * k.h + 10});
}

void LyrWorkspaceSearchFreeView::OnDraw(draw::Dc& dc) {
  FillButtonFace(dc);
  if (DocumentLoaded == 0) return;
  const int right = GetClientRect().right;
  const int x = right * 7 / 10 + 10;
  const ui::Size m = TextSize("MMMMMMMM");
  const int h = RowHeight();
  dc.SetBkMode(draw::TRANSPARENT);
  dc.TextOut(x, 0, res::LoadString(kStrChannel));
  dc.TextOut(x, m.cy + h, res::LoadString(kStrMode));
  const int channel = Item(kChannelCombo).GetCurSel();
  CQLM2_AnalyzerDoc* doc = Doc();
  if (doc != nullptr && channel >= 0 && channel < 32) {
    const int w = TextSize("MMMMMMM").cx;
    dc.TextOut(right * 7 / 10 + w + 25, 5 * m.cy + 5 + 2 * h, doc->ChInfo[static_cast<std::size_t>(channel)].unit);
  }
}

void LyrWorkspaceSearchFreeView::FillChannelCombo() {
  ui::Control combo = Item(kChannelCombo);
  combo.ResetContent();
  if (CQLM2_AnalyzerDoc* doc = Doc()) {
    const int channels = std::clamp(doc->RecordInfo.channelCount, 0, 32);
    for (int c = 0; c < channels; ++c) combo.AddString(doc->ChInfo[static_cast<std::size_t>(c)].name);
  }
  combo.SetCurSel(0);
}

void LyrWorkspaceSearchFreeView::Search() {
  CQLM2_AnalyzerDoc* doc = Doc();
  if (DocumentLoaded == 0 || doc == nullptr) return;
  const std::string text = Item(kValueEdit).GetText();
  if (text.empty()) {
    Tell(kStrNotSpecified);
    Item(kValueEdit).SetFocus();
    return;
  }
  ui::WaitCursor wait;
  const bool atLeast = Item(kAtLeastRadio).GetCheck() != 0;
  ShowRows(FindAmplitudeEpochs(*doc, Item(kChannelCombo).GetCurSel(), Item(kModeCombo).GetCurSel(),
                               ReadSearchValue(text), atLeast));
}
