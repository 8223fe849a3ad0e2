#pragma once
// The trend window: the host view in the lower left pane of the main frame, which holds the
// trend frame (docked inside it or floating), the cursor epoch of the hypnogram and the
// graphs, each graph's value at the cursor, the time-scale operations of their panes and
// the printing of the whole window on one page.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/results/lyr_utility_scroll_bar.h"
#include "app/trend/lyr_trend_graph_container.h"
#include "app/trend/lyr_trend_stage_area.h"
#include "app/trend/lyr_trend_values.h"
#include "platform/ui/document.h"

class CQLM2_AnalyzerDoc;
class LyrTrendDummyView;
class LyrTrendFrame;
class LyrTrendInfoAreaView;

class LyrTrendDummyView : public ui::View {
 public:
  LyrTrendDummyView();
  ~LyrTrendDummyView() override;
  int OnCreate() override;
  void OnInitialUpdate() override;
  void OnDraw(draw::Dc& dc) override;
  void OnSize(std::uint32_t sizeType, int cx, int cy) override;

  LyrTrendFrame* Frame() const { return frame_.get(); }
  LyrTrendInfoAreaView* InfoArea() const;
  CQLM2_AnalyzerDoc* Doc() const;

  // ---- Cursor ----
  // previous := cursor; cursor := epoch. The line (clicked hypnogram line or -1) has no
  // further effect. Draws nothing.
  void SetCursorEpoch(std::int32_t line, std::int32_t epoch);
  // 0: cursor := -1; 1: previous := -1; other: both.
  void ResetCursorEpoch(int mode);
  // 0: the cursor epoch; other: the previous one.
  std::int32_t GetCursorEpoch(int which) const { return which == 0 ? cursorEpoch_ : previousCursorEpoch_; }
  std::int32_t CursorEpoch() const { return cursorEpoch_; }
  // Every hypnogram line and graph draws its cursor, then the information column shows the
  // values at it.
  void DrawCursor();
  int CursorDraws = 0;
  // The raw page drew its current-epoch frame: the cursor stands on that epoch, and the
  // hypnogram and graphs are centred on it when it left their display slots.
  void FollowRawCurrentEpoch(std::int32_t epoch);
  // Zooms the hypnogram and the graphs around the epoch with the armed span.
  void ZoomToEpoch(std::int32_t epoch);

  // ---- Graph marks: each graph's value at the cursor ----
  void ClearGraphMarks();
  void SetGraphMark(int graph, std::uint16_t isFloat, std::int16_t value, float floatValue);
  TrendValue GetGraphMark(int graph) const;

  // ---- Time scale of the panes ----
  struct DateParts {
    std::string year, month, day, hour, minute, second;
  };
  DateParts GetEpochDateParts(std::int32_t epoch) const;
  // The last step boundary (seconds of the day) at or before the end of the epoch.
  std::int32_t GetTimeScaleStart(std::int32_t epoch, std::int32_t& startSecond, std::int32_t& endSecond) const;
  std::int32_t GetTimeScaleOffset(int step, std::int32_t epoch, int width) const;
  int IsTimeScaleEpoch(std::int32_t epoch) const;
  int GetPrintLabelWidth() const { return printLabelWidth_; }

  // ---- The information column ----
  // A recording was opened: the undo history is emptied, the thresholds shown and enabled.
  void ResetInfoArea();
  int InfoAreaResets = 0;
  // A result file was opened: the display settings applied anew, the undo history emptied
  // and the threshold edits enabled.
  void AfterResultFileOpened();
  // The results were cleared: display settings, threshold texts, undo history and edits.
  void AfterResultsCleared();
  // A screening run starts (the undo history is emptied) or ends (the thresholds it left
  // are shown, pushed on the history and their edits enabled).
  void ScreeningStarted();
  void ScreeningFinished();
  // The panes repaint: all (the hypnogram and the graphs) or only each graph.
  void RedrawPanes(int all);
  // The information column's threshold edit boxes (two per graph row, 20 rows): keys typed
  // into them stay theirs instead of moving the epoch. The column registers each box with
  // the window that holds it; false once all 40 are registered.
  static constexpr int kThresholdEditCount = 40;
  bool RegisterThresholdEdit(ui::Window* host, int controlId);
  void UnregisterThresholdEdits(ui::Window* host);
  bool IsThresholdEdit(const ui::Window* host, int controlId) const;

  // ---- Printing (command 33040) ----
  bool OnPreparePrinting(PrintInfo& info) override;
  void OnBeginPrinting(draw::Dc& dc, PrintInfo& info) override;
  void OnPrint(draw::Dc& dc, PrintInfo& info) override;
  void OnEndPrinting(draw::Dc& dc, PrintInfo& info) override;
  // The print layout on a printable rectangle (also used by OnPrint): the label width and
  // every pane's rectangles.
  void LayoutPrint(draw::Dc& dc, const ui::Rect& r);

  // The trend window's panes in the nested splitter of the frame (they live as long as the
  // view; the frame's splitters show them).
  LyrTrendStageAreaDummyView StageArea;
  LyrTrendTrendAreaDummyView TrendArea;

  // The trend table to the path (or the clipboard) over start..end, with the start and end
  // time lines when rangeLines is set (the report's form); the caller is not used. 1 when it
  // went through, 0 after a failure that was told.
  int OutputText(const std::string& path, void* caller, std::int32_t start, std::int32_t end, int rangeLines);
  // Text output state (the trend text output).
  std::string OutputPath;
  std::int32_t OutputStartEpoch = 0, OutputEndEpoch = 0, OutputRangeLines = 0;

 private:
  // Seconds from the day the time scale counts from to the epoch's start (the recording's
  // start clock added under clock display).
  long long EpochClockSeconds(std::int32_t epoch) const;

  std::vector<std::pair<ui::Window*, int>> thresholdEdits_;
  std::int32_t cursorEpoch_ = -1;
  std::int32_t previousCursorEpoch_ = -1;
  std::int32_t printLabelWidth_ = 0;
  std::array<TrendValue, 20> graphMarks_{};
  // Declared last: destroyed first, with the splitters that show the panes above.
  std::unique_ptr<LyrTrendFrame> frame_;
};
