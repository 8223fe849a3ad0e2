#pragma once
// The two columns of the result-file comparison window. On the left one hypnogram band per
// loaded file (the trend window's hypnogram panes in utility mode), each of several lines of
// the display time, with the file names above the bands, the day of the first shown epoch and
// the scroll bar at the bottom; on the right one stage graph per file.
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "app/results/lyr_utility_scroll_bar.h"
#include "app/results/utility_result_file.h"
#include "app/trend/lyr_trend_stage_area.h"
#include "app/workspace/lyr_workspace_stage_graph_view.h"
#include "platform/draw/gdi.h"
#include "platform/ui/document.h"

class LyrUtilityHypnogramFrame;
class LyrUtilityStageDummyView;

// One file's band: its line panes share the band's height; no scroll bar or day strip of its own.
class LyrUtilityStageAreaDummyView : public LyrTrendStageAreaDummyView {
 public:
  int OnCreate() override;
  void OnSize(std::uint32_t sizeType, int cx, int cy) override;
  void OnDraw(draw::Dc& dc) override { (void)dc; }
  void LayoutLines();
};

// The left column's scroll bar: page moves and thumb releases scroll every band.
class LyrUtilityHypnogramScrollBar : public LyrUtilityScrollBar {
 public:
  LyrUtilityStageDummyView* Host = nullptr;

 protected:
  void OnReflectedScroll(unsigned code, int thumbPos) override;
  void OnScrollChanged(unsigned code, std::int32_t pos) override;
};

class LyrUtilityStageDummyView : public ui::View {
 public:
  static constexpr int kBottomStrip = 18;
  explicit LyrUtilityStageDummyView(LyrUtilityHypnogramFrame* owner) : Owner(owner) {}
  ~LyrUtilityStageDummyView() override;
  int OnCreate() override;
  void OnSize(std::uint32_t sizeType, int cx, int cy) override;
  void OnDraw(draw::Dc& dc) override;

  // The band of file n (counted from 1) with the display minutes and the file's epochs.
  void AddFileLines(int fileNo, int minutes, int epochTime, int epochCount);
  void RemoveFileLines(int slot);
  void RemoveAllFileLines();
  // Bands of files 1 .. count anew (display minutes or line count changed).
  void RebuildFileLines(int minutes);
  void LayoutFileLines();
  void UpdateScrollRange();
  // Shows every file from the scroll position (in the scroll file's epochs).
  void ScrollTo(int position);
  void RedrawLines();
  // T: the title strip above each band.
  int TitleHeight() const;
  int BandHeight() const;
  LyrUtilityStageAreaDummyView* Band(int slot) const;
  // "Day" and the date of the first shown epoch, drawn under the bands.
  std::string DayTitle() const;
  int DayTitleWidth() const;

  LyrUtilityHypnogramFrame* Owner;
  draw::Font MenuFont;
  LyrUtilityHypnogramScrollBar ScrollBar;
  int ScrollFile = 0;
  int ScrollLength = 0;
  int ScrollPosition = 0;

 private:
  std::array<std::unique_ptr<LyrUtilityStageAreaDummyView>, kUtilityFileSlots> bands_;
};

class LyrUtilityStageGraphDummyView : public ui::View {
 public:
  explicit LyrUtilityStageGraphDummyView(LyrUtilityHypnogramFrame* owner) : Owner(owner) {}
  ~LyrUtilityStageGraphDummyView() override;
  void OnSize(std::uint32_t sizeType, int cx, int cy) override;
  void OnDraw(draw::Dc& dc) override;

  // A stage graph of the slot's file over all its epochs (an older one in the slot goes).
  void AddStageGraph(int slot);
  void RemoveStageGraph(int slot);
  // Moves the views as the files moved when some were closed (old slot -> new slot or -1).
  void MoveStageGraphs(const std::array<int, kUtilityFileSlots>& moves);
  // Binds each view to the file now in its slot.
  void BindViews();
  // The range of every file in seconds from its start, and the stage setting of the views.
  void SetEpochRange(std::int32_t startSecond, std::int32_t endSecond,
                     const std::array<std::uint16_t, 20>& stageItems);
  void LayoutStageGraphs();
  int TitleHeight() const;
  LyrWorkspaceStageGraphView* Graph(int slot) const;

  LyrUtilityHypnogramFrame* Owner;

 private:
  std::array<std::unique_ptr<LyrWorkspaceStageGraphView>, kUtilityFileSlots> graphs_;
};
