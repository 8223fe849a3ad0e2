#pragma once
// The graph container of the trend window (nested pane (1,0) of the trend frame): up to 20
// value-axis panes stacked one above the other, each holding its graph, and the one table of
// shown epochs that every graph follows. The raw page, the main frame and the screening run
// page, centre, advance and scroll it; every graph draws the epochs of the table.
#include <array>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "app/trend/lyr_trend_values.h"
#include "platform/ui/document.h"

class LyrTrendDummyView;
class LyrTrendTrendAreaAxisView;
class LyrTrendTrendAreaView;

// Height of the strip under the bottom graph where its clock labels stand.
inline constexpr int kTrendTimeLabelStrip = 18;

class LyrTrendTrendAreaDummyView : public ui::View {
 public:
  LyrTrendTrendAreaDummyView();
  ~LyrTrendTrendAreaDummyView() override;
  int OnCreate() override;
  void OnSize(std::uint32_t sizeType, int cx, int cy) override;
  void OnDraw(draw::Dc& dc) override;

  LyrTrendDummyView* Host = nullptr;

  // ---- Panes ----
  void CreateAxisViews();
  // Pane heights (H - 18) / N, the last to the bottom; panes N..19 hidden at size 0.
  void LayoutAxisViews();
  LyrTrendTrendAreaAxisView* AxisView(int graph) const;
  LyrTrendTrendAreaView* GraphView(int graph) const;
  // Extra height of the last pane below its plot (the label strip and the remainder).
  int LastPaneExtra() const { return lastPaneExtra_; }

  // ---- The table of shown epochs ----
  void ResetEpochTable();
  void FreeEpochTable();
  // Entry k; 0 outside the table.
  std::int32_t GetEpoch(int k) const;
  int TableSize() const { return static_cast<int>(epochTable_.size()); }
  int TableFill() const { return tableFill_; }
  // The page of ShownEpochs epochs that holds the epoch.
  void PageTo(std::int32_t epoch);
  // Pages to the epoch and repaints every graph (only once epochs were advanced).
  void RefreshAll(std::int32_t epoch);
  // The raw page moved: relative 0 counts the epoch within the document's current page.
  void ScrollToEpoch(int relative, std::int32_t epoch, int redraw);
  void AdvanceEpoch(std::int32_t epoch);
  void FillFrom(std::int32_t first);
  void SetCenterEpoch(std::int32_t epoch);
  // The armed zoom's span around the epoch (nothing while no zoom is armed).
  void ZoomAround(std::int32_t epoch);
  // Every graph draws that epoch's value at once (live path).
  void SetCursor(std::int32_t epoch, int redraw);
  // Repaints the graphs that show events of a category the raw page edited.
  void RedrawCategory(int category);
  void ResetZoomMarks(int which);
  int ZoomSteps() const { return zoomSteps_; }
  // New display settings: scroll flags and table made anew, the table from 0, panes laid out.
  void ApplyGraphCount(int count);
  // Every shown graph repaints at once.
  void RedrawGraphs();

  void AllocScrollFlags();
  void FreeScrollFlags();
  int GetScrollFlag(int graph) const;
  void ClearScrollFlag(int graph);

  // The last scroll request and cursor epoch handed to the container.
  std::int32_t CursorEpoch = -1;
  int ScrollMode = -1;
  std::int32_t ScrollEpoch = -1;
  int ScrollFlag = 0;

  // Print rectangles of graph i's axis pane and graph view.
  std::vector<std::pair<ui::Rect, ui::Rect>> PrintRects;
  // Each graph's values (graph number = index).
  std::array<LyrTrendGraphValues, 20> Values;
  // Each graph's logic threshold pair as the information column found it; the empty range
  // (lower +FLT_MAX, upper -FLT_MAX) when no condition applies.
  std::array<float, 20> LogicLower, LogicUpper;

 private:
  std::array<std::unique_ptr<LyrTrendTrendAreaAxisView>, 20> axisViews_;
  std::vector<std::int32_t> epochTable_;
  int tableFill_ = 0;
  int zoomSteps_ = -1;
  int lastPaneExtra_ = 0;
  std::vector<std::int32_t> scrollFlags_;
};
