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
  int RunDialog(std::uint32_t command);
  int DialogAnswer = 2;
  std::vector<std::uint32_t> DialogsRun;
};

// Pane 2: the spectrum of a stretch picked on the wave page.
class LyrWorkspaceFFTSimpleView : public LyrWorkspaceEmptyPane {};
// Pane 3: the spectra of the current epoch; its menu holds the spectrum settings and outputs.
class LyrWorkspaceFFTEpochView : public LyrWorkspaceEmptyPane {};
// Pane 12: holder of the video window; never hidden, it lies under the other panes.
class LyrWorkspaceDummyVideoView : public LyrWorkspaceEmptyPane {};
