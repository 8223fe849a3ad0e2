#pragma once
// Openers of the video dialogs that the video menu of the workspace window starts: the video
// file editing dialog ("&Save range" mode 0, "&Delete range" mode 1) and the auto-play
// information dialog. The dialogs' own code sets them; a command whose opener is unset does
// nothing.
#include <functional>

class LyrWorkspaceFrame;

struct VideoDialogOpeners {
  std::function<void(LyrWorkspaceFrame& frame, int mode)> editVideoFiles;
  std::function<void(LyrWorkspaceFrame& frame)> autoPlayInformation;
};
VideoDialogOpeners& VideoDialogs();
