// The graph container: pane layout, the table of shown epochs as the raw page, the main frame
// and a screening run move it, and which graphs an event edit repaints.
#include <numeric>
#include <vector>

#include "app/frame/frame_globals.h"
#include "app/frame/navigation_state.h"
#include "graph_fixture.h"

namespace {

std::vector<int> Table(const LyrTrendTrendAreaDummyView& a) {
  std::vector<int> t;
  for (int k = 0; k < a.TableSize(); ++k) t.push_back(a.GetEpoch(k));
  return t;
}

std::vector<int> Span(int from, int count) {
  std::vector<int> v(static_cast<std::size_t>(count));
  std::iota(v.begin(), v.end(), from);
  return v;
}

TEST_F(GraphTest, PanesShareTheHeightAndTheLastReachesTheBottom) {
  for (int count : {1, 3, 20}) {
    Show(1, 10, count);
    const int H = Area().GetClientRect().Height(), W = Area().GetClientRect().Width();
    ASSERT_GT(H, 18 + count) << "a pane of at least a pixel each";
    const int h = (H - 18) / count;
    for (int g = 0; g < 20; ++g) {
      const ui::Rect r = testhooks::RectInWindow(*Area().AxisView(g), Area());
      if (g >= count) {
        EXPECT_EQ(r.Width() * r.Height(), 0) << "pane " << g << " of " << count << " is hidden";
        continue;
      }
      EXPECT_EQ(r.top, g * h) << g << " of " << count;
      EXPECT_EQ(r.Width(), W);
      EXPECT_EQ(r.Height(), g < count - 1 ? h : H - g * h) << g << " of " << count;
    }
    // One graph: the label strip and the remainder lie under its plot.
    EXPECT_EQ(Area().LastPaneExtra(), (H - (count - 1) * h) - h) << count;
    if (count == 1) {
      EXPECT_EQ(Area().LastPaneExtra(), 18);
    }
  }
}

TEST_F(GraphTest, TableIsPagedFilledAndCentred) {
  Show(1, 10, 2);  // 20 shown epochs of 60
  ASSERT_EQ(Area().TableSize(), 20);
  EXPECT_EQ(Table(Area()), Span(0, 20));
  Area().PageTo(45);
  EXPECT_EQ(Table(Area()), Span(40, 20));
  // From 50 the recording ends after ten entries: the rest keep their column number.
  Area().FillFrom(50);
  std::vector<int> expected = Span(50, 10);
  for (int k = 10; k < 20; ++k) expected.push_back(k);
  EXPECT_EQ(Table(Area()), expected);
  // Centred near the end: the window stays centred and entries past the end hold 0 ...
  Area().SetCenterEpoch(55);
  expected = Span(45, 15);
  expected.resize(20, 0);
  EXPECT_EQ(Table(Area()), expected);
  EXPECT_EQ(Graph(0).StartEpoch(), 45);
  // ... and is pulled back only when its first epoch would lie past the end.
  Area().SetCenterEpoch(75);
  EXPECT_EQ(Table(Area()), Span(40, 20));
  // A recording shorter than the shown epochs: first 0, the tail 0.
  Show(1, 60, 2);  // 120 shown epochs
  Area().SetCenterEpoch(30);
  expected = Span(0, 60);
  expected.resize(120, 0);
  EXPECT_EQ(Table(Area()), expected);
}

TEST_F(GraphTest, ScrollingOnTheFirstPageResetsAndARunShiftsByOne) {
  Show(1, 10, 3);
  Area().PageTo(40);
  Doc().CurrentPage = 0;
  Area().ScrollToEpoch(0, 0, 0);
  EXPECT_EQ(Table(Area()), Span(0, 20)) << "reset on page 0";
  EXPECT_EQ(Area().TableFill(), 1);
  Area().ScrollToEpoch(0, 3, 0);
  EXPECT_EQ(Area().TableFill(), 2) << "the page's later epochs advance";
  EXPECT_EQ(Area().CursorEpoch, 3);
  // A run fills the table, then every further epoch shifts it and flags every graph.
  ScreeningRunning = 1;
  for (int e = 4; e < 20; ++e) Area().AdvanceEpoch(e);
  for (int e = 0; e < 3; ++e) Area().ClearScrollFlag(e);
  EXPECT_EQ(Area().TableFill(), 18);
  for (int e = 20; e < 23; ++e) Area().AdvanceEpoch(e);
  EXPECT_EQ(Area().TableFill(), 20) << "held at the shown epochs";
  EXPECT_EQ(Table(Area()), Span(1, 20));
  for (int g = 0; g < 3; ++g) EXPECT_EQ(Area().GetScrollFlag(g), 1) << g;
  EXPECT_EQ(Area().GetScrollFlag(3), 0) << "no flag past the graph count";
  ScreeningRunning = 0;
  // Outside a run an epoch past the shown ones pages there.
  Area().AdvanceEpoch(45);
  EXPECT_EQ(Table(Area()), Span(40, 20));
}

TEST_F(GraphTest, EventEditsRepaintTheGraphsOfTheirCategory) {
  Show(1, 10, 4);
  SetItem(0, 11, 0);
  SetItem(1, 12, 0);
  SetItem(2, 20, 0);
  SetItem(3, 8, 0);
  struct Case {
    int category;
    std::vector<int> repainted;
  };
  for (const Case& c : {Case{12, {1, 1, 0, 0}}, Case{11, {1, 1, 0, 0}}, Case{20, {0, 0, 1, 0}}, Case{5, {0, 0, 0, 0}},
                        Case{23, {0, 0, 0, 0}}}) {
    std::vector<int> before, after;
    for (int g = 0; g < 4; ++g) before.push_back(Graph(g).Redraws);
    Area().RedrawCategory(c.category);
    for (int g = 0; g < 4; ++g) after.push_back(Graph(g).Redraws - before[static_cast<std::size_t>(g)]);
    EXPECT_EQ(after, c.repainted) << "category " << c.category;
  }
}

}  // namespace

namespace {

// A screening run with the window shown: the graphs fill up epoch by epoch, then the table
// and the picture move on by one column a staged epoch until the run ends at the last epoch.
TEST_F(GraphTest, ScreeningGrowsTheGraphsThenShiftsThem) {
  DocumentLoaded = 1;
  Show(1, 10, 1);  // 20 shown epochs of 60
  EmgGraph(0, 1.0, 0.0);
  TrendItem.word4[0] = 2;
  Graph(0).Redraw();
  ASSERT_NE(Frame().StartScreening(0), 0);
  Frame().SetTimer(kTimerScreeningStep, 0);
  int shiftedAt = -1;
  while (Frame().IsTimerArmed(kTimerScreeningStep)) {
    Frame().OnTimer(kTimerScreeningStep);
    if (shiftedAt < 0 && Area().GetEpoch(0) > 0) shiftedAt = Doc().LastScreenedEpoch;
  }
  ScreeningRunning = 0;
  EXPECT_GE(shiftedAt, 20) << "the table moves only once it is full";
  EXPECT_EQ(Area().GetEpoch(0), kEpochs - 20) << "the last 20 epochs shown";
  EXPECT_EQ(Area().TableFill(), 20);
  // The last column holds the last epoch's value, as a redraw draws it.
  const draw::Image live = Graph(0).BackBitmap();
  Graph(0).Redraw();
  const ui::Rect plot = Graph(0).PlotRect();
  const int x = plot.right - 2;
  int differing = 0;
  for (int y = 0; y < plot.bottom; ++y) differing += live.GetPixel(x, y) != Graph(0).BackBitmap().GetPixel(x, y);
  EXPECT_EQ(differing, 0);
}

}  // namespace
