// The value-axis pane of a trend graph: scale labels or body-position classes, the axis
// line, and the scale edit of the graph's item.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/document/trend_item_names.h"
#include "app/frame/display_fonts.h"
#include "app/frame/frame_globals.h"
#include "app/results/hypnogram_printing.h"
#include "app/trend/lyr_dlg_trend_draw_scale.h"
#include "app/trend/lyr_trend_graph_container.h"
#include "app/trend/lyr_trend_graph_view.h"
#include "app/trend/lyr_trend_tool.h"
#include "app/trend/trend_settings.h"
#include "platform/ui/message_box.h"

namespace {

constexpr int kLabelStrip = 40;

bool Printing() { return PrintTarget == 2; }

std::string BoundText(const TrendItemRange& r, bool upper) {
  char text[64];
  if (r.mode == 0) std::snprintf(text, sizeof text, "%d", upper ? r.upperInt : r.lowerInt);
  else std::snprintf(text, sizeof text, "%.2f", upper ? r.upperReal : r.lowerReal);
  return text;
}

}  // namespace

LyrTrendTrendAreaAxisView::LyrTrendTrendAreaAxisView(LyrTrendTrendAreaDummyView* container)
    : container_(container) {}

LyrTrendTrendAreaAxisView::~LyrTrendTrendAreaAxisView() {
  if (graphView_) graphView_->DestroyWindow();
}

int LyrTrendTrendAreaAxisView::OnCreate() {
  try {
    graphView_ = std::make_unique<LyrTrendTrendAreaView>(container_);
    graphView_->SetStartEpoch(0);
    graphView_->SetLineNo(graphNo_);
    ui::CreateContext context;
    context.currentDocument = GetDocument();
    graphView_->CreateView(this, 1, context);
    graphView_->SetWindowText("LyrTrendTrendAreaView");
    graphView_->OnInitialUpdate();
  } catch (const std::exception&) {
    ui::MessageBox("LyrTrendTrendAreaAxisView::OnCreate");
  }
  return 0;
}

void LyrTrendTrendAreaAxisView::OnSize(std::uint32_t, int cx, int cy) {
  if (graphView_ && graphView_->IsWindow())
    graphView_->MoveWindow(draw::RectFromSize(kLabelStrip, 0, std::max(0, cx - kLabelStrip), cy));
}

void LyrTrendTrendAreaAxisView::OnLButtonUp(std::uint32_t, ui::Point) {
  if (ScreeningRunning == 0 && DocumentLoaded != 0) EditScale();
}

void LyrTrendTrendAreaAxisView::OnDraw(draw::Dc& dc) {
  const ui::Rect c = GetClientRect();
  dc.FillSolidRect(c, TrendWindowColor());
  DrawAxis(dc);
}

void LyrTrendTrendAreaAxisView::DrawAxis(draw::Dc& dc) {
  const auto* doc = dynamic_cast<const CQLM2_AnalyzerDoc*>(GetDocument());
  if (doc == nullptr) return;
  try {
    const int saved = dc.SaveDC();
    const draw::ColorRef pen = Printing() && PrintInColor != 0 ? 0 : draw::Rgb(0, 0, 1);
    dc.SelectPen(draw::Pen{draw::PS_SOLID, 1, pen});
    dc.SetROP2(draw::R2_COPYPEN);
    dc.SetBkMode(draw::TRANSPARENT);
    dc.SetTextColor(0);
    const ui::Rect r = Printing() ? printRect_ : GetClientRect();
    dc.SelectFont(Printing() ? PrintFont() : draw::Font(DisplayFonts[3]));
    const int th = dc.GetTextExtent("MM").cy;
    int bottom = r.bottom;
    if (!Printing() && graphNo_ == TrendGraphCountHeld() - 1) bottom -= container_->LastPaneExtra();
    bottom -= th;
    if (DocumentLoaded != 0) {
      if (TrendItemOfGraph(graphNo_).category == 17) DrawPositionAxis(dc, r.left, r.top, r.right, bottom + 1);
      else DrawRangeLabels(dc, r.left, r.top, r.right, bottom + 1);
    }
    if (Printing()) {
      dc.MoveTo(r.right - 1, r.top);
      dc.LineTo(r.right - 1, bottom);
    } else {
      dc.MoveTo(kLabelStrip - 1, r.top);
      dc.LineTo(kLabelStrip - 1, bottom + 1);
    }
    dc.RestoreDC(saved);
  } catch (const std::exception&) {
    ui::MessageBox("LyrTrendTrendAreaAxisView::OnDraw");
  }
}

void LyrTrendTrendAreaAxisView::DrawRangeLabels(draw::Dc& dc, int, int top, int right, int bottom) {
  const TrendItemKey item = TrendItemOfGraph(graphNo_);
  const TrendItemRange range = GetTrendItemRange(item.third, item.category, item.sub, item.third);
  const std::string upper = BoundText(range, true), lower = BoundText(range, false);
  const draw::Size us = dc.GetTextExtent(upper), ls = dc.GetTextExtent(lower);
  if (Printing()) {
    dc.TextOut(right - us.cx, top, upper);
    dc.TextOut(right - ls.cx, bottom, lower);
  } else {
    dc.TextOut(2, top, upper);
    dc.TextOut(2, bottom - ls.cy, lower);
  }
}

void LyrTrendTrendAreaAxisView::DrawPositionAxis(draw::Dc& dc, int, int top, int right, int bottom) {
  const auto* doc = dynamic_cast<const CQLM2_AnalyzerDoc*>(GetDocument());
  if (doc == nullptr) return;
  const SleepDstrbParam& sd = doc->Params.sleepDstrb;
  const int n = std::clamp(sd.positionsInUse, 0, static_cast<int>(sd.positions.size()));
  if (n <= 0) return;
  TrendGraphScale scale;
  scale.upperInt = n + 1;
  for (int i = 0; i < n; ++i) {
    const int y = TrendValueToY(i + 1, top, bottom, scale) + (Printing() ? top : 0);
    const std::string name = GetPositionName(sd, i);
    const draw::Size s = dc.GetTextExtent(name);
    dc.TextOut(Printing() ? right - s.cx : 2, y - s.cy / 2, name);
  }
}

bool LyrTrendTrendAreaAxisView::EditScale() {
  auto* doc = dynamic_cast<CQLM2_AnalyzerDoc*>(GetDocument());
  if (doc == nullptr || !graphView_) return false;
  const TrendItemKey item = TrendItemOfGraph(graphNo_);
  const TrendItemRange range = GetTrendItemRange(item.third, item.category, item.sub, item.third);
  LyrDlgTrendScale dialog(this);
  dialog.Document = doc;
  dialog.SetParams(graphNo_, item.category, item.sub, item.third, BoundText(range, true), BoundText(range, false),
                   graphView_->GetRunningMax(), graphView_->GetRunningMin());
  if (dialog.DoModal() != ui::IDOK) return false;
  const double top = std::atof(dialog.TopText.c_str()), bottom = std::atof(dialog.BottomText.c_str());
  SetTrendItemRange(item.third, item.category, item.sub, item.third, range.mode, static_cast<std::int32_t>(top),
                    static_cast<std::int32_t>(bottom), top, bottom);
  Invalidate();
  UpdateWindow();
  graphView_->Redraw();
  for (int g = 0; g < TrendGraphCountHeld(); ++g) {
    if (g == graphNo_ || LyrTrendTool::IsSameTrendItem(g, graphNo_) == 0) continue;
    if (LyrTrendTrendAreaAxisView* other = container_->AxisView(g)) {
      other->Invalidate();
      other->UpdateWindow();
      if (other->Graph() != nullptr) other->Graph()->Redraw();
    }
  }
  return true;
}
