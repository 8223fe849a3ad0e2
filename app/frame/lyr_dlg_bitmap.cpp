#include "app/frame/lyr_dlg_bitmap.h"

namespace {
constexpr int kRadios[] = {LyrDlgBitmap::kAllWindows, LyrDlgBitmap::kRawWindow, LyrDlgBitmap::kTrendWindow,
                           LyrDlgBitmap::kWorkspaceWindow};
}

LyrDlgBitmap::LyrDlgBitmap(ui::Window* parent) : ui::Dialog(kTemplateId, parent) {}

bool LyrDlgBitmap::OnInitDialog() {
  const int radio = target >= 0 && target <= 2 ? kRadios[target] : kWorkspaceWindow;
  CheckRadioButton(kAllWindows, kWorkspaceWindow, radio);
  return true;
}

void LyrDlgBitmap::OnOK() {
  const int checked = GetCheckedRadioButton(kAllWindows, kWorkspaceWindow);
  for (int k = 0; k < 4; ++k) {
    if (kRadios[k] == checked) target = static_cast<std::int16_t>(k);
  }
  EndDialog(ui::IDOK);
}
