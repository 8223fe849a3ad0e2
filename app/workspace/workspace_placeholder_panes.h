#pragma once
// Panes of the workspace whose content other parts of the program draw: until they do,
// each is an empty pane of its name, so that the tab strip can show, hide and size it, with
// the least of the dialogs and outputs the workspace menu runs through it.
#include <cstdint>
#include <vector>

#include "platform/ui/document.h"

class LyrWorkspaceEmptyPane : public ui::View {
 public:
  void OnDraw(draw::Dc& dc) override;
  // Runs the dialog or output of a workspace menu command that belongs to this pane and
  // returns its end code (IDOK, IDCANCEL). Until the pane's own dialogs exist, the command is
  // noted and ends with DialogAnswer.
  virtual int RunDialog(std::uint32_t command);
  int DialogAnswer = 2;
  std::vector<std::uint32_t> DialogsRun;
};

// Panes 2 and 3, the simple and the epoch spectra.
#include "app/workspace/lyr_workspace_fft_views.h"
// Pane 5: the vigilance-state episodes.
class LyrWorkspaceVSPView : public LyrWorkspaceEmptyPane {
 public:
  // Set to 0 before the pane is made.
  std::uint16_t StateWord = 0;
  // Rows of the episode list.
  int EpisodeCount = 0;
};
// Pane 6: the stage graph.
class LyrWorkspaceStageGraphView : public LyrWorkspaceEmptyPane {
 public:
  // 0: the workspace's pane (not the utility window's).
  int UtilityWindow = 0;
  // Rows of the stage-graph table (0: not made yet).
  int TableRows = 0;
};
// Pane 11: holder of the mark window.
class LyrWorkspaceDummyMarkView : public LyrWorkspaceEmptyPane {};
// Pane 12: holder of the video window; never hidden, it lies under the other panes.
class LyrWorkspaceDummyVideoView : public LyrWorkspaceEmptyPane {};
