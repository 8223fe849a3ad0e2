#pragma once
// The workspace tab strip, a member of the main frame so that every window can bring a
// workspace pane forward (SelectPane, then ShowSelectedPane). Pane ids: 0 data information,
// 1 zoom, 2 simple FFT, 3 epoch FFT, 4 logic, 5 vigilance state, 6 stage graph, 7 free search,
// 8 artifact search, 9 stage search, 10 event search, 11 marks, 12 video.
#include "platform/ui/tab_strip.h"

class LyrWorkspaceZoomView;

class LyrWorkspaceAreaTabCtrl : public ui::TabStrip {
 public:
  // Creates the strip over the workspace window's area with its nine tabs ("DataInfo",
  // "Zoom", "Logic", "FFT", "VigilanceState", "StageGraph", "Search", "Mark", "Video") and
  // selects pane 0. False when the window cannot be made.
  bool CreateStrip(ui::Window* area);
  // The pane of the tab chosen: the main tab's pane; for FFT and Search the pane of that tab
  // chosen last (epoch spectrum and free search at first).
  int GetCurrentPane() const;
  // The main tab that shows a pane id (ids of 13 or more: the first tab).
  static int TabOfPane(int id);
  // Selects the tabs of the pane; the current pane becomes the id.
  void SelectPane(int id);
  // Shows the pane of the id and sets the raw window's drag mode for it: 4 zoom, 2 simple FFT,
  // 0 the others; ids of 13 or more leave the mode alone.
  void ShowSelectedPane(int id);
  // True while a recording with results is open, no screening runs and the logic pane is current.
  bool IsLogicPaneActive() const;

  int CurrentPane = 0;
  int SelectedTab = 0;
  // The video window is seen: the video pane is current or the window floats.
  int VideoWindowShown = 0;
  int VideoWindowFloating = 0;
  LyrWorkspaceZoomView* ZoomPane = nullptr;

 protected:
  // A tab chosen by the user: its pane becomes current and is shown; the mark list refills
  // when the mark pane comes forward.
  void OnSelChange() override;
};
