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
// Pane 12: holder of the video window; never hidden, it lies under the other panes.
class LyrWorkspaceDummyVideoView : public LyrWorkspaceEmptyPane {};
