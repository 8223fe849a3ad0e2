#pragma once
// "Please wait while this process...": a message line and a progress bar, shown while the
// lengths of a video set's files are read.
#include <string_view>

#include "platform/ui/dialog.h"

inline constexpr int IDD_VIDEO_WAIT = 284;
inline constexpr int IDC_VIDEO_WAIT_MESSAGE = 1054;
inline constexpr int IDC_VIDEO_WAIT_PROGRESS = 1022;

class LyrWorkspaceDlgWait : public ui::Dialog {
 public:
  LyrWorkspaceDlgWait() : ui::Dialog(IDD_VIDEO_WAIT) {}
  void SetMessage(std::string_view text) { SetDlgItemText(IDC_VIDEO_WAIT_MESSAGE, text); }
  void SetRange(int low, int high) { Item(IDC_VIDEO_WAIT_PROGRESS).SetRange(low, high); }
  // Moves the bar and lets the windows repaint.
  void SetPos(int pos);
};
