// The trend cursor on the graphs, clicks that move the program or zoom, the item menu, and
// the logic threshold lines dragged to new values.
#include <algorithm>

#include "app/frame/frame_globals.h"
#include "app/trend/lyr_trend_info_area_view.h"
#include "app/trend/lyr_trend_popup_menu.h"
#include "graph_fixture.h"

namespace {

class GraphMouseTest : public GraphTest {
 protected:
  void SetUp() override {
    GraphTest::SetUp();
    DocumentLoaded = 1;
    Show(1, 10, 2);  // 20 shown epochs
    EmgGraph(0, 100.0, 0.0);
    for (int e = 0; e < kEpochs; ++e) SetEmg(e, static_cast<float>(e));
    // The EMG integral (logic code 13) is tested by condition 0: 40 .. 60.
    auto& set = Doc().Params.logic.sets[static_cast<std::size_t>(Doc().Params.stageType.stageType)];
    for (auto& c : set) c = LogicCondition{};
    set[0].stage = 1;
    set[0].term1.valueCode = 13;
    set[0].term1.lower = 40.0f;
    set[0].term1.upper = 60.0f;
    ShowLogicLine = 1;
    Frame().WorkspaceTabs.CurrentPane = 4;  // the Logic pane
    Graph(0).Redraw();
  }
  LogicCondition& Cond() {
    return Doc().Params.logic.sets[static_cast<std::size_t>(Doc().Params.stageType.stageType)][0];
  }
  ui::Point At(int epoch, double value) {
    const ui::Rect r = Graph(0).PlotRect();
    const double ppe = static_cast<double>(r.right - r.left) / Area().TableSize();
    return ui::Point{static_cast<int>((epoch + 0.5) * ppe), Graph(0).ValueToY(value)};
  }
  int ColumnDiff(const draw::Image& a, const draw::Image& b, int x) {
    int n = 0;
    for (int y = 0; y < a.Height(); ++y) n += a.GetPixel(x, y) != b.GetPixel(x, y);
    return n;
  }
};

TEST_F(GraphMouseTest, CursorIsDrawnWithXorAndAPaintDrawsOnlyTheCurrent) {
  LyrTrendDummyView& trend = Trend();
  trend.ResetCursorEpoch(2);
  Graph(0).Redraw();
  const draw::Image before = Graph(0).ShownPicture();
  trend.SetCursorEpoch(-1, 5);
  Graph(0).DrawCursor(0);
  const int x5 = Graph(0).GetXOfEpoch(5), x8 = Graph(0).GetXOfEpoch(8);
  EXPECT_GT(ColumnDiff(before, Graph(0).ShownPicture(), x5), 0) << "the line at 5";
  EXPECT_EQ(trend.GetGraphMark(0).floatValue, 5.0f) << "the value at the cursor for the information column";
  trend.SetCursorEpoch(-1, 8);
  Graph(0).DrawCursor(0);
  EXPECT_EQ(ColumnDiff(before, Graph(0).ShownPicture(), x5), 0) << "drawn again: gone";
  EXPECT_GT(ColumnDiff(before, Graph(0).ShownPicture(), x8), 0);
  const draw::Image moved = Graph(0).ShownPicture();
  // A paint shows the current cursor only.
  Graph(0).Redraw();
  const draw::Image& painted = Graph(0).ShownPicture();
  for (int x = 0; x < painted.Width(); ++x) EXPECT_EQ(ColumnDiff(moved, painted, x), 0) << "x " << x;
  trend.ResetCursorEpoch(2);
  Graph(0).DrawCursor(0);
  EXPECT_EQ(ColumnDiff(before, Graph(0).ShownPicture(), x8), 0);
}

TEST_F(GraphMouseTest, ClickMovesTheProgramAndStaysOnTheRecording) {
  ShowLogicLine = 0;
  Graph(0).OnLButtonDown(ui::MK_LBUTTON, At(7, 10.0));
  Graph(0).OnLButtonUp(0, At(7, 10.0));
  EXPECT_EQ(Trend().GetCursorEpoch(0), 7);
  EXPECT_EQ(Doc().CurrentEpoch, 7);
  // Past the end of a short recording: the last epoch.
  Show(1, 60, 2);  // 120 shown epochs of 60
  Graph(0).OnLButtonDown(ui::MK_LBUTTON, At(100, 10.0));
  EXPECT_EQ(Trend().GetCursorEpoch(0), kEpochs - 1);
  EXPECT_EQ(Doc().CurrentEpoch, kEpochs - 1);
  // While the page scrolls by itself the cursor moves but the program stays.
  ScrollDirection = 1;
  Graph(0).OnLButtonDown(ui::MK_LBUTTON, At(3, 10.0));
  EXPECT_EQ(Trend().GetCursorEpoch(0), 3);
  EXPECT_EQ(Doc().CurrentEpoch, kEpochs - 1);
  ScrollDirection = 0;
}

TEST_F(GraphMouseTest, ArmedZoomZoomsOnceAndARightClickOnlyDisarms) {
  TrendZoomState = 1;  // 20 minutes
  Graph(0).OnLButtonDown(ui::MK_LBUTTON, At(12, 10.0));
  EXPECT_EQ(TrendZoomState, 0);
  EXPECT_EQ(TrendTimeMinutes, 20);
  EXPECT_EQ(Trend().GetCursorEpoch(0), 12);
  EXPECT_EQ(Trend().GetCursorEpoch(1), -1);
  TrendZoomState = 3;
  Trend().Frame()->SetPopupGraph(-1);
  Graph(0).OnRButtonUp(0, At(2, 10.0));
  EXPECT_EQ(TrendZoomState, 0);
  EXPECT_EQ(Trend().Frame()->PopupGraph, -1) << "no item menu";
  // Without a zoom the menu opens for this graph; its Scale... opens the scale dialog.
  testhooks::AnswerPopupMenu(kCmdTrendScale);
  Graph(0).OnRButtonUp(0, At(2, 10.0));
  EXPECT_EQ(Trend().Frame()->PopupGraph, 0);
}

TEST_F(GraphMouseTest, UpperLineWinsAndADragStoresTheValueOnce) {
  Cond().term1.lower = 50.0f;
  Cond().term1.upper = 51.0f;  // both lines within 5 pixels
  LyrTrendInfoAreaView& info = *Trend().InfoArea();
  info.ClearUndo();
  const ui::Point grab = At(4, 50.5);
  ASSERT_EQ(Graph(0).HitTestLogicLine(grab), 1) << "the upper line";
  ResultModifiedState = 1;
  Graph(0).OnLButtonDown(ui::MK_LBUTTON, grab);
  EXPECT_EQ(Graph(0).DragState(), 1);
  const ui::Point to = At(4, 80.0);
  Graph(0).OnMouseMove(ui::MK_LBUTTON, to);
  Graph(0).OnLButtonUp(0, to);
  EXPECT_EQ(Graph(0).DragState(), 0);
  EXPECT_NEAR(Cond().term1.upper, Graph(0).YToValue(to.y), 1e-4);
  EXPECT_NEAR(Cond().term1.upper, 80.0, 1.0);
  EXPECT_EQ(Cond().term1.lower, 50.0f) << "the other bound kept";
  EXPECT_EQ(info.UndoCount(), 1);
  EXPECT_EQ(ResultModifiedState, 2) << "the logic ran again";
  EXPECT_EQ(ui::Window::GetCapture(), nullptr);
}

TEST_F(GraphMouseTest, DragFromOutsideTheColumnsMovesTheCursorAndEndsOnEveryRelease) {
  Trend().ResetCursorEpoch(2);  // the cursor is nowhere among the columns
  const ui::Point grab = At(9, 40.0);
  ASSERT_EQ(Graph(0).HitTestLogicLine(grab), 2);
  Graph(0).OnLButtonDown(ui::MK_LBUTTON, grab);
  EXPECT_EQ(Trend().GetCursorEpoch(0), 9);
  Graph(0).OnLButtonUp(0, At(9, 30.0));
  EXPECT_EQ(Doc().CurrentEpoch, 9) << "the release jumps there";
  EXPECT_NEAR(Cond().term1.lower, 30.0, 1.0);
  // A drag whose release comes while the results were dropped still ends.
  Graph(0).OnLButtonDown(ui::MK_LBUTTON, At(9, Cond().term1.lower));
  ASSERT_NE(Graph(0).DragState(), 0);
  ResultModifiedState = 0;
  const float kept = Cond().term1.lower;
  Graph(0).OnLButtonUp(0, At(9, 10.0));
  EXPECT_EQ(Graph(0).DragState(), 0);
  EXPECT_EQ(ui::Window::GetCapture(), nullptr);
  EXPECT_EQ(Cond().term1.lower, kept) << "nothing stored";
  // A drag whose release went elsewhere ends at the next move without the button.
  ResultModifiedState = 1;
  Graph(0).OnLButtonDown(ui::MK_LBUTTON, At(9, kept));
  ASSERT_NE(Graph(0).DragState(), 0);
  ui::Window::ReleaseCapture();
  Graph(0).OnMouseMove(0, At(9, 20.0));
  EXPECT_EQ(Graph(0).DragState(), 0);
}

}  // namespace
