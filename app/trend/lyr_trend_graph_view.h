#pragma once
// One trend graph and its value-axis pane. The axis pane is a strip of the container's
// width whose left 40 pixels show the scale labels (or the body-position classes); the rest
// is the graph, which plots the value of its item for every shown epoch as dots, crossbars,
// columns or a line, with a time grid, clock labels under the bottom graph, a zero line, its
// title and optional value texts. The graph paints from a back bitmap, draws single epochs
// live during screening (shifting its picture by one column once the table scrolls), carries
// the trend cursor, and lets the logic thresholds of its item be dragged.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "app/trend/lyr_trend_values.h"
#include "platform/draw/dc.h"
#include "platform/draw/image.h"
#include "platform/ui/document.h"

class CQLM2_AnalyzerDoc;
class LyrTrendDummyView;
class LyrTrendTrendAreaDummyView;
class LyrTrendTrendAreaView;

// The value scale of a graph: mode 0 integer bounds, 1 real bounds.
struct TrendGraphScale {
  std::uint16_t mode = 0;
  std::int32_t upperInt = 0, lowerInt = 0;
  double upperReal = 0.0, lowerReal = 0.0;
  double Upper() const { return mode == 0 ? upperInt : upperReal; }
  double Lower() const { return mode == 0 ? lowerInt : lowerReal; }
  double Range() const { return std::fabs(Upper() - Lower()); }
  bool Degenerate() const { return Range() <= 0.0; }
  bool Holds(double v) const;
};

// y of a value over a rectangle's height (relative to its top): no clamping. Inline: every
// value drawn asks.
inline int TrendValueToY(double value, int top, int bottom, const TrendGraphScale& scale) {
  const double range = scale.Range();
  if (!(range > 0.0)) return 0;
  const double y = (scale.Upper() - value) * (bottom - top) / range;
  return static_cast<int>(std::clamp(y, -1.0e9, 1.0e9));
}
double TrendYToValue(int y, int top, int bottom, const TrendGraphScale& scale);
// The font of the graph titles and value texts on screen.
draw::Font TrendGraphTitleFont();

class LyrTrendTrendAreaAxisView : public ui::View {
 public:
  explicit LyrTrendTrendAreaAxisView(LyrTrendTrendAreaDummyView* container);
  ~LyrTrendTrendAreaAxisView() override;
  int OnCreate() override;
  void OnSize(std::uint32_t sizeType, int cx, int cy) override;
  void OnDraw(draw::Dc& dc) override;
  void OnLButtonUp(std::uint32_t flags, ui::Point client) override;

  void SetLineNo(int graph) { graphNo_ = graph; }
  int LineNo() const { return graphNo_; }
  void SetPrintRect(const ui::Rect& r) { printRect_ = r; }
  LyrTrendTrendAreaView* Graph() const { return graphView_.get(); }
  // The "Trend Scale" dialog for the graph's item; true when OK stored a new scale.
  bool EditScale();
  // Scale labels or position classes, and the axis line.
  void DrawAxis(draw::Dc& dc);

 private:
  void DrawRangeLabels(draw::Dc& dc, int left, int top, int right, int bottom);
  void DrawPositionAxis(draw::Dc& dc, int left, int top, int right, int bottom);
  LyrTrendTrendAreaDummyView* container_;
  std::unique_ptr<LyrTrendTrendAreaView> graphView_;
  int graphNo_ = 0;
  ui::Rect printRect_;
};

class LyrTrendTrendAreaView : public ui::View {
 public:
  explicit LyrTrendTrendAreaView(LyrTrendTrendAreaDummyView* container);
  ~LyrTrendTrendAreaView() override;
  void OnInitialUpdate() override;
  void OnSize(std::uint32_t sizeType, int cx, int cy) override;
  void OnPaint(draw::Dc& dc) override;
  void OnDraw(draw::Dc& dc) override;
  void OnLButtonDown(std::uint32_t flags, ui::Point client) override;
  void OnMouseMove(std::uint32_t flags, ui::Point client) override;
  void OnLButtonUp(std::uint32_t flags, ui::Point client) override;
  void OnRButtonUp(std::uint32_t flags, ui::Point client) override;
  bool OnCommand(std::uintptr_t wParam, std::intptr_t lParam) override;

  void SetStartEpoch(std::int32_t e) { firstEpoch_ = e; }
  std::int32_t StartEpoch() const { return firstEpoch_; }
  void SetLineNo(int graph) { graphNo_ = graph; }
  int LineNo() const { return graphNo_; }
  void SetPrintRect(const ui::Rect& r) { printRect_ = r; }
  const ui::Rect& PlotRect() const { return plotRect_; }
  CQLM2_AnalyzerDoc* Doc() const;

  // ---- Geometry ----
  double EpochToX(const ui::Rect& r, std::int32_t epoch) const;
  void CreateTrendWndPosTbl();
  // x of a shown epoch's column, -1 outside the shown columns.
  int GetXOfEpoch(std::int32_t epoch) const;
  int ValueToY(double value) const;
  double YToValue(int y) const;
  TrendGraphScale GetScale() const;
  // The epoch under a client x (as a click reads it).
  std::int32_t EpochAtX(int x) const;

  // ---- Drawing ----
  void DrawOverlay(draw::Dc& dc);
  // Live path: draws one epoch into the back bitmap (shifting it first when the container
  // asked this graph to scroll) and shows it.
  void PlotNewEpoch(std::int32_t epoch, int redraw);
  // Draws into a printer context (or the window when null) inside the print rectangle.
  void PrintGraph(draw::Dc* dc);
  float GetRunningMax() const;
  float GetRunningMin() const;
  void ResetRunningRange();
  // 1 when the item can be shown with the open recording.
  int IsTrendItemAvailable() const;
  // The back bitmap (the plot without overlay and cursor) and the picture shown (tests look
  // at what the graph drew).
  const draw::Image& BackBitmap() const { return backBitmap_; }
  const draw::Image& ShownPicture() {
    EnsureComposed();
    return screen_;
  }
  // A full redraw at once (into the back bitmap and the shown picture).
  void Redraw();
  void DrawAll();
  int Redraws = 0;

  // ---- Cursor, mouse and logic lines ----
  // XOR line at the cursor (onlyNew 0: the previous one removed first); stores the mark.
  void DrawCursor(int onlyNew);
  void DrawCursorIfShown();
  // 0 none, 1 upper, 2 lower line under the pointer's y.
  int HitTestLogicLine(ui::Point p) const;
  void StoreDraggedThreshold(ui::Point p);
  int DragState() const { return dragState_; }
  void OnScale();
  // The drag ends on every release and when the capture is lost.
  void EndDrag();

 private:
  void DrawBaseLine(draw::Dc& dc, int x0, int right, int bottom);
  // The window colour over the whole and the plot's background over the plot.
  void FillBackground(draw::Dc& dc, const ui::Rect& whole, const ui::Rect& r);
  // The dotted line only at or right of gridFromX (the ticks and labels always).
  void DrawTimeGrid(draw::Dc& dc, std::int32_t e, int gridFromX = -1000000);
  void DrawTimeLabel(draw::Dc& dc, std::int32_t e);
  void DrawEpoch(draw::Dc& dc, std::int32_t e, int redraw);
  void DrawPositionSamples(draw::Dc& dc, std::int32_t e, int redraw, const TrendGraphScale& scale);
  void DrawBreathAmplitudes(draw::Dc& dc, std::int32_t e, int redraw, const TrendGraphScale& scale);
  void DrawBreathIntervals(draw::Dc& dc, std::int32_t e, int redraw, const TrendGraphScale& scale);
  void PlotValue(draw::Dc& dc, std::int32_t e, int redraw, const TrendValue& v, const TrendGraphScale& scale);
  // PlotValue within a plain pass: the same picture from the pass's shared fields.
  void PlotInPass(draw::Dc& dc, std::int32_t e, const TrendValue& v);
  // DrawEpoch of the epochs from..to-1 within a plain pass for an item of one value an
  // epoch: the same values asked for in the same order, the same picture, drawn in one
  // batch.
  void PlotRunInPass(draw::Dc& dc, std::int32_t from, std::int32_t to);
  // Items DrawEpoch draws one value an epoch of.
  static bool OneValuePerEpoch(const TrendItemKey& item);
  // TrendValueToY over the plot within a plain pass (the same integer, mostly without a
  // division), plus the plot's offset.
  int PassValueToY(double value) const;
  // Its quick path: false where the division must decide.
  bool FastPassValueToY(double value, int& y) const {
    // The product with the reciprocal lies within a few units of the last place of the
    // quotient TrendValueToY divides out; where no integer lies that close, both truncate
    // to the same y. Near an integer (and for huge or odd values) the division decides.
    if (!(pass_.reciprocal > 0.0)) return false;
    const double approx = (pass_.upper - value) * pass_.height * pass_.reciprocal;
    if (!(approx > -1.0e8 && approx < 1.0e8)) return false;
    const double tolerance = std::fabs(approx) * (16.0 * std::numeric_limits<double>::epsilon()) + 1.0e-200;
    const double whole = static_cast<double>(static_cast<long long>(approx));
    const double below = approx >= 0.0 ? whole : whole - 1.0;  // the integers around it
    if (!(approx - below > tolerance && below + 1.0 - approx > tolerance)) return false;
    y = static_cast<int>(whole) + pass_.top;
    return true;
  }
  // The column edges of a pass: the x EpochToX gives each shown epoch and the one after.
  void ColumnEdges(const ui::Rect& r, std::int32_t first, int n, std::vector<std::int32_t>& out) const;
  void ScrollPicture(draw::Dc& dc, const ui::Rect& r, double ppe);
  void DrawZeroLine(draw::Dc& dc);
  void DrawTitle(draw::Dc& dc);
  void DrawPrintTitle(draw::Dc& dc);
  void DrawValueTexts(draw::Dc& dc);
  void DrawLogicLines(draw::Dc& dc);
  void GetTickPhase(std::int32_t& phase, std::int32_t& step) const;
  void CreateBackBitmap();
  bool Printing() const;
  const ui::Rect& Area() const { return Printing() ? printRect_ : plotRect_; }
  LyrTrendGraphValues& Values() const;
  bool IsLastGraph() const;
  int TextHeight() const;
  void JumpToCursor();
  int EpochCount() const;
  // The shown picture from the back bitmap: overlay and cursor on top.
  void Compose();
  void EnsureComposed();
  // Shows the picture as it stands at the next paint.
  void Present();

  // What every value of one drawing pass shares: taken once at its start.
  struct Pass {
    bool active = false;
    bool clipEmpty = false;
    bool available = false;
    TrendGraphScale scale;
    // Set when every value of the pass lands in a shown column of an unscrolled picture:
    // then the fields below stand for the whole pass.
    bool plain = false;
    TrendItemKey item;
    int drawType = 0;
    int dotSize = 0;
    int top = 0;  // y offset of the plot (on paper)
    int y0 = 0;   // y of the zero line (columns)
    // TrendValueToY's terms over the plot: the scale's top value, the plot's height, the
    // range and its reciprocal (0 when the scale has no range).
    double upper = 0.0, height = 0.0, range = 0.0, reciprocal = 0.0;
    LyrTrendGraphValues* values = nullptr;
    // x of the shown columns' left edges, one more for the right edge of the last.
    std::vector<std::int32_t> columnLeft;
    // A column fill still to be drawn.
    struct Fill {
      bool valid = false;
      int left = 0, top = 0, right = 0, bottom = 0;
      draw::ColorRef colour = 0;
    } fill;
    // Buffers of a run of epochs drawn at once.
    std::vector<TrendValue> runValues;
    std::vector<std::uint32_t> runColours;
    std::vector<int> runY;
    std::vector<draw::SolidFill> runFills;
    std::vector<draw::Point> runLines;
  };
  void BeginPass(draw::Dc& dc);
  void FlushFill(draw::Dc& dc);

  LyrTrendTrendAreaDummyView* container_;
  mutable ui::Document* docOf_ = nullptr;
  mutable CQLM2_AnalyzerDoc* doc_ = nullptr;
  Pass pass_;
  // The pass's column edges as CreateTrendWndPosTbl made them for the plot (not on paper).
  struct PlotEdges {
    bool valid = false;
    std::int32_t first = 0;
    int count = 0;
    ui::Rect rect;
  } plotEdges_;
  int graphNo_ = 0;
  std::int32_t firstEpoch_ = 0;
  std::vector<std::int32_t> columnX_;
  ui::Rect plotRect_;
  ui::Rect printRect_;
  std::uint16_t dragState_ = 0;
  std::int32_t dragY_ = 0;
  std::int32_t cursorMoved_ = 0;
  std::unique_ptr<draw::Dc> backDC_;
  draw::Image backBitmap_;
  std::unique_ptr<draw::Dc> screenDC_;
  draw::Image screen_;
  // The next paint shows the picture as it stands (a live step drew into it).
  bool presentOnly_ = false;
  // The back bitmap changed since the shown picture was made from it.
  bool composeDirty_ = false;
  // The epoch whose cursor line the shown picture holds, -1 none.
  std::int32_t drawnCursor_ = -1;
  int textHeight_ = 0;
};
