#pragma once
// The AVI output window (modeless, template 298). The main frame creates it and destroys it
// through CMainFrame::CloseAviDlg. This is the part the frame's commands need; the capture
// itself is the video subsystem's own work.
#include <cstdint>

#include "platform/ui/dialog.h"

inline constexpr int IDD_MAKE_AVI = 298;

class LyrDlgMakeAvi : public ui::Dialog {
 public:
  explicit LyrDlgMakeAvi(ui::Window* parent = nullptr) : ui::Dialog(IDD_MAKE_AVI, parent) {}
  // Non-zero while capturing.
  std::uint32_t m_Capturing = 0;
};
