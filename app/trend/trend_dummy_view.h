#pragma once
// The trend window's container in the lower left pane of the main frame, with the
// cursor services the frame's stage keys use.
#include <cstdint>
#include <utility>
#include <vector>

#include "platform/ui/document.h"

// The hypnogram stage area: where its display stands.
class LyrTrendStageAreaDummyView {
 public:
  // Moves the display to an epoch index (mode 0: index within the page).
  void ScrollToEpoch(int mode, int epoch, int flag) {
    ScrollMode = mode;
    ScrollEpoch = epoch;
    ScrollFlag = flag;
  }
  int ScrollMode = -1;
  int ScrollEpoch = -1;
  int ScrollFlag = 0;
};

// The trend graphs: the epoch their cursor marks.
class LyrTrendTrendAreaDummyView {
 public:
  void SetCursor(int epoch, int /*redraw*/) { CursorEpoch = epoch; }
  int CursorEpoch = -1;
  // Moves the graphs to an epoch index (mode 0: index within the page; flag 1 for the
  // page's last epoch).
  void ScrollToEpoch(int mode, int epoch, int flag) {
    ScrollMode = mode;
    ScrollEpoch = epoch;
    ScrollFlag = flag;
  }
  int ScrollMode = -1;
  int ScrollEpoch = -1;
  int ScrollFlag = 0;
};

class LyrTrendDummyView : public ui::View {
 public:
  void OnDraw(draw::Dc& dc) override;
  // Moves the epoch cursor of the hypnogram and trend graphs (epoch -1: none; line -1:
  // the line is searched) and has both panes repaint.
  void SetCursorEpoch(std::int32_t epoch, std::int32_t line = -1);
  std::int32_t CursorEpoch() const { return cursorEpoch_; }
  std::int32_t CursorLine() const { return cursorLine_; }
  // Draws the cursor in every hypnogram line and graph.
  void DrawCursor();
  // The raw page drew its current-epoch frame: the trend cursor is to stand on that epoch
  // (the trend window centres its panes on it when it lies outside the shown epochs).
  void FollowRawCurrentEpoch(std::int32_t epoch) { RawCurrentEpoch = epoch; }
  std::int32_t RawCurrentEpoch = -1;
  int CursorDraws = 0;
  // The information area's logic threshold texts are refreshed and its undo history emptied
  // (a recording was opened).
  void ResetInfoArea() { ++InfoAreaResets; }
  int InfoAreaResets = 0;
  // The logic thresholds of the information area (filled in by the trend window): which
  // threshold edits are enabled follows the workspace's logic pane; CheckThresholdEdit
  // rewrites the thresholds that differ from the logic and gives the numbers of the graphs
  // that changed, true when any did; those graphs are repainted.
  void EnableThresholdEdit() { ++ThresholdEnables; }
  bool CheckThresholdEdit(std::vector<std::uint8_t>& changedGraphs) {
    ++ThresholdChecks;
    changedGraphs.clear();
    return false;
  }
  void RedrawTrendGraph(int graph) { (void)graph; }
  int ThresholdEnables = 0;
  int ThresholdChecks = 0;
  LyrTrendStageAreaDummyView StageArea;
  LyrTrendTrendAreaDummyView TrendArea;

  // The information column's threshold edit boxes (two per graph row, 20 rows): keys typed
  // into them stay theirs instead of moving the epoch. The column registers each box with
  // the window that holds it; false once all 40 are registered.
  static constexpr int kThresholdEditCount = 40;
  bool RegisterThresholdEdit(ui::Window* host, int controlId);
  void UnregisterThresholdEdits(ui::Window* host);
  bool IsThresholdEdit(const ui::Window* host, int controlId) const;

 private:
  std::vector<std::pair<ui::Window*, int>> thresholdEdits_;
  std::int32_t cursorEpoch_ = -1;
  std::int32_t cursorLine_ = -1;
};
