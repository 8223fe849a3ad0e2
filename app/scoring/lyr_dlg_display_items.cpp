#include "app/scoring/lyr_dlg_display_items.h"

LyrDlgDisplayItem::LyrDlgDisplayItem(ui::Window* parent) : ui::Dialog(IDD_DISPLAY_ITEM, parent) {}

bool LyrDlgDisplayItem::OnInitDialog() {
  for (int i = 0; i < kDisplayItemCount; ++i)
    CheckDlgButton(kDisplayItemChecks[static_cast<std::size_t>(i)], m_Flags[static_cast<std::size_t>(i)] == 1 ? 1 : 0);
  return true;
}

void LyrDlgDisplayItem::OnOK() {
  for (int i = 0; i < kDisplayItemCount; ++i)
    m_Flags[static_cast<std::size_t>(i)] = IsDlgButtonChecked(kDisplayItemChecks[static_cast<std::size_t>(i)]) != 0 ? 1 : 0;
  EndDialog(ui::IDOK);
}
