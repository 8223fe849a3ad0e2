#include "app/trend/lyr_trend_graph_container.h"

#include <algorithm>
#include <exception>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/frame/frame_globals.h"
#include "app/frame/program_settings.h"
#include "app/trend/lyr_trend_graph_view.h"
#include "app/trend/lyr_trend_tool.h"
#include "app/trend/trend_dummy_view.h"
#include "app/trend/trend_settings.h"
#include "platform/draw/dc.h"
#include "platform/ui/message_box.h"

namespace {

int EpochCountOf(const LyrTrendTrendAreaDummyView& c) {
  const auto* doc = dynamic_cast<const CQLM2_AnalyzerDoc*>(c.GetDocument());
  return doc != nullptr && EpochSeconds > 0 ? doc->GetDivNum(EpochSeconds) : 0;
}

}  // namespace

LyrTrendTrendAreaDummyView::LyrTrendTrendAreaDummyView() {
  LogicLower.fill(3.402823466e+38f);
  LogicUpper.fill(-3.402823466e+38f);
  for (int g = 0; g < 20; ++g) Values[static_cast<std::size_t>(g)].SetGraph(g);
}

LyrTrendTrendAreaDummyView::~LyrTrendTrendAreaDummyView() {
  // The panes' windows go before the container's.
  for (auto& axis : axisViews_)
    if (axis) axis->DestroyWindow();
}

int LyrTrendTrendAreaDummyView::OnCreate() {
  try {
    CreateAxisViews();
  } catch (const std::exception&) {
    ui::MessageBox("LyrTrendTrendAreaDummyView::OnCreate");
  }
  return 0;
}

void LyrTrendTrendAreaDummyView::CreateAxisViews() {
  ResetEpochTable();
  ui::CreateContext context;
  context.currentDocument = GetDocument();
  for (int g = 0; g < 20; ++g) {
    auto& axis = axisViews_[static_cast<std::size_t>(g)];
    if (axis) continue;
    axis = std::make_unique<LyrTrendTrendAreaAxisView>(this);
    axis->SetLineNo(g);
    axis->CreateView(this, 100 + g, context);
    axis->SetWindowText("LyrTrendTrendAreaAxisView");
  }
  AllocScrollFlags();
}

LyrTrendTrendAreaAxisView* LyrTrendTrendAreaDummyView::AxisView(int graph) const {
  return graph >= 0 && graph < 20 ? axisViews_[static_cast<std::size_t>(graph)].get() : nullptr;
}

LyrTrendTrendAreaView* LyrTrendTrendAreaDummyView::GraphView(int graph) const {
  const LyrTrendTrendAreaAxisView* axis = AxisView(graph);
  return axis != nullptr ? axis->Graph() : nullptr;
}

void LyrTrendTrendAreaDummyView::OnSize(std::uint32_t, int, int) { LayoutAxisViews(); }

void LyrTrendTrendAreaDummyView::OnDraw(draw::Dc& dc) {
  const ui::Rect r = GetClientRect();
  dc.FillSolidRect(draw::RectFromSize(0, 0, r.Width(), r.Height()), TrendWindowColor());
}

void LyrTrendTrendAreaDummyView::LayoutAxisViews() {
  const ui::Rect client = GetClientRect();
  const int count = TrendGraphCountHeld();
  const int h = (client.Height() - kTrendTimeLabelStrip) / count;
  for (int g = 0; g < 20; ++g) {
    LyrTrendTrendAreaAxisView* axis = AxisView(g);
    if (axis == nullptr || !axis->IsWindow()) continue;
    if (g < count - 1) {
      axis->MoveWindow(draw::RectFromSize(0, g * h, client.Width(), h));
    } else if (g == count - 1) {
      const int height = client.Height() - g * h;
      lastPaneExtra_ = height - h;
      axis->MoveWindow(draw::RectFromSize(0, g * h, client.Width(), height));
    } else {
      axis->MoveWindow(ui::Rect{-1, -1, -1, -1});
    }
  }
}

void LyrTrendTrendAreaDummyView::ResetEpochTable() {
  tableFill_ = 0;
  epochTable_.assign(static_cast<std::size_t>(ShownEpochs()), 0);
  for (std::size_t k = 0; k < epochTable_.size(); ++k) epochTable_[k] = static_cast<std::int32_t>(k);
}

void LyrTrendTrendAreaDummyView::FreeEpochTable() { epochTable_.clear(); }

std::int32_t LyrTrendTrendAreaDummyView::GetEpoch(int k) const {
  return k >= 0 && k < TableSize() ? epochTable_[static_cast<std::size_t>(k)] : 0;
}

void LyrTrendTrendAreaDummyView::PageTo(std::int32_t epoch) {
  const int n = TableSize();
  if (n == 0) return;
  const std::int32_t first = std::max(0, epoch / n * n);
  for (int k = 0; k < n; ++k) epochTable_[static_cast<std::size_t>(k)] = first + k;
}

void LyrTrendTrendAreaDummyView::RedrawGraphs() {
  const int count = TrendGraphCountHeld();
  for (int g = 0; g < count; ++g) {
    LyrTrendTrendAreaView* view = GraphView(g);
    if (view == nullptr) continue;
    view->SetStartEpoch(GetEpoch(0));
    view->Redraw();
  }
}

void LyrTrendTrendAreaDummyView::RefreshAll(std::int32_t epoch) {
  if (tableFill_ <= 0) return;
  PageTo(epoch);
  RedrawGraphs();
}

void LyrTrendTrendAreaDummyView::ScrollToEpoch(int relative, std::int32_t epoch, int redraw) {
  ScrollMode = relative;
  ScrollEpoch = epoch;
  ScrollFlag = redraw;
  const auto* doc = dynamic_cast<const CQLM2_AnalyzerDoc*>(GetDocument());
  const std::int32_t page = doc != nullptr ? doc->CurrentPage : 0;
  const std::int32_t first = EpochSeconds > 0 ? static_cast<std::int32_t>(
                                                    static_cast<long long>(page) * PageSeconds / EpochSeconds)
                                              : 0;
  const std::int32_t target = relative == 0 ? first + epoch : epoch;
  // On the first page the table starts again with the recording's first epoch only: a reset
  // at every epoch of a page of several epochs would leave the table behind the run.
  if (first == 0 && target == 0) ResetEpochTable();
  AdvanceEpoch(target);
  SetCursor(target, redraw);
}

void LyrTrendTrendAreaDummyView::AdvanceEpoch(std::int32_t epoch) {
  const int n = TableSize();
  if (n == 0) return;
  ++tableFill_;
  if (tableFill_ > n && ScreeningRunning != 0) {
    // The picture scrolls: every graph shifts by one column on its next value.
    const std::int32_t last = epochTable_.back();
    std::rotate(epochTable_.begin(), epochTable_.begin() + 1, epochTable_.end());
    epochTable_.back() = last + 1;
    tableFill_ = n;
    std::fill(scrollFlags_.begin(), scrollFlags_.end(), 1);
  }
  if (ScreeningRunning == 0 && (epoch < epochTable_.front() || epoch >= epochTable_.front() + n)) RefreshAll(epoch);
}

void LyrTrendTrendAreaDummyView::FillFrom(std::int32_t first) {
  const int n = TableSize();
  for (int k = 0; k < n; ++k) epochTable_[static_cast<std::size_t>(k)] = k;
  first = std::max(first, 0);
  const int count = EpochCountOf(*this);
  for (int k = 0; k < n && first + k < count; ++k) epochTable_[static_cast<std::size_t>(k)] = first + k;
}

void LyrTrendTrendAreaDummyView::SetCenterEpoch(std::int32_t epoch) {
  const int n = TableSize();
  const int count = EpochCountOf(*this);
  std::int32_t first = epoch - n / 2;
  if (first >= count) first = count - n;
  first = std::max(first, 0);
  std::fill(epochTable_.begin(), epochTable_.end(), 0);
  for (int k = 0; k < n && first + k < count; ++k) epochTable_[static_cast<std::size_t>(k)] = first + k;
  for (int g = 0; g < TrendGraphCountHeld(); ++g)
    if (LyrTrendTrendAreaView* view = GraphView(g)) view->SetStartEpoch(first);
}

void LyrTrendTrendAreaDummyView::ZoomAround(std::int32_t epoch) {
  const int minutes = ZoomSpanMinutes(TrendZoomState);
  if (minutes == 0 || EpochSeconds <= 0) return;
  const std::int32_t span = minutes * 60 / EpochSeconds;
  const std::int32_t first = std::max(0, epoch - (2 * std::max(zoomSteps_, 0) + 1) * (span / 2));
  const int fill = tableFill_;
  ResetEpochTable();
  tableFill_ = fill;
  for (int k = 0; k < TableSize(); ++k) epochTable_[static_cast<std::size_t>(k)] = first + k;
  RedrawGraphs();
}

void LyrTrendTrendAreaDummyView::SetCursor(std::int32_t epoch, int redraw) {
  CursorEpoch = epoch;
  const int count = TrendGraphCountHeld();
  for (int g = 0; g < count; ++g)
    if (LyrTrendTrendAreaView* view = GraphView(g); view != nullptr && view->IsWindow()) view->PlotNewEpoch(epoch, redraw);
}

void LyrTrendTrendAreaDummyView::RedrawCategory(int category) {
  const bool respiratory = category == 11 || category == 12;
  if (!respiratory && category != 20 && category != 23 && category != 24) return;
  const int count = TrendGraphCountHeld();
  for (int g = 0; g < count; ++g) {
    const int c = TrendItemOfGraph(g).category;
    const bool match = respiratory ? (c == 11 || c == 12) : c == category;
    if (!match) continue;
    if (LyrTrendTrendAreaView* view = GraphView(g)) view->Redraw();
  }
}

void LyrTrendTrendAreaDummyView::ResetZoomMarks(int) { zoomSteps_ = 0; }

void LyrTrendTrendAreaDummyView::ApplyGraphCount(int count) {
  FreeScrollFlags();
  FreeEpochTable();
  TrendSettingWord2 = static_cast<std::uint16_t>(std::clamp(count, 1, kMaxTrendGraphs));
  AllocScrollFlags();
  ResetEpochTable();
  FillFrom(0);
  LayoutAxisViews();
  RedrawGraphs();
}

void LyrTrendTrendAreaDummyView::AllocScrollFlags() {
  scrollFlags_.assign(static_cast<std::size_t>(TrendGraphCountHeld()), 0);
}

void LyrTrendTrendAreaDummyView::FreeScrollFlags() { scrollFlags_.clear(); }

int LyrTrendTrendAreaDummyView::GetScrollFlag(int graph) const {
  return graph >= 0 && graph < static_cast<int>(scrollFlags_.size()) ? scrollFlags_[static_cast<std::size_t>(graph)]
                                                                      : 0;
}

void LyrTrendTrendAreaDummyView::ClearScrollFlag(int graph) {
  if (graph >= 0 && graph < static_cast<int>(scrollFlags_.size())) scrollFlags_[static_cast<std::size_t>(graph)] = 0;
}
