// Trend graph drawing: geometry, the full draw into the back bitmap, the live path of one
// epoch (with the one-column shift while a screening run scrolls), titles and value texts.
#include "app/trend/lyr_trend_graph_view.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <exception>
#include <span>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/document/trend_item_names.h"
#include "app/frame/display_fonts.h"
#include "app/frame/frame_globals.h"
#include "app/frame/main_frame.h"
#include "app/frame/program_settings.h"
#include "app/results/hypnogram_printing.h"
#include "app/trend/lyr_trend_graph_container.h"
#include "app/trend/lyr_trend_popup_menu.h"
#include "app/trend/lyr_trend_tool.h"
#include "app/trend/trend_dummy_view.h"
#include "app/trend/trend_settings.h"
#include "platform/ui/control_bar.h"
#include "platform/ui/dialog.h"
#include "platform/ui/message_box.h"

namespace {

constexpr draw::ColorRef kBlack = 0;
constexpr draw::ColorRef kZeroLine = draw::Rgb(0, 0, 255);

bool PrintingBlack() { return PrintTarget == 2 && PrintInColor == 0; }
draw::ColorRef PrintColour(draw::ColorRef c) { return PrintingBlack() ? kBlack : c; }
draw::ColorRef PlotBackground() { return DisplayColors[0]; }
draw::ColorRef GridColour() { return PrintColour(DisplayColors[2]); }
draw::ColorRef TimeScaleColour() { return PrintColour(TrendColors[2]); }
draw::Font ScreenFont() { return draw::Font(DisplayFonts[3]); }

const RespPeakTable* BreathList(CQLM2_AnalyzerDoc& doc, int category) {
  SleepDstrbTables& t = doc.RecognitionTables;
  switch (category) {
    case 14: return &t.AirFlowPPAmp();
    case 15: return &t.RespCPPAmp();
    case 16: return &t.RespAPPAmp();
    default: return nullptr;
  }
}

std::span<const RespPeakEntry> BreathEntries(const RespPeakTable& table) {
  const std::size_t n = std::min<std::size_t>(table.entries.size(), static_cast<std::size_t>(std::max(table.count, 0)));
  return {table.entries.data(), n};
}

int PositionClassCount(const CQLM2_AnalyzerDoc& doc) {
  return std::clamp(doc.Params.sleepDstrb.positionsInUse, 0,
                    static_cast<int>(doc.Params.sleepDstrb.positions.size()));
}

}  // namespace

// ---- Scale -------------------------------------------------------------------------------

bool TrendGraphScale::Holds(double v) const { return v >= std::min(Lower(), Upper()) && v <= std::max(Lower(), Upper()); }

double TrendYToValue(int y, int top, int bottom, const TrendGraphScale& scale) {
  const double range = scale.Range();
  if (!(range > 0.0) || bottom == top) return 0.0;
  return scale.Upper() - y / ((bottom - top) / range);
}

draw::Font TrendGraphTitleFont() {
  // The titles share the font of the parameter bar's first value list when it exists.
  if (const CMainFrame* frame = CQLM2_AnalyzerDoc::MainFrame();
      frame != nullptr && frame->ParameterBar != nullptr && ui::Control(frame->ParameterBar, 1446).Exists())
    return draw::GetStockFont(draw::DEFAULT_GUI_FONT);
  return ScreenFont();
}

// ---- Graph view --------------------------------------------------------------------------

LyrTrendTrendAreaView::LyrTrendTrendAreaView(LyrTrendTrendAreaDummyView* container) : container_(container) {}

LyrTrendTrendAreaView::~LyrTrendTrendAreaView() {
  backDC_.reset();
  screenDC_.reset();
}

CQLM2_AnalyzerDoc* LyrTrendTrendAreaView::Doc() const {
  // The document is looked up once per document the view is given (every value asks).
  if (GetDocument() != docOf_) {
    docOf_ = GetDocument();
    doc_ = dynamic_cast<CQLM2_AnalyzerDoc*>(docOf_);
  }
  return doc_;
}

void LyrTrendTrendAreaView::BeginPass(draw::Dc& dc) {
  // Edges made for the plot before this pass serve it at most.
  const PlotEdges made = plotEdges_;
  plotEdges_.valid = false;
  draw::Rect clip;
  const int type = dc.GetClipBox(&clip);
  pass_.clipEmpty = type == draw::RGN_ERROR || type == draw::NULLREGION;
  pass_.scale = GetScale();
  pass_.available = IsTrendItemAvailable() != 0;
  pass_.active = true;
  pass_.fill.valid = false;
  // A pass over an unscrolled picture: what PlotValue asks of every value is the same for
  // the whole pass, so it is asked once here.
  const int n = container_->TableSize();
  pass_.plain = !pass_.clipEmpty && DocumentLoaded != 0 && Doc() != nullptr && graphNo_ < TrendGraphCountHeld() &&
                n > 0 && firstEpoch_ >= 0 && firstEpoch_ == container_->GetEpoch(0) &&
                container_->GetScrollFlag(graphNo_) == 0;
  if (!pass_.plain) return;
  const ui::Rect& r = Area();
  pass_.item = TrendItemOfGraph(graphNo_);
  pass_.drawType = TrendItem.word4[static_cast<std::size_t>(graphNo_)];
  pass_.dotSize = TrendItem.word6[static_cast<std::size_t>(graphNo_)];
  pass_.top = Printing() ? r.top : 0;
  pass_.y0 = pass_.drawType == 2 ? TrendValueToY(0.0, r.top, r.bottom, pass_.scale) + pass_.top : 0;
  pass_.upper = pass_.scale.Upper();
  pass_.height = r.bottom - r.top;
  pass_.range = pass_.scale.Range();
  pass_.reciprocal = pass_.range > 0.0 ? 1.0 / pass_.range : 0.0;
  pass_.values = &Values();
  if (!(made.valid && !Printing() && made.first == firstEpoch_ && made.count == n && made.rect == r))
    ColumnEdges(r, firstEpoch_, n, pass_.columnLeft);
}

void LyrTrendTrendAreaView::ColumnEdges(const ui::Rect& r, std::int32_t first, int n, std::vector<std::int32_t>& out) const {
  out.resize(static_cast<std::size_t>(n) + 1);
  const int width = r.right - r.left;
  const int left = Printing() ? r.left : 0;
  if (width < 0 || first < 0) {
    for (int k = 0; k <= n; ++k) out[static_cast<std::size_t>(k)] = static_cast<int>(EpochToX(r, first + k));
    return;
  }
  // k * width / n rounded down, stepped without a division per column: the same integer
  // EpochToX truncates its quotient to.
  const int whole = width / n, part = width % n;
  int x = 0, rest = 0;
  for (int k = 0; k <= n; ++k) {
    out[static_cast<std::size_t>(k)] = x + left;
    x += whole;
    rest += part;
    if (rest >= n) {
      rest -= n;
      ++x;
    }
  }
}

void LyrTrendTrendAreaView::FlushFill(draw::Dc& dc) {
  Pass::Fill& f = pass_.fill;
  if (!f.valid) return;
  dc.FillSolidRect(ui::Rect{f.left, f.top, f.right, f.bottom}, f.colour);
  f.valid = false;
}

LyrTrendGraphValues& LyrTrendTrendAreaView::Values() const {
  LyrTrendGraphValues& v = container_->Values[static_cast<std::size_t>(std::clamp(graphNo_, 0, 19))];
  v.SetDocument(Doc());
  return v;
}

bool LyrTrendTrendAreaView::Printing() const { return PrintTarget == 2; }

bool LyrTrendTrendAreaView::IsLastGraph() const { return graphNo_ == TrendGraphCountHeld() - 1; }

int LyrTrendTrendAreaView::EpochCount() const {
  const CQLM2_AnalyzerDoc* doc = Doc();
  return doc != nullptr && EpochSeconds > 0 ? doc->GetDivNum(EpochSeconds) : 0;
}

float LyrTrendTrendAreaView::GetRunningMax() const { return Values().RunningMax(); }
float LyrTrendTrendAreaView::GetRunningMin() const { return Values().RunningMin(); }
void LyrTrendTrendAreaView::ResetRunningRange() { Values().ResetRange(); }

int LyrTrendTrendAreaView::IsTrendItemAvailable() const { return ::IsTrendItemAvailable(Doc(), graphNo_); }

void LyrTrendTrendAreaView::OnInitialUpdate() {
  if (!backDC_) backDC_ = draw::Dc::CreateCompatibleDC(nullptr);
  if (!screenDC_) screenDC_ = draw::Dc::CreateCompatibleDC(nullptr);
}

int LyrTrendTrendAreaView::TextHeight() const {
  draw::Image probe(1, 1, 32);
  draw::Dc dc(probe);
  dc.SelectFont(Printing() ? PrintFont() : ScreenFont());
  return dc.GetTextExtent("MM").cy;
}

void LyrTrendTrendAreaView::OnSize(std::uint32_t, int cx, int cy) {
  if (Doc() == nullptr) return;
  textHeight_ = TextHeight();
  int bottom = cy - textHeight_;
  if (IsLastGraph()) bottom -= container_->LastPaneExtra();
  plotRect_ = ui::Rect{1, 0, cx, bottom};
  container_->ResetZoomMarks(1);
  CreateBackBitmap();
}

void LyrTrendTrendAreaView::CreateBackBitmap() {
  OnInitialUpdate();
  const ui::Rect c = GetClientRect();
  backDC_->SelectBitmap(nullptr);
  screenDC_->SelectBitmap(nullptr);
  backBitmap_ = draw::Image(std::max(1, c.Width()), std::max(1, c.Height()), 32);
  screen_ = draw::Image(std::max(1, c.Width()), std::max(1, c.Height()), 32);
  backDC_->SelectBitmap(&backBitmap_);
  screenDC_->SelectBitmap(&screen_);
  presentOnly_ = false;
}

void LyrTrendTrendAreaView::Redraw() {
  ++Redraws;
  DrawAll();
  if (IsWindow()) Present();
}

void LyrTrendTrendAreaView::DrawAll() {
  if (!backDC_ || backBitmap_.IsNull()) return;
  backDC_->SelectClipRgn(nullptr);
  OnDraw(*backDC_);
  Compose();
}

void LyrTrendTrendAreaView::EnsureComposed() {
  if (composeDirty_) Compose();
}

void LyrTrendTrendAreaView::Compose() {
  composeDirty_ = false;
  if (!backDC_ || backBitmap_.IsNull()) return;
  const ui::Rect c = GetClientRect();
  screenDC_->BitBlt(0, 0, c.Width(), c.Height(), backDC_.get(), 0, 0, draw::SRCCOPY);
  drawnCursor_ = -1;
  DrawOverlay(*screenDC_);
  DrawCursorIfShown();
}

void LyrTrendTrendAreaView::Present() {
  presentOnly_ = true;
  Invalidate(false);
}

void LyrTrendTrendAreaView::OnPaint(draw::Dc& dc) {
  if (!backDC_ || backBitmap_.IsNull()) {
    OnDraw(dc);
    return;
  }
  const ui::Rect c = GetClientRect();
  if (!presentOnly_) DrawAll();
  else EnsureComposed();
  presentOnly_ = false;
  dc.BitBlt(0, 0, c.Width(), c.Height(), screenDC_.get(), 0, 0, draw::SRCCOPY);
}

// ---- Geometry ----

double LyrTrendTrendAreaView::EpochToX(const ui::Rect& r, std::int32_t epoch) const {
  const int n = std::max(1, container_->TableSize());
  double x = static_cast<double>(epoch - firstEpoch_) * (r.right - r.left) / n;
  if (x < 0.0 || epoch < 0) x = 0.0;
  if (Printing()) x += r.left;
  return x;
}

void LyrTrendTrendAreaView::CreateTrendWndPosTbl() {
  plotEdges_.valid = false;
  try {
    const int n = container_->TableSize();
    if (n <= 0) {
      columnX_.clear();
      return;
    }
    const std::int32_t first = container_->GetEpoch(0);
    const std::int32_t saved = firstEpoch_;
    firstEpoch_ = first;
    // The edges with the right edge of the last column: a drawing pass over the plot that
    // follows takes them over.
    ColumnEdges(plotRect_, first, n, pass_.columnLeft);
    columnX_.assign(pass_.columnLeft.begin(), pass_.columnLeft.begin() + n);
    plotEdges_ = PlotEdges{!Printing(), first, n, plotRect_};
    firstEpoch_ = saved;
  } catch (const std::exception&) {
    ui::MessageBox("LyrTrendTrendAreaView::CreateTrendWndPosTbl");
  }
}

int LyrTrendTrendAreaView::GetXOfEpoch(std::int32_t epoch) const {
  const int n = static_cast<int>(columnX_.size());
  if (n == 0) return -1;
  const std::int32_t first = container_->GetEpoch(0);
  if (epoch < first || epoch > first + n - 1) return -1;
  return columnX_[static_cast<std::size_t>(epoch - first)];
}

TrendGraphScale LyrTrendTrendAreaView::GetScale() const {
  const TrendItemKey item = TrendItemOfGraph(graphNo_);
  const TrendItemRange r = GetTrendItemRange(item.third, item.category, item.sub, item.third);
  TrendGraphScale s;
  s.mode = r.mode == 0 ? 0 : 1;
  s.upperInt = r.upperInt;
  s.lowerInt = r.lowerInt;
  s.upperReal = r.upperReal;
  s.lowerReal = r.lowerReal;
  return s;
}

int LyrTrendTrendAreaView::ValueToY(double value) const {
  const ui::Rect& r = Area();
  const int y = TrendValueToY(value, r.top, r.bottom, GetScale());
  return Printing() ? y + r.top : y;
}

double LyrTrendTrendAreaView::YToValue(int y) const {
  const ui::Rect& r = Area();
  if (Printing()) y -= r.top;
  return TrendYToValue(y, r.top, r.bottom, GetScale());
}

std::int32_t LyrTrendTrendAreaView::EpochAtX(int x) const {
  const int n = std::max(1, container_->TableSize());
  const double ppe = static_cast<double>(plotRect_.right - plotRect_.left) / n;
  if (!(ppe > 0.0)) return firstEpoch_;
  if (firstEpoch_ == -1) return container_->GetEpoch(0) + static_cast<std::int32_t>(x / ppe);
  return static_cast<std::int32_t>(x / ppe + firstEpoch_);
}

void LyrTrendTrendAreaView::GetTickPhase(std::int32_t& phase, std::int32_t& step) const {
  phase = 0;
  const int count = EpochCount();
  LyrTrendDummyView* host = container_->Host;
  if (host != nullptr)
    for (std::int32_t e = firstEpoch_; e < firstEpoch_ + container_->TableSize() && e < count; ++e)
      if (host->IsTimeScaleEpoch(e) != 0) {
        phase = e;
        break;
      }
  step = EpochSeconds > 0 ? LyrTrendTool::GetTimeScaleStep(MinutesPerLineHeld()) * HypnogramLinesHeld() * 60 / EpochSeconds
                          : 1;
  step = std::max(step, 1);
}

// ---- Full draw ----

void LyrTrendTrendAreaView::DrawBaseLine(draw::Dc& dc, int x0, int right, int bottom) {
  const draw::Pen old = dc.SelectPen(draw::Pen{draw::PS_SOLID, 1, kBlack});
  dc.MoveTo(x0, bottom);
  dc.LineTo(right, bottom);
  dc.SelectPen(old);
}

void LyrTrendTrendAreaView::FillBackground(draw::Dc& dc, const ui::Rect& whole, const ui::Rect& r) {
  // On screen the window colour goes only where the plot's background does not (each pixel
  // is written once); on paper the plot is filled over the whole.
  const ui::Rect w = whole.Normalized(), p = r.Normalized();
  const ui::Rect inner{std::max(w.left, p.left), std::max(w.top, p.top), std::min(w.right, p.right),
                       std::min(w.bottom, p.bottom)};
  if (Printing() || inner.IsEmpty()) {
    dc.FillSolidRect(whole, TrendWindowColor());
    dc.FillSolidRect(r, PlotBackground());
    return;
  }
  const draw::ColorRef around = TrendWindowColor();
  const draw::SolidFill bands[4] = {{ui::Rect{w.left, w.top, w.right, inner.top}, around},
                                    {ui::Rect{w.left, inner.bottom, w.right, w.bottom}, around},
                                    {ui::Rect{w.left, inner.top, inner.left, inner.bottom}, around},
                                    {ui::Rect{inner.right, inner.top, w.right, inner.bottom}, around}};
  dc.FillSolidRects(bands);
  dc.FillSolidRect(r, PlotBackground());
}

void LyrTrendTrendAreaView::OnDraw(draw::Dc& dc) {
  CQLM2_AnalyzerDoc* doc = Doc();
  if (doc == nullptr) return;
  const ui::Rect whole = Printing() ? printRect_ : GetClientRect();
  const ui::Rect& r = Area();
  FillBackground(dc, whole, r);
  DrawBaseLine(dc, Printing() ? r.left : 0, r.right, r.bottom);
  CreateTrendWndPosTbl();
  if (DocumentLoaded == 0 || TrendItemOfGraph(graphNo_).category == 0) return;
  const int saved = dc.SaveDC();
  dc.SelectPen(draw::Pen{draw::PS_SOLID, 1, kBlack});
  dc.SelectFont(Printing() ? PrintFont() : ScreenFont());
  dc.SetROP2(draw::R2_COPYPEN);
  dc.SetBkMode(draw::TRANSPARENT);
  firstEpoch_ = container_->GetEpoch(0);
  std::int32_t phase = 0, step = 1;
  GetTickPhase(phase, step);
  const int n = container_->TableSize();
  const int count = EpochCount();
  const bool last = IsLastGraph();
  BeginPass(dc);
  // The grid epochs are phase + k * step: the next one is counted to, not tested for.
  std::int32_t nextGrid = firstEpoch_ + ((phase - firstEpoch_) % step + step) % step;
  // Items of one value an epoch are drawn a run at a time: the epochs between two grid
  // lines together.
  const bool runs = pass_.plain && OneValuePerEpoch(pass_.item);
  const std::int32_t end = firstEpoch_ + n;
  for (std::int32_t e = firstEpoch_; e < end;) {
    if (e == nextGrid) {
      nextGrid += step;
      FlushFill(dc);
      DrawTimeGrid(dc, e);
      if (last) DrawTimeLabel(dc, e);
    }
    if (runs) {
      // At most kRunEpochs at a time, so that what the values were read from is still at
      // hand for the colours.
      constexpr std::int32_t kRunEpochs = 1024;
      const std::int32_t stop = std::min({end, nextGrid, e + kRunEpochs});
      PlotRunInPass(dc, e, std::min(stop, count));
      e = stop;
      continue;
    }
    if (e < count) DrawEpoch(dc, e, 1);
    ++e;
  }
  FlushFill(dc);
  pass_.active = false;
  DrawValueTexts(dc);
  DrawZeroLine(dc);
  DrawPrintTitle(dc);
  dc.RestoreDC(saved);
}

void LyrTrendTrendAreaView::DrawTimeGrid(draw::Dc& dc, std::int32_t e, int gridFromX) {
  const ui::Rect& r = Area();
  int x = static_cast<int>(EpochToX(r, e));
  const int x2 = static_cast<int>(EpochToX(r, e + 1));
  if (LyrTrendDummyView* host = container_->Host)
    x += host->GetTimeScaleOffset(LyrTrendTool::GetTimeScaleStep(MinutesPerLineHeld()) * HypnogramLinesHeld(), e, x2 - x);
  // Grid lines stay inside the plot (not on the frame pixel left of it).
  if (x < r.left || x > r.right) return;
  const draw::Pen old = dc.SelectPen(draw::Pen{draw::PS_DOT, 1, GridColour()});
  const int rop = dc.SetROP2(draw::R2_COPYPEN);
  const int bk = dc.SetBkMode(draw::TRANSPARENT);
  if (x >= gridFromX) {
    dc.MoveTo(x, r.top);
    dc.LineTo(x, r.bottom - 1);
  }
  if (PrintTarget == 0 && ScreeningRunning == 0) {
    dc.SelectPen(draw::Pen{draw::PS_SOLID, 1, TimeScaleColour()});
    dc.MoveTo(x, r.bottom);
    dc.LineTo(x, r.bottom + textHeight_ / 2);
  }
  dc.SetBkMode(bk);
  dc.SetROP2(rop);
  dc.SelectPen(old);
}

void LyrTrendTrendAreaView::DrawTimeLabel(draw::Dc& dc, std::int32_t e) {
  const ui::Rect& r = Area();
  int x = static_cast<int>(EpochToX(r, e));
  const int x2 = static_cast<int>(EpochToX(r, e + 1));
  LyrTrendDummyView* host = container_->Host;
  if (host == nullptr) return;
  x += host->GetTimeScaleOffset(LyrTrendTool::GetTimeScaleStep(MinutesPerLineHeld()) * HypnogramLinesHeld(), e, x2 - x);
  if (x < r.left || x > r.right) return;
  std::int32_t start = 0, end = 0;
  const std::int32_t s = host->GetTimeScaleStart(e, start, end);
  char text[16];
  // A tick at the end of the day reads 00:00 of the next.
  const std::int32_t day = ((s % 86400) + 86400) % 86400;
  std::snprintf(text, sizeof text, "%02d:%02d", day / 3600, (day % 3600) / 60);
  const draw::Font old = dc.SelectFont(Printing() ? PrintFont() : ScreenFont());
  const int bk = dc.SetBkMode(draw::TRANSPARENT);
  const draw::ColorRef colour = dc.SetTextColor(kBlack);
  const int h = dc.GetTextExtent(text).cy;
  dc.TextOut(x, r.bottom + h / 2, text);
  dc.SetTextColor(colour);
  dc.SetBkMode(bk);
  dc.SelectFont(old);
}

void LyrTrendTrendAreaView::DrawEpoch(draw::Dc& dc, std::int32_t e, int redraw) {
  CQLM2_AnalyzerDoc* doc = Doc();
  if (doc == nullptr) return;
  const TrendItemKey item = pass_.active && pass_.plain ? pass_.item : TrendItemOfGraph(graphNo_);
  const TrendGraphScale scale = pass_.active ? pass_.scale : GetScale();
  const bool analysed = e <= doc->LastScreenedEpoch;
  if (item.category == 17 && item.sub == 0) {
    if (analysed) DrawPositionSamples(dc, e, redraw, scale);
  } else if (item.category >= 14 && item.category <= 16 && item.sub == 0) {
    if (analysed) DrawBreathAmplitudes(dc, e, redraw, scale);
  } else if (item.category >= 14 && item.category <= 16 && (item.sub == 2 || item.sub == 4)) {
    if (analysed) DrawBreathIntervals(dc, e, redraw, scale);
  } else if (pass_.active && pass_.plain) {
    PlotInPass(dc, e, pass_.values->GetTrendValue(e));
  } else {
    PlotValue(dc, e, redraw, Values().GetTrendValue(e), scale);
  }
}

bool LyrTrendTrendAreaView::OneValuePerEpoch(const TrendItemKey& item) {
  // DrawEpoch's special items (several values an epoch) are the others.
  if (item.category == 17 && item.sub == 0) return false;
  if (item.category >= 14 && item.category <= 16 && (item.sub == 0 || item.sub == 2 || item.sub == 4)) return false;
  return true;
}

void LyrTrendTrendAreaView::PlotRunInPass(draw::Dc& dc, std::int32_t from, std::int32_t to) {
  if (to <= from) return;
  const int n = static_cast<int>(pass_.columnLeft.size()) - 1;
  if (from < firstEpoch_ || to > firstEpoch_ + n || Doc() == nullptr) {
    for (std::int32_t e = from; e < to; ++e) DrawEpoch(dc, e, 1);
    return;
  }
  const int count = to - from;
  LyrTrendGraphValues& source = *pass_.values;
  std::vector<TrendValue>& values = pass_.runValues;
  values.resize(static_cast<std::size_t>(count));
  // The values in the order the epochs ask for them: a line asks for the value left of
  // its epoch right after the epoch's own (later epochs ask again for values already
  // asked for, which leaves the running range as it is).
  const bool line = pass_.drawType == 3 && pass_.available;
  source.GetTrendValues(from, 1, values.data());
  TrendValue before;
  if (line && from > 0) before = source.GetTrendValue(from - 1);
  source.GetTrendValues(from + 1, count - 1, values.data() + 1);
  const std::int32_t* left = pass_.columnLeft.data();
  const int k0 = from - firstEpoch_;
  const int shown = static_cast<int>(columnX_.size());
  for (int k = k0; k < k0 + count && k < shown; ++k) columnX_[static_cast<std::size_t>(k)] = left[k];
  if (!pass_.available) return;
  std::vector<std::uint32_t>& colours = pass_.runColours;
  colours.resize(static_cast<std::size_t>(count));
  source.GetEpochColors(from, count, colours.data());
  auto number = [&values](int i) {
    const TrendValue& v = values[static_cast<std::size_t>(i)];
    return v.isFloat != 0 ? static_cast<double>(v.floatValue) : static_cast<double>(v.value);
  };
  auto yOf = [this](double value) {
    int y = 0;
    if (!FastPassValueToY(value, y)) y = PassValueToY(value);
    return y;
  };
  std::vector<int>& ys = pass_.runY;
  ys.resize(static_cast<std::size_t>(pass_.drawType == 2 ? 0 : count));
  for (int i = 0; i < count && pass_.drawType != 2; ++i) ys[static_cast<std::size_t>(i)] = yOf(number(i));
  const ui::Rect& r = Area();
  const int rl = r.left, rt = r.top, rr = r.right, rb = r.bottom;
  std::vector<draw::SolidFill>& fills = pass_.runFills;
  fills.clear();
  switch (pass_.drawType) {
    case 0: {
      FlushFill(dc);
      const int side = pass_.dotSize <= 0 ? 1 : std::min(pass_.dotSize, 2) + 1;
      for (int i = 0; i < count; ++i) {
        const int x = left[k0 + i];
        const int y = ys[static_cast<std::size_t>(i)];
        if (!(y >= 0 && x >= rl && x < rr && y >= rt && y < rb)) continue;
        fills.push_back({ui::Rect{x, y, x + side, y + side}, colours[static_cast<std::size_t>(i)]});
      }
      dc.FillSolidRects(fills);
      break;
    }
    case 1: {
      FlushFill(dc);
      for (int i = 0; i < count; ++i) {
        const int x = left[k0 + i];
        int x2 = left[k0 + i + 1];
        if (x2 == x) x2 = x + 1;
        const int xl = std::max(x, rl);
        const int y = ys[static_cast<std::size_t>(i)];
        if (y >= 0 && x >= rl && x < rr && y >= rt && y < rb && x2 > xl)
          fills.push_back({ui::Rect{xl, y - 1, x2, y + 1}, colours[static_cast<std::size_t>(i)]});
      }
      dc.FillSolidRects(fills);
      break;
    }
    case 2: {
      // Columns of one colour on the same pixels join into one fill (see PlotInPass); the
      // last one stays open for the next run.
      Pass::Fill f = pass_.fill;
      const int y0 = pass_.y0;
      auto join = [&f, &fills](int xl, int x2, int yTop, int yBottom, draw::ColorRef colour) {
        if (f.valid && f.left == xl && f.right == x2 && f.colour == colour) {
          f.top = std::min(f.top, yTop);
          f.bottom = std::max(f.bottom, yBottom);
          return;
        }
        if (f.valid) fills.push_back({ui::Rect{f.left, f.top, f.right, f.bottom}, f.colour});
        f = Pass::Fill{true, xl, yTop, x2, yBottom, colour};
      };
      // The epochs in a row on the same pixels in one colour reach from the zero line to
      // their highest and their lowest value together; y grows or falls with the value, so
      // only the extreme values need a y (values that are not finite take the long way).
      for (int i = 0; i < count;) {
        const int x = left[k0 + i];
        int x2 = left[k0 + i + 1];
        if (x2 == x) x2 = x + 1;
        const int xl = std::max(x, rl);
        const draw::ColorRef colour = colours[static_cast<std::size_t>(i)];
        double low = number(i), high = low;
        bool finite = std::isfinite(low);
        int j = i + 1;
        for (; j < count; ++j) {
          const int xj = left[k0 + j];
          int x2j = left[k0 + j + 1];
          if (x2j == xj) x2j = xj + 1;
          if (x2j != x2 || std::max(xj, rl) != xl || colours[static_cast<std::size_t>(j)] != colour) break;
          const double v = number(j);
          finite = finite && std::isfinite(v);
          low = std::min(low, v);
          high = std::max(high, v);
        }
        if (x2 > xl) {
          if (finite) {
            const int ya = yOf(low), yb = yOf(high);
            const int yTop = std::max(std::min(std::min(ya, yb), y0), rt);
            const int yBottom = std::min(std::max(std::max(ya, yb), y0), rb);
            if (yBottom > yTop) join(xl, x2, yTop, yBottom, colour);
          } else {
            for (int m = i; m < j; ++m) {
              const int y = yOf(number(m));
              const int yTop = std::max(std::min(y, y0), rt);
              const int yBottom = std::min(std::max(y, y0), rb);
              if (yBottom > yTop) join(xl, x2, yTop, yBottom, colour);
            }
          }
        }
        i = j;
      }
      pass_.fill = f;
      dc.FillSolidRects(fills);
      break;
    }
    case 3: {
      FlushFill(dc);
      std::vector<draw::Point>& ends = pass_.runLines;
      ends.clear();
      for (int i = 0; i < count; ++i) {
        const std::int32_t e = from + i;
        if (e <= 0) continue;
        const int k = k0 + i;
        // The epoch left of the first shown one stands at the plot's left edge.
        const int xPrev = k > 0 ? left[k - 1] : left[0];
        int yPrev = 0;
        if (i > 0) {
          yPrev = ys[static_cast<std::size_t>(i) - 1];
        } else {
          yPrev = PassValueToY(before.isFloat != 0 ? before.floatValue : static_cast<double>(before.value));
        }
        ends.push_back({xPrev, yPrev});
        ends.push_back({left[k] - 1, ys[static_cast<std::size_t>(i)]});
      }
      if (ends.empty()) break;
      const draw::Pen old = dc.SelectPen(draw::Pen{draw::PS_SOLID, 1, kBlack});
      dc.LineSegments(ends);
      dc.SelectPen(old);
      break;
    }
    default: FlushFill(dc); break;
  }
}

void LyrTrendTrendAreaView::DrawPositionSamples(draw::Dc& dc, std::int32_t e, int redraw, const TrendGraphScale& scale) {
  const int samples = static_cast<int>(EpochSeconds / 0.5);
  LyrTrendGraphValues& values = Values();
  for (int i = 0; i < samples; ++i) {
    float signal = 0.0f;
    int cls = 0;
    values.GetPositionValue(e, i, signal, cls);
    PlotValue(dc, e, redraw, TrendValue{0, static_cast<std::int16_t>(cls), 0.0f}, scale);
  }
}

void LyrTrendTrendAreaView::DrawBreathAmplitudes(draw::Dc& dc, std::int32_t e, int redraw, const TrendGraphScale& scale) {
  CQLM2_AnalyzerDoc* doc = Doc();
  const RespPeakTable* list = doc != nullptr ? BreathList(*doc, TrendItemOfGraph(graphNo_).category) : nullptr;
  if (list == nullptr) return;
  const long long n = static_cast<long long>(EpochSeconds / 0.25);
  const long long first = e * n, last = (e + 1) * n - 1;
  const auto entries = BreathEntries(*list);
  auto it = std::lower_bound(entries.begin(), entries.end(), first,
                             [](const RespPeakEntry& p, long long v) { return p.point < v; });
  for (; it != entries.end() && it->point <= last; ++it) PlotValue(dc, e, redraw, TrendValue{1, 0, it->value}, scale);
}

void LyrTrendTrendAreaView::DrawBreathIntervals(draw::Dc& dc, std::int32_t e, int redraw, const TrendGraphScale& scale) {
  CQLM2_AnalyzerDoc* doc = Doc();
  const TrendItemKey item = TrendItemOfGraph(graphNo_);
  const RespPeakTable* list = doc != nullptr ? BreathList(*doc, item.category) : nullptr;
  if (list == nullptr) return;
  const long long n = static_cast<long long>(EpochSeconds / 0.25);
  const long long first = e * n, last = (e + 1) * n - 1;
  const auto entries = BreathEntries(*list);
  // The first breath of the list has no breath before it: it gives no interval.
  for (std::size_t i = 2; i < entries.size(); i += 2) {
    const long long p = entries[i].point;
    if (p < first) continue;
    if (p > last) break;
    const double interval = (p - entries[i - 2].point) * 0.25;
    double v = interval;
    if (item.sub == 4) {
      if (interval == 0.0) continue;
      v = 60.0 / interval;
    }
    PlotValue(dc, e, redraw, TrendValue{1, 0, static_cast<float>(v)}, scale);
  }
}

int LyrTrendTrendAreaView::PassValueToY(double value) const {
  int y = 0;
  if (FastPassValueToY(value, y)) return y;
  const ui::Rect& r = Area();
  return TrendValueToY(value, r.top, r.bottom, pass_.scale) + pass_.top;
}

void LyrTrendTrendAreaView::PlotInPass(draw::Dc& dc, std::int32_t e, const TrendValue& v) {
  const int n = static_cast<int>(pass_.columnLeft.size()) - 1;
  const int k = e - firstEpoch_;
  if (k < 0 || k >= n) return;
  const ui::Rect& r = Area();
  const double value = v.isFloat != 0 ? v.floatValue : static_cast<double>(v.value);
  const int y = PassValueToY(value);
  const int x = pass_.columnLeft[static_cast<std::size_t>(k)];
  int x2 = pass_.columnLeft[static_cast<std::size_t>(k) + 1];
  if (x2 == x) x2 = x + 1;
  if (k < static_cast<int>(columnX_.size())) columnX_[static_cast<std::size_t>(k)] = x;
  if (!pass_.available) return;
  const draw::ColorRef colour = pass_.values->GetEpochColor(e);
  const int xl = std::max(x, static_cast<int>(r.left));
  switch (pass_.drawType) {
    case 0:
      FlushFill(dc);
      if (!(y >= 0 && x >= r.left && x < r.right && y >= r.top && y < r.bottom)) break;
      if (pass_.dotSize <= 0) dc.SetPixel(x, y, colour);
      else {
        const int side = std::min(pass_.dotSize, 2) + 1;
        dc.FillSolidRect(ui::Rect{x, y, x + side, y + side}, colour);
      }
      break;
    case 1:
      FlushFill(dc);
      if (y >= 0 && x >= r.left && x < r.right && y >= r.top && y < r.bottom && x2 > xl)
        dc.FillSolidRect(ui::Rect{xl, y - 1, x2, y + 1}, colour);
      break;
    case 2: {
      const int yTop = std::max(std::min(y, pass_.y0), r.top);
      const int yBottom = std::min(std::max(y, pass_.y0), r.bottom);
      if (yBottom <= yTop || x2 <= xl) break;
      Pass::Fill& f = pass_.fill;
      if (f.valid && f.left == xl && f.right == x2 && f.colour == colour) {
        f.top = std::min(f.top, yTop);
        f.bottom = std::max(f.bottom, yBottom);
        break;
      }
      FlushFill(dc);
      f = Pass::Fill{true, xl, yTop, x2, yBottom, colour};
      break;
    }
    case 3: {
      FlushFill(dc);
      if (e <= 0) break;
      // The epoch left of the first shown one stands at the plot's left edge.
      const int xPrev = k > 0 ? pass_.columnLeft[static_cast<std::size_t>(k) - 1] : pass_.columnLeft[0];
      const TrendValue p = pass_.values->GetTrendValue(e - 1);
      const double pv = p.isFloat != 0 ? p.floatValue : static_cast<double>(p.value);
      const int yPrev = PassValueToY(pv);
      const draw::Pen old = dc.SelectPen(draw::Pen{draw::PS_SOLID, 1, kBlack});
      dc.MoveTo(xPrev, yPrev);
      dc.LineTo(x - 1, y);
      dc.SelectPen(old);
      break;
    }
    default: FlushFill(dc); break;
  }
}

void LyrTrendTrendAreaView::PlotValue(draw::Dc& dc, std::int32_t e, int redraw, const TrendValue& v,
                                      const TrendGraphScale& scale) {
  if (DocumentLoaded == 0 || Doc() == nullptr || graphNo_ >= TrendGraphCountHeld()) return;
  const int n = container_->TableSize();
  if (n == 0) return;
  const bool scrolling = container_->GetScrollFlag(graphNo_) != 0;
  if (scrolling) e = container_->GetEpoch(n - 1);
  firstEpoch_ = container_->GetEpoch(0);
  if (firstEpoch_ == -1 || e < firstEpoch_ || (!scrolling && e >= firstEpoch_ + n)) return;
  if (pass_.active ? pass_.clipEmpty : false) return;
  if (!pass_.active) {
    draw::Rect clip;
    const int type = dc.GetClipBox(&clip);
    if (type == draw::RGN_ERROR || type == draw::NULLREGION) return;
  }
  const ui::Rect& r = Area();
  const double value = v.isFloat != 0 ? v.floatValue : static_cast<double>(v.value);
  const int top = Printing() ? r.top : 0;
  const int drawType = TrendItem.word4[static_cast<std::size_t>(graphNo_)];
  const int y = TrendValueToY(value, r.top, r.bottom, scale) + top;
  const int y0 = drawType == 2 ? TrendValueToY(0.0, r.top, r.bottom, scale) + top : 0;
  const double ppe = static_cast<double>(r.right - r.left) / n;
  const int x = static_cast<int>(EpochToX(r, e));
  int x2 = static_cast<int>(EpochToX(r, e + 1));
  if (x2 == x) x2 = x + 1;
  const int xPrev = drawType == 3 && e > 0 ? static_cast<int>(EpochToX(r, e - 1)) : 0;
  if (scrolling) {
    container_->ClearScrollFlag(graphNo_);
    ScrollPicture(dc, r, ppe);
    if (redraw == 1) {
      if (IsLastGraph()) {
        const ui::Rect c = GetClientRect();
        dc.FillSolidRect(ui::Rect{0, r.bottom + 1, r.right, c.bottom}, TrendWindowColor());
      }
      // The grid lines moved with the picture; the ticks and labels under it are new, and
      // so are the grid lines in the cleared strip at the right.
      const int stripLeft = r.right - (static_cast<int>(ppe) + 1);
      std::int32_t phase = 0, step = 1;
      GetTickPhase(phase, step);
      for (std::int32_t t = phase; t <= firstEpoch_ + n - 1; t += step) {
        if (t < firstEpoch_) continue;
        DrawTimeGrid(dc, t, stripLeft);
        if (IsLastGraph()) DrawTimeLabel(dc, t);
      }
    }
    if (static_cast<int>(columnX_.size()) == n && n > 0) {
      std::rotate(columnX_.begin(), columnX_.begin() + 1, columnX_.end());
      const std::int32_t base = columnX_[0];
      for (int k = 0; k < n - 1; ++k) columnX_[static_cast<std::size_t>(k)] -= base;
      columnX_[static_cast<std::size_t>(n - 1)] = x;
    }
  } else if (e - firstEpoch_ < static_cast<int>(columnX_.size())) {
    columnX_[static_cast<std::size_t>(e - firstEpoch_)] = x;
  }
  LyrTrendGraphValues& values = Values();
  const draw::ColorRef colour = values.GetEpochColor(e);
  if (pass_.active ? !pass_.available : IsTrendItemAvailable() == 0) return;
  const int dotSize = TrendItem.word6[static_cast<std::size_t>(graphNo_)];
  const bool inside = y >= 0 && x >= r.left && x < r.right && y >= r.top && y < r.bottom;
  // Crossbars and columns stay inside the plot across too (the first column starts on the
  // frame pixel left of it).
  const int xl = std::max(x, static_cast<int>(r.left));
  if (drawType != 2) FlushFill(dc);
  switch (drawType) {
    case 0:
      if (!inside) break;
      if (dotSize <= 0) dc.SetPixel(x, y, colour);
      else dc.FillSolidRect(ui::Rect{x, y, x + std::min(dotSize, 2) + 1, y + std::min(dotSize, 2) + 1}, colour);
      break;
    case 1:
      if (inside && x2 > xl) dc.FillSolidRect(ui::Rect{xl, y - 1, x2, y + 1}, colour);
      break;
    case 2: {
      const int yTop = std::max(std::min(y, y0), r.top);
      const int yBottom = std::min(std::max(y, y0), r.bottom);
      if (yBottom <= yTop || x2 <= xl) break;
      // Columns of one colour that fall on the same pixels join into one fill: each reaches
      // the zero line, so together they cover one unbroken stretch.
      Pass::Fill& f = pass_.fill;
      if (pass_.active && !scrolling) {
        if (f.valid && f.left == xl && f.right == x2 && f.colour == colour) {
          f.top = std::min(f.top, yTop);
          f.bottom = std::max(f.bottom, yBottom);
          break;
        }
        FlushFill(dc);
        f = Pass::Fill{true, xl, yTop, x2, yBottom, colour};
        break;
      }
      dc.FillSolidRect(ui::Rect{xl, yTop, x2, yBottom}, colour);
      break;
    }
    case 3: {
      if (e <= 0) break;
      const TrendValue p = values.GetTrendValue(e - 1);
      const double pv = p.isFloat != 0 ? p.floatValue : static_cast<double>(p.value);
      const int yPrev = TrendValueToY(pv, r.top, r.bottom, scale) + top;
      const draw::Pen old = dc.SelectPen(draw::Pen{draw::PS_SOLID, 1, kBlack});
      dc.MoveTo(xPrev, yPrev);
      dc.LineTo(x - 1, y);
      dc.SelectPen(old);
      break;
    }
    default: break;
  }
}

void LyrTrendTrendAreaView::ScrollPicture(draw::Dc& dc, const ui::Rect& r, double ppe) {
  // The plot moves left by the first column's width; the frame pixel left of it stays.
  const int shift = columnX_.size() > 1 ? columnX_[1] : static_cast<int>(ppe);
  const ui::Rect c = GetClientRect();
  if (shift > 0) dc.BitBlt(r.left, 0, r.right - r.left - shift, c.Height(), &dc, r.left + shift, 0, draw::SRCCOPY);
  dc.FillSolidRect(ui::Rect{0, 0, r.left, c.Height()}, TrendWindowColor());
  DrawBaseLine(dc, 0, r.left, r.bottom);
  const int width = static_cast<int>(ppe) + 1;
  const ui::Rect strip{r.right - width, 0, r.right, c.Height()};
  const int saved = dc.SaveDC();
  dc.IntersectClipRect(strip);
  dc.FillSolidRect(strip, TrendWindowColor());
  dc.FillSolidRect(r, PlotBackground());
  DrawBaseLine(dc, 0, r.right, r.bottom);
  dc.RestoreDC(saved);
}

void LyrTrendTrendAreaView::DrawZeroLine(draw::Dc& dc) {
  const TrendGraphScale scale = GetScale();
  if (scale.Degenerate()) return;
  const ui::Rect& r = Area();
  const int y = ValueToY(0.0);
  const draw::Pen old = dc.SelectPen(draw::Pen{draw::PS_SOLID, 1, PrintColour(kZeroLine)});
  const int rop = dc.SetROP2(draw::R2_COPYPEN);
  dc.MoveTo(r.left, y);
  dc.LineTo(r.right, y);
  dc.SetROP2(rop);
  dc.SelectPen(old);
}

void LyrTrendTrendAreaView::DrawTitle(draw::Dc& dc) {
  CQLM2_AnalyzerDoc* doc = Doc();
  if (doc == nullptr) return;
  const TrendItemKey item = TrendItemOfGraph(graphNo_);
  const TrendItemSource src = TrendItemSourceOf(*doc);
  std::string text = GetTrendItemName(src, item.category);
  if (const std::string full = GetTrendItemFullName(src, item.category, item.sub); !full.empty()) text += "  " + full;
  if (const std::string sub = GetTrendSubItemName(src, item.category, item.sub, item.third); !sub.empty())
    text += "  " + sub;
  const draw::Font old = dc.SelectFont(Printing() ? PrintFont() : TrendGraphTitleFont());
  const int bk = dc.SetBkMode(draw::TRANSPARENT);
  const draw::ColorRef colour = dc.SetTextColor(kBlack);
  // On paper the title stands in the label column, the unit at the graph's left.
  if (Printing()) dc.TextOut(0, printRect_.top + 1, text);
  else dc.TextOut(dc.GetTextExtent("M").cx, 1, text);
  dc.SetTextColor(colour);
  dc.SetBkMode(bk);
  dc.SelectFont(old);
}

void LyrTrendTrendAreaView::DrawPrintTitle(draw::Dc& dc) {
  CQLM2_AnalyzerDoc* doc = Doc();
  if (!Printing() || doc == nullptr) return;
  const TrendItemKey item = TrendItemOfGraph(graphNo_);
  const std::string unit = GetTrendItemUnit(TrendItemSourceOf(*doc), item.category, item.sub, item.third);
  if (unit.empty()) return;
  const draw::Font old = dc.SelectFont(PrintFont());
  dc.TextOut(printRect_.left + 1, printRect_.top + 1, unit);
  dc.SelectFont(old);
}

void LyrTrendTrendAreaView::DrawValueTexts(draw::Dc& dc) {
  CQLM2_AnalyzerDoc* doc = Doc();
  const int display = TrendItem.word5[static_cast<std::size_t>(graphNo_)];
  if (doc == nullptr || (display != 1 && display != 2) || doc->LastScreenedEpoch < 0 || IsTrendItemAvailable() == 0)
    return;
  const TrendItemKey item = TrendItemOfGraph(graphNo_);
  const ui::Rect& r = Area();
  const std::int32_t last = std::min(firstEpoch_ + container_->TableSize() - 1, EpochCount() - 1);
  if (last < firstEpoch_) return;
  const double ppe = static_cast<double>(r.right - r.left) / (last - firstEpoch_ + 1);
  if (!(ppe > 0.0)) return;
  const draw::Font old = dc.SelectFont(Printing() ? PrintFont() : TrendGraphTitleFont());
  const int bk = dc.SetBkMode(draw::TRANSPARENT);
  const draw::ColorRef colour = dc.SetTextColor(kBlack);
  const int left = Printing() ? r.left : 0;
  LyrTrendGraphValues& values = Values();
  if (display == 1) {
    const int step = static_cast<int>(dc.GetTextExtent("MMMMMM").cx / ppe) + 1;
    for (std::int32_t e = firstEpoch_; e <= last && e <= doc->LastScreenedEpoch; ++e) {
      if (e % step != 0) continue;
      const TrendValue v = values.GetTrendValue(e);
      char text[48];
      if (v.isFloat != 0) std::snprintf(text, sizeof text, "%.3f", v.floatValue);
      else std::snprintf(text, sizeof text, "%d", v.value);
      const int y = ValueToY(v.Number()) - dc.GetTextExtent(text).cy - 1;
      dc.TextOut(static_cast<int>((e - firstEpoch_) * ppe) + left, y, text);
    }
  } else if (item.category == 17 && item.sub == 1 && PositionClassCount(*doc) > 0) {
    const int classes = PositionClassCount(*doc);
    int w = 0;
    for (int i = 0; i < classes; ++i) w = std::max(w, dc.GetTextExtent(GetPositionName(doc->Params.sleepDstrb, i)).cx);
    const int step = static_cast<int>(w / ppe) + 1;
    for (std::int32_t e = firstEpoch_; e <= last && e <= doc->LastScreenedEpoch; ++e) {
      if (e % step != 0) continue;
      const TrendValue v = values.GetMainPositionValue(e);
      const int index = (v.isFloat != 0 ? static_cast<int>(v.floatValue) : v.value) - 1;
      if (index < 0 || index >= classes) continue;
      const std::string name = GetPositionName(doc->Params.sleepDstrb, index);
      // The name stands just above its class's points (class index + 1).
      const int y = ValueToY(index + 1) - dc.GetTextExtent(name).cy - 1;
      dc.TextOut(static_cast<int>((e - firstEpoch_) * ppe) + left, y, name);
    }
  }
  dc.SetTextColor(colour);
  dc.SetBkMode(bk);
  dc.SelectFont(old);
}

void LyrTrendTrendAreaView::DrawOverlay(draw::Dc& dc) {
  DrawTitle(dc);
  DrawLogicLines(dc);
}

void LyrTrendTrendAreaView::PlotNewEpoch(std::int32_t epoch, int redraw) {
  if (!backDC_ || backBitmap_.IsNull() || Doc() == nullptr || DocumentLoaded == 0) return;
  if (TrendItemOfGraph(graphNo_).category == 0) return;
  const ui::Rect c = GetClientRect();
  backDC_->SelectClipRgn(nullptr);
  backDC_->IntersectClipRect(c);
  if (epoch >= 0 && epoch < EpochCount()) DrawEpoch(*backDC_, epoch, redraw);
  DrawZeroLine(*backDC_);
  backDC_->SelectClipRgn(nullptr);
  // The shown picture is made again when it is next shown or drawn on.
  composeDirty_ = true;
  Present();
}

void LyrTrendTrendAreaView::PrintGraph(draw::Dc* dc) {
  if (dc == nullptr) {
    ui::ClientDc window(*this);
    PrintGraph(&window.dc());
    return;
  }
  const int savedHeight = textHeight_;
  const draw::Font old = dc->SelectFont(Printing() ? PrintFont() : ScreenFont());
  textHeight_ = dc->GetTextExtent("MM").cy;
  dc->SelectFont(old);
  OnDraw(*dc);
  DrawOverlay(*dc);
  textHeight_ = savedHeight;
}
