#include "app/workspace/lyr_workspace_logic_view.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/document/text_utils.h"
#include "app/frame/frame_globals.h"
#include "app/frame/main_frame.h"
#include "app/frame/parameter_bar.h"
#include "app/trend/lyr_trend_info_area_view.h"
#include "app/trend/trend_dummy_view.h"
#include "platform/res/resource_store.h"
#include "platform/ui/messages.h"

namespace {
constexpr std::uint32_t kStrColumnTitles = 65221;
constexpr std::uint32_t kStrColumnWidths = 65222;
// Width of a vertical scroll bar, left free at the list's right edge.
constexpr int kScrollBarWidth = 17;

std::string Format3(float v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.3f", static_cast<double>(v));
  return buf;
}
}  // namespace

int LyrWorkspaceLogicView::OnCreate() {
  AddControl(ui::ControlKind::ReportList, kListId, {}, GetClientRect());
  List().SetGridLines(true);
  List().SetFullRowSelect(true);
  return 0;
}

void LyrWorkspaceLogicView::OnSize(std::uint32_t, int cx, int cy) {
  List().Move(draw::RectFromSize(0, 0, cx, cy));
  List().Show(true);
}

bool LyrWorkspaceLogicView::NeedsChannel(std::uint16_t code) { return code >= 14 && code <= 32; }

void LyrWorkspaceLogicView::ClearList() {
  ui::Control list = List();
  list.DeleteAllItems();
  while (list.GetColumnCount() > 0 && list.DeleteColumn(0)) {
  }
}

void LyrWorkspaceLogicView::BuildColumns() {
  ClearList();
  std::vector<std::string> titles;
  std::vector<std::string> widths;
  SplitCommaText(res::LoadString(kStrColumnTitles), titles);
  SplitCommaText(res::LoadString(kStrColumnWidths), widths);
  const double usable = List().GetClientRect().Width() - kScrollBarWidth;
  for (std::size_t i = 0; i < titles.size(); ++i) {
    const double share = i < widths.size() ? std::atof(widths[i].c_str()) : 0.0;
    List().InsertColumn(static_cast<int>(i), titles[i], std::max(0, static_cast<int>(share * usable * 0.01)));
  }
}

void LyrWorkspaceLogicView::UpdateLogicList(int rebuildColumns) {
  if (rebuildColumns != 0) BuildColumns();
  CQLM2_AnalyzerDoc* doc = Doc();
  if (doc == nullptr || DocumentLoaded == 0) return;
  const int type = doc->Params.stageType.stageType;
  if (type < 0 || type > 3) return;
  const auto& set = doc->Params.logic.sets[static_cast<std::size_t>(type)];
  int used = 0;
  while (used < static_cast<int>(set.size()) && set[static_cast<std::size_t>(used)].stage != 0) ++used;
  const int n = used > 0 ? used - 1 : 0;

  ui::Control list = List();
  std::vector<bool> selected;
  for (int r = 0; r < list.GetCount(); ++r) selected.push_back(list.IsSelected(r));
  if (!selected.empty() && std::find(selected.begin(), selected.end(), true) == selected.end()) selected[0] = true;
  list.DeleteAllItems();

  const int channels = std::clamp(doc->RecordInfo.channelCount, 0, 32);
  auto term = [&](std::vector<std::string>& row, const LogicTerm& t) {
    row.push_back(Format3(t.lower));
    row.push_back(t.lowerOp == 0 ? "<" : "<=");
    row.push_back(BuildParameterName(t.valueCode, doc->Params));
    const int ch = static_cast<std::int16_t>(t.channel);
    std::string chText;
    if (ch >= 0 && ch < channels && NeedsChannel(t.valueCode)) {
      char buf[16];
      std::snprintf(buf, sizeof buf, "%2d:", ch + 1);
      chText = buf + doc->ChInfo[static_cast<std::size_t>(ch)].name;
    }
    row.push_back(chText);
    row.push_back(t.upperOp == 2 ? "<" : "<=");
    row.push_back(Format3(t.upper));
  };
  constexpr int kColumns = 15;
  std::vector<std::string> cells;
  auto stageName = [&](std::uint8_t code) {
    std::string name;
    doc->GetStageName(static_cast<signed char>(code), name);
    return name;
  };
  for (int i = 1; i <= n; ++i) {
    const LogicCondition& c = set[static_cast<std::size_t>(i - 1)];
    std::vector<std::string> row{std::to_string(i), stageName(c.stage)};
    term(row, c.term1);
    if (c.andSwitch != 0) {
      row.push_back("&");
      term(row, c.term2);
    }
    row.resize(kColumns);
    cells.insert(cells.end(), row.begin(), row.end());
  }
  if (used > 0) {
    std::vector<std::string> row{std::to_string(n + 1), stageName(set[static_cast<std::size_t>(n)].stage)};
    row.resize(kColumns);
    cells.insert(cells.end(), row.begin(), row.end());
  }
  list.AppendRows(cells, kColumns);
  list.AutoSizeColumns();

  bool restored = false;
  const int m = std::min(n, static_cast<int>(selected.size()));
  for (int r = 0; r < m; ++r) {
    if (!selected[static_cast<std::size_t>(r)]) continue;
    list.SetSelected(r, true);
    restored = true;
  }
  if (!restored && list.GetCount() > 0) list.SetCurSel(0);
}

void LyrWorkspaceLogicView::OnControlNotify(int controlId, int code) {
  if (controlId != kListId || code != ui::NM_CLICK) return;
  if (ScreeningRunning != 0 || DocumentLoaded == 0 || ResultModifiedState == 0) return;
  if (List().GetSelectedIndexes().empty()) return;
  CMainFrame* frame = MainFrame();
  LyrTrendDummyView* trend = frame != nullptr ? frame->TrendView() : nullptr;
  LyrTrendInfoAreaView* info = trend != nullptr ? trend->InfoArea() : nullptr;
  if (info == nullptr) return;
  std::vector<std::uint8_t> changed;
  if (info->CheckThresholdEdit(changed) == 0) return;
  // The graphs whose thresholds changed are drawn anew.
  for (std::uint8_t graph : changed)
    if (graph < 20) {
      trend->TrendArea.Invalidate();
      trend->TrendArea.UpdateWindow();
      break;
    }
}
