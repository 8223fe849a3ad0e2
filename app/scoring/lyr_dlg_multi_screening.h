#pragma once
// The multi-screening window (modeless, template 327): where the user lists recordings and
// starts a batch that screens them all. The main frame creates it into its multi-screening
// slot, and the window is taken back (slot cleared, window destroyed) when it closes. This is
// the part the frame's command needs; the file list, the channel layout, the settings files
// and the batch run are still to come.
#include "platform/ui/dialog.h"

inline constexpr int IDD_MULTI_SCREENING = 327;

class LyrDlgMultiScreening : public ui::Dialog {
 public:
  explicit LyrDlgMultiScreening(ui::Window* parent = nullptr) : ui::Dialog(IDD_MULTI_SCREENING, parent) {}
  // Enter neither starts a run nor closes the window; "Close" (and Esc) end it.
  void OnOK() override {}
};
