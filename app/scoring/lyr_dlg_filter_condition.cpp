#include "app/scoring/lyr_dlg_filter_condition.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string Format3(float v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.3f", static_cast<double>(v));
  return buf;
}

}  // namespace

LyrDlgFilterCondition::LyrDlgFilterCondition(ui::Window* parent) : ui::Dialog(IDD_MS_FILTER_CONDITION, parent) {
  MapCommand(IDC_MSF_BASE_OFFSET, [this] { Filter.BaseOffset = IsDlgButtonChecked(IDC_MSF_BASE_OFFSET) != 0 ? 1 : 0; });
  MapCommand(IDC_MSF_FILTER, [this] { OnFilterCheck(); });
  for (int id : {IDC_MSF_LPF, IDC_MSF_HPF, IDC_MSF_BSF, IDC_MSF_BPF}) MapCommand(id, [this] { OnType(); });
  MapNotify(IDC_MSF_CUT1, ui::EN_KILLFOCUS, [this] { StoreCut(IDC_MSF_CUT1); });
  MapNotify(IDC_MSF_CUT2, ui::EN_KILLFOCUS, [this] { StoreCut(IDC_MSF_CUT2); });
  MapCommand(IDC_MSF_NOTCH, [this] { OnNotch(); });
  MapCommand(IDC_MSF_50HZ, [this] { Filter.NotchFrequency = 50.0f; });
  MapCommand(IDC_MSF_60HZ, [this] { Filter.NotchFrequency = 60.0f; });
}

bool LyrDlgFilterCondition::OnInitDialog() {
  CheckDlgButton(IDC_MSF_BASE_OFFSET, Filter.BaseOffset != 0 ? 1 : 0);
  CheckDlgButton(IDC_MSF_FILTER, Filter.FilterType != 0 || Filter.NotchOn != 0 ? 1 : 0);
  int radio = IDC_MSF_LPF;
  switch (Filter.FilterType) {
    case 2: radio = IDC_MSF_HPF; break;
    case 3: radio = IDC_MSF_BPF; break;
    case 4: radio = IDC_MSF_BSF; break;
    default: break;
  }
  CheckRadioButton(IDC_MSF_LPF, IDC_MSF_BPF, radio);
  const bool single = Filter.FilterType == 1 || Filter.FilterType == 2;
  const bool band = Filter.FilterType == 3 || Filter.FilterType == 4;
  SetDlgItemText(IDC_MSF_CUT1, single || band ? Format3(Filter.Cutoff1) : std::string());
  SetDlgItemText(IDC_MSF_CUT2, band ? Format3(Filter.Cutoff2) : std::string());
  CheckDlgButton(IDC_MSF_NOTCH, Filter.NotchOn != 0 ? 1 : 0);
  const bool fifty = Filter.NotchFrequency > 49.9998f && Filter.NotchFrequency < 50.0001f;
  CheckRadioButton(IDC_MSF_50HZ, IDC_MSF_60HZ, fifty ? IDC_MSF_50HZ : IDC_MSF_60HZ);
  EnableControls();
  return true;
}

int LyrDlgFilterCondition::RadioType() const {
  if (IsDlgButtonChecked(IDC_MSF_HPF) != 0) return 2;
  if (IsDlgButtonChecked(IDC_MSF_BSF) != 0) return 4;
  if (IsDlgButtonChecked(IDC_MSF_BPF) != 0) return 3;
  return 1;
}

void LyrDlgFilterCondition::EnableControls() {
  const bool on = IsDlgButtonChecked(IDC_MSF_FILTER) != 0;
  for (int id : {IDC_MSF_LPF, IDC_MSF_HPF, IDC_MSF_BSF, IDC_MSF_BPF}) EnableItem(id, on);
  EnableItem(IDC_MSF_CUT1, on && Filter.FilterType != 0);
  EnableItem(IDC_MSF_CUT2, on && (Filter.FilterType == 3 || Filter.FilterType == 4));
  EnableItem(IDC_MSF_NOTCH, on);
  EnableItem(IDC_MSF_50HZ, on && Filter.NotchOn != 0);
  EnableItem(IDC_MSF_60HZ, on && Filter.NotchOn != 0);
}

void LyrDlgFilterCondition::OnFilterCheck() {
  Filter.FilterType = static_cast<std::uint16_t>(IsDlgButtonChecked(IDC_MSF_FILTER) != 0 ? RadioType() : 0);
  EnableControls();
}

void LyrDlgFilterCondition::OnType() {
  if (IsDlgButtonChecked(IDC_MSF_FILTER) != 0) Filter.FilterType = static_cast<std::uint16_t>(RadioType());
  EnableControls();
}

void LyrDlgFilterCondition::OnNotch() {
  Filter.NotchOn = IsDlgButtonChecked(IDC_MSF_NOTCH) != 0 ? 1 : 0;
  EnableControls();
}

void LyrDlgFilterCondition::StoreCut(int id) {
  const float v = static_cast<float>(std::atof(GetDlgItemText(id).c_str()));
  (id == IDC_MSF_CUT1 ? Filter.Cutoff1 : Filter.Cutoff2) = v;
}

void LyrDlgFilterCondition::OnOK() {
  // A field still being typed in counts as left.
  if (Item(IDC_MSF_CUT1).IsEnabled() && !GetDlgItemText(IDC_MSF_CUT1).empty()) StoreCut(IDC_MSF_CUT1);
  if (Item(IDC_MSF_CUT2).IsEnabled() && !GetDlgItemText(IDC_MSF_CUT2).empty()) StoreCut(IDC_MSF_CUT2);
  EndDialog(ui::IDOK);
}
