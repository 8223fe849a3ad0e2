#pragma once
// The workspace tab strip, a member of the main frame so that every window can bring a
// workspace pane forward (SelectPane, then ShowSelectedPane). It holds the 13 panes: nine
// main tabs, of which "FFT" and "Search" carry a button strip of their own.
//
// Pane ids: 0 data information, 1 zoom, 2 simple FFT, 3 epoch FFT, 4 logic, 5 vigilance
// state, 6 stage graph, 7 free search, 8 artifact search, 9 stage search, 10 event search,
// 11 marks, 12 video.
#include <memory>

#include "platform/ui/tab_strip.h"

class LyrWorkspaceZoomView;
class LyrWorkspaceDataInfoView;
class LyrWorkspaceLogicView;
class LyrWorkspaceFFTSimpleView;
class LyrWorkspaceFFTEpochView;
class LyrWorkspaceVSPView;
class LyrWorkspaceStageGraphView;
class LyrWorkspaceSearchFreeView;
class LyrWorkspaceSearchArtifactView;
class LyrWorkspaceSearchStageView;
class LyrWorkspaceSearchEventView;
class LyrWorkspaceDummyMarkView;
class LyrWorkspaceDummyVideoView;
class LyrWorkspaceAreaTabCtrl;

// The FFT tab's button strip: "Simple" (pane 2) and "Epoch" (pane 3).
class LyrWorkspaceAreaFFTTabCtrl : public ui::TabStrip {
 public:
  explicit LyrWorkspaceAreaFFTTabCtrl(LyrWorkspaceAreaTabCtrl& owner);
  ~LyrWorkspaceAreaFFTTabCtrl() override;
  int OnCreate() override;
  void OnSize(std::uint32_t sizeType, int cx, int cy) override;
  std::unique_ptr<LyrWorkspaceFFTSimpleView> SimplePane;
  std::unique_ptr<LyrWorkspaceFFTEpochView> EpochPane;

 protected:
  void OnSelChange() override;

 private:
  LyrWorkspaceAreaTabCtrl& owner_;
};

// The Search tab's button strip: "Free" (pane 7), "Stage" (9), "Event" (10), "Artifact" (8).
class LyrWorkspaceAreaSearchTabCtrl : public ui::TabStrip {
 public:
  explicit LyrWorkspaceAreaSearchTabCtrl(LyrWorkspaceAreaTabCtrl& owner);
  ~LyrWorkspaceAreaSearchTabCtrl() override;
  int OnCreate() override;
  void OnSize(std::uint32_t sizeType, int cx, int cy) override;
  std::unique_ptr<LyrWorkspaceSearchFreeView> FreePane;
  std::unique_ptr<LyrWorkspaceSearchArtifactView> ArtifactPane;
  std::unique_ptr<LyrWorkspaceSearchStageView> StagePane;
  std::unique_ptr<LyrWorkspaceSearchEventView> EventPane;

 protected:
  void OnSelChange() override;

 private:
  LyrWorkspaceAreaTabCtrl& owner_;
};

class LyrWorkspaceAreaTabCtrl : public ui::TabStrip {
 public:
  static constexpr int kPaneCount = 13;
  LyrWorkspaceAreaTabCtrl();
  ~LyrWorkspaceAreaTabCtrl() override;

  // Creates the strip over the workspace's area view with its panes and nine tabs
  // ("DataInfo", "Zoom", "Logic", "FFT", "VigilanceState", "StageGraph", "Search", "Mark",
  // "Video"), tabs on several lines when the screen is at least 1280 pixels wide, and
  // selects pane 0. False when the window cannot be made.
  bool CreateStrip(ui::Window* area);
  // Makes the panes and the two button strips (window creation).
  int OnCreate() override;
  // Every pane and button strip covers the area below the tabs.
  void OnSize(std::uint32_t sizeType, int cx, int cy) override;
  // The pane of the selected main tab and, for FFT and Search, of the selected button;
  // 0 for anything outside the table.
  int GetCurrentPane() const;
  // The main tab that shows a pane id (ids of 13 or more: the first tab).
  static int TabOfPane(int id);
  // Selects the tabs (and buttons) of the pane without showing it; the current pane becomes
  // the id, also one of 13 or more.
  void SelectPane(int id);
  // Shows the pane of the id (with its button strip) and hides the others but the video
  // pane; sets the raw window's drag mode (4 zoom, 2 simple FFT, 0 the others; ids of 13 or
  // more leave it) and the video-window-shown flag.
  void ShowSelectedPane(int id);
  // True while a recording with results is open, no screening runs and the logic pane is current.
  bool IsLogicPaneActive() const;
  // The window of a pane id (panes 2, 3 and 7-10 without their strips); null when absent.
  ui::Window* PaneWindow(int id) const;
  // Tab texts' height: 12 pixels in Japanese, else 10.
  static int TabFontHeight();

  int CurrentPane = 0;
  int SelectedTab = 0;
  // The video window is seen: the video pane is current or the window floats.
  int VideoWindowShown = 0;
  int VideoWindowFloating = 0;
  // The mark window sits in its pane (0 while it floats).
  int MarkWindowDocked = 1;
  LyrWorkspaceZoomView* ZoomPane = nullptr;
  std::unique_ptr<LyrWorkspaceDataInfoView> DataInfoPane;
  std::unique_ptr<LyrWorkspaceLogicView> LogicPane;
  std::unique_ptr<LyrWorkspaceAreaFFTTabCtrl> FFTStrip;
  std::unique_ptr<LyrWorkspaceVSPView> VSPPane;
  std::unique_ptr<LyrWorkspaceStageGraphView> StageGraphPane;
  std::unique_ptr<LyrWorkspaceAreaSearchTabCtrl> SearchStrip;
  std::unique_ptr<LyrWorkspaceDummyMarkView> MarkPane;
  std::unique_ptr<LyrWorkspaceDummyVideoView> VideoPane;

 protected:
  // A tab chosen by the user: its pane becomes current and is shown; the trend window's
  // threshold edits follow; the mark list refills when the mark pane comes forward.
  void OnSelChange() override;
};
