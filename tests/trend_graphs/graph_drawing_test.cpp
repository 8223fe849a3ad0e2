// Trend graph drawing, read back from the graph's back bitmap: scales, the four draw types
// and their edge cases, clock labels, and the live path of a screening run.
#include <cmath>
#include <vector>

#include "app/frame/frame_globals.h"
#include "graph_fixture.h"

namespace {

constexpr draw::ColorRef kBlack = 0;
constexpr draw::ColorRef kZeroBlue = draw::Rgb(0, 0, 255);

class GraphDrawingTest : public GraphTest {
 protected:
  void SetUp() override {
    GraphTest::SetUp();
    DocumentLoaded = 1;
    Show(1, 10, 1);  // 20 shown epochs
    EmgGraph(0, 100.0, 0.0);
    for (int e = 0; e < kEpochs; ++e) SetEmg(e, 0.0f);
  }
  void Style(int g, int drawType, int dotSize) {
    TrendItem.word4[static_cast<std::size_t>(g)] = static_cast<std::uint16_t>(drawType);
    TrendItem.word6[static_cast<std::size_t>(g)] = static_cast<std::uint16_t>(dotSize);
    TrendItem.word5[static_cast<std::size_t>(g)] = 0;
  }
  const draw::Image& Draw(int g = 0) {
    Graph(g).Redraw();
    return Graph(g).BackBitmap();
  }
  int X(int e, int g = 0) const {
    const ui::Rect r = const_cast<GraphDrawingTest*>(this)->Graph(g).PlotRect();
    return static_cast<int>(static_cast<double>(e) * (r.right - r.left) / const_cast<GraphDrawingTest*>(this)->Area().TableSize());
  }
  int Y(double v, int g = 0) { return Graph(g).ValueToY(v); }
  int CountColour(const draw::Image& img, draw::ColorRef c, const ui::Rect& in) {
    int n = 0;
    for (int y = std::max(in.top, 0); y < std::min(in.bottom, img.Height()); ++y)
      for (int x = std::max(in.left, 0); x < std::min(in.right, img.Width()); ++x) n += img.GetPixel(x, y) == c;
    return n;
  }
};

TEST_F(GraphDrawingTest, DegenerateScalePutsEveryPointOnTheTopEdgeWithoutZeroLine) {
  EmgGraph(0, 5.0, 5.0);
  Style(0, 0, 0);
  for (int e = 0; e < 20; ++e) SetEmg(e, static_cast<float>(e * 3));
  const draw::Image& img = Draw();
  // Epoch 0's column starts at x 0, left of the plot's first pixel: its point is not shown.
  for (int e = 1; e < 20; ++e) EXPECT_EQ(img.GetPixel(X(e), 0), kBlack) << "epoch " << e;
  EXPECT_EQ(CountColour(img, kZeroBlue, ui::Rect{0, 0, img.Width(), img.Height()}), 0) << "no zero line";
  // With a real scale the zero line is there.
  EmgGraph(0, 100.0, -100.0);
  EXPECT_GT(CountColour(Draw(), kZeroBlue, ui::Rect{0, 0, 10000, 10000}), 0);
}

TEST_F(GraphDrawingTest, DotsOfOneTwoAndThreePixelsAndNothingOutsideThePlot) {
  SetEmg(4, 50.0f);
  SetEmg(6, 150.0f);   // above the scale
  SetEmg(8, -50.0f);   // below it
  for (int size = 0; size < 3; ++size) {
    Style(0, 0, size);
    const draw::Image& img = Draw();
    const int x = X(4), y = Y(50.0);
    EXPECT_EQ(CountColour(img, kBlack, ui::Rect{x - 3, y - 3, x + 6, y + 6}), (size + 1) * (size + 1)) << size;
    EXPECT_EQ(img.GetPixel(x, y), kBlack);
    const ui::Rect plot = Graph(0).PlotRect();
    for (int e : {6, 8})
      EXPECT_EQ(CountColour(img, kBlack, ui::Rect{X(e), 0, X(e) + 3, plot.bottom}), 0) << "epoch " << e << " size " << size;
  }
}

TEST_F(GraphDrawingTest, ColumnsAreClampedToThePlotAndLinesStartAfterEpochZero) {
  EmgGraph(0, 100.0, -100.0);
  SetEmg(3, 150.0f);
  Style(0, 2, 0);
  const draw::Image& img = Draw();
  const int y0 = Y(0.0);
  EXPECT_EQ(img.GetPixel(X(3), 0), kBlack) << "the column is cut at the top edge";
  EXPECT_EQ(img.GetPixel(X(3), y0 - 1), kBlack) << "and reaches zero";
  // Line: epochs 0 and 1 at the top; no segment leads into epoch 0.
  SetEmg(0, 100.0f);
  SetEmg(1, 100.0f);
  Style(0, 3, 0);
  const draw::Image& line = Draw();
  const ui::Rect plot = Graph(0).PlotRect();
  EXPECT_EQ(line.GetPixel(X(0) + 1, Y(100.0)), kBlack) << "the segment from 0 to 1";
  EXPECT_EQ(CountColour(line, kBlack, ui::Rect{0, Y(100.0) + 3, 1, y0 - 3}), 0) << "nothing rises to epoch 0";
  (void)plot;
}

TEST_F(GraphDrawingTest, DotsOnRowBoundariesLandOnTheRowOfTheScale) {
  // A scale of 0 .. 49 over 128 rows: values on the row boundaries (whole quotients, which a
  // product with 1/49 misses by one row) and a float step either side of other boundaries.
  EmgGraph(0, 49.0, 0.0);
  Style(0, 0, 0);
  const int extra = Graph(0).GetClientRect().Height() - Graph(0).PlotRect().Height();
  Graph(0).MoveWindow(ui::Rect{40, 0, 40 + 401, 128 + extra});
  const ui::Rect plot = Graph(0).PlotRect();
  ASSERT_EQ(plot.bottom - plot.top, 128);
  for (int batch = 0; batch < 4; ++batch) {
    std::vector<float> values;
    for (int e = 1; e < 20; ++e) {
      float v = static_cast<float>(49.0 - 49.0 * (e + 19 * batch) / 128.0);
      if (batch > 0) {
        const float towards[] = {-1.0f, 100.0f};
        v = std::nextafter(v, towards[(e + batch) % 2]);
      }
      values.push_back(v);
      SetEmg(e, v);
    }
    const draw::Image& img = Draw();
    for (int e = 1; e < 20; ++e) {
      const int y = Y(values[static_cast<std::size_t>(e - 1)]);
      EXPECT_EQ(img.GetPixel(X(e), y), kBlack) << "epoch " << e << " value " << values[static_cast<std::size_t>(e - 1)];
      EXPECT_EQ(CountColour(img, kBlack, ui::Rect{X(e), plot.top, X(e) + 1, plot.bottom}), 1) << "epoch " << e;
    }
  }
}

TEST_F(GraphDrawingTest, NarrowColumnsStillDrawOnePixelWide) {
  // 20 shown epochs over a plot of 10 pixels: half a pixel each.
  Graph(0).MoveWindow(ui::Rect{40, 0, 40 + 11, 120});
  ASSERT_EQ(Graph(0).PlotRect().Width(), 10);
  SetEmg(3, 50.0f);
  Style(0, 1, 0);
  const draw::Image& img = Draw();
  const int x = X(3), y = Y(50.0);
  ASSERT_EQ(x, 1);
  ASSERT_EQ(X(2), x) << "the column has no width of its own";
  EXPECT_EQ(img.GetPixel(x, y), kBlack);
  EXPECT_EQ(img.GetPixel(x, y - 1), kBlack) << "a crossbar two pixels high";
  EXPECT_NE(img.GetPixel(x + 1, y), kBlack) << "one pixel wide";
  Style(0, 2, 0);
  const draw::Image& column = Draw();
  EXPECT_EQ(column.GetPixel(x, y + 2), kBlack);
  EXPECT_NE(column.GetPixel(x + 1, y + 2), kBlack);
}

TEST_F(GraphDrawingTest, ClockLabelsOnlyUnderTheBottomGraph) {
  for (int count : {1, 2}) {
    Show(1, 10, count);
    for (int g = 0; g < count; ++g) {
      EmgGraph(g, 100.0, 0.0);
      Style(g, 2, 0);
    }
    for (int g = 0; g < count; ++g) {
      const draw::Image& img = Draw(g);
      const ui::Rect plot = Graph(g).PlotRect();
      const bool bottom = g == count - 1;
      const int th = Graph(g).GetClientRect().Height() - plot.bottom - (bottom ? Area().LastPaneExtra() : 0);
      // Below the ticks: only label text.
      const ui::Rect labels{0, plot.bottom + th / 2 + 1, img.Width(), img.Height()};
      EXPECT_EQ(CountColour(img, kBlack, labels) > 0, bottom) << "graph " << g << " of " << count;
    }
  }
}

TEST(GraphGeometry, PositionClassesStandEvenlyWithAFreeStepAboveAndBelow) {
  TrendGraphScale scale;  // integer 0 .. n + 1
  scale.upperInt = 5;
  std::vector<int> ys;
  for (int i = 0; i < 4; ++i) ys.push_back(TrendValueToY(i + 1, 0, 100, scale));
  EXPECT_EQ(ys, (std::vector<int>{80, 60, 40, 20})) << "class 1 lowest; y = (5 - class) x 100 / 5";
  EXPECT_EQ(TrendYToValue(40, 0, 100, scale), 3.0);
  scale.upperInt = scale.lowerInt = 2;
  EXPECT_EQ(TrendValueToY(7, 0, 100, scale), 0) << "degenerate: the top edge";
}

TEST_F(GraphDrawingTest, ShiftedPictureOfARunEqualsARedraw) {
  Show(1, 10, 2);  // graph 0 is not the bottom one
  EmgGraph(0, 100.0, 0.0);
  Style(0, 2, 0);
  for (int e = 0; e < kEpochs; ++e) SetEmg(e, static_cast<float>((e * 37) % 100));
  // Whole-pixel columns: 20 columns of 20 pixels.
  Graph(0).MoveWindow(ui::Rect{40, 0, 40 + 401, 120});
  ASSERT_EQ(Graph(0).PlotRect().Width(), 400);
  ScreeningRunning = 1;
  Doc().LastScreenedEpoch = kEpochs - 1;
  Area().ResetEpochTable();
  for (int e = 0; e < 20; ++e) Area().AdvanceEpoch(e);
  Graph(0).Redraw();
  // The next staged epoch shifts the table and the picture by one column.
  Area().AdvanceEpoch(20);
  ASSERT_EQ(Area().GetEpoch(0), 1);
  Area().SetCursor(20, 1);
  const draw::Image shifted = Graph(0).BackBitmap();
  ASSERT_EQ(Area().GetScrollFlag(0), 0) << "the graph took its shift";
  Graph(0).Redraw();
  const draw::Image& redrawn = Graph(0).BackBitmap();
  int differing = 0;
  for (int y = 0; y < redrawn.Height(); ++y)
    for (int x = 0; x < redrawn.Width(); ++x) differing += shifted.GetPixel(x, y) != redrawn.GetPixel(x, y);
  EXPECT_EQ(differing, 0);
  for (int x = 0; x < redrawn.Width(); ++x) {
    int n = 0;
    for (int y = 0; y < redrawn.Height(); ++y) n += shifted.GetPixel(x, y) != redrawn.GetPixel(x, y);
    if (n > 0) ADD_FAILURE() << "x " << x << ": " << n;
  }
  ScreeningRunning = 0;
}

}  // namespace
