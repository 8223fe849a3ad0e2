#pragma once
// "Peak Information" (modeless, template 219): per channel shown in the zoom pane, the highest
// and lowest sample of the searched stretch with their times, and their distance in time and
// amplitude. "Show peak" switches the zoom pane's peak marks; closing hands the dialog back to
// the zoom pane, which destroys it.
#include "platform/ui/dialog.h"

class LyrWorkspaceZoomView;

inline constexpr int IDD_PEAK_INFORMATION = 219;
inline constexpr int IDC_PI_LIST = 1826;
inline constexpr int IDC_PI_SHOW_PEAK = 1680;

class LyrDlgPeakInformation : public ui::Dialog {
 public:
  explicit LyrDlgPeakInformation(LyrWorkspaceZoomView* zoom, ui::Window* parent = nullptr);
  bool OnInitDialog() override;
  bool ShowPeakChecked() const { return IsDlgButtonChecked(IDC_PI_SHOW_PEAK) != 0; }
  // Refills the list from the zoom pane's peaks.
  static void FillPeakList(LyrDlgPeakInformation& dlg, const LyrWorkspaceZoomView& zoom);

 private:
  LyrWorkspaceZoomView* zoom_ = nullptr;
};
