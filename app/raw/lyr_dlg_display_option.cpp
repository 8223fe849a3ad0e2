#include "app/raw/lyr_dlg_display_option.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/frame/program_settings.h"

namespace {

struct FlagControl {
  int id;
  std::uint32_t* flag;
};

// The 32-bit switches with one check box each.
FlagControl Flags32(int i) {
  static const FlagControl table[] = {
      {LyrDlgDisplayOption::kDrawActualSize, &DrawActualSize},
      {LyrDlgDisplayOption::kShowEvent, &ShowEvent},
      {LyrDlgDisplayOption::kShowStageHistory, &ShowStageHistory},
      {LyrDlgDisplayOption::kShowStageName, &ShowStageName},
      {LyrDlgDisplayOption::kShowMarkName, &ShowMarkName},
      {LyrDlgDisplayOption::kShowLogicLine, &ShowLogicLine},
      {LyrDlgDisplayOption::kShowChannelName, &ShowChannelName},
      {LyrDlgDisplayOption::kHideSubjectName, &HideSubjectName},
      {LyrDlgDisplayOption::kLineUpWithTrend, &LineUpWithTrend},
  };
  return i < static_cast<int>(std::size(table)) ? table[i] : FlagControl{0, nullptr};
}

std::string Millimetres(double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.1f", v);
  return buf;
}

// A millimetre edit read as a decimal number; stored only when above 1.0 (an empty or
// unreadable edit reads as 0 and keeps the value).
void ReadMillimetres(const std::string& text, double& target) {
  const char* begin = text.c_str();
  char* end = nullptr;
  const double v = std::strtod(begin, &end);
  if (end == begin) return;
  if (v > 1.0 && v < 1e9) target = v;
}

}  // namespace

LyrDlgDisplayOption::LyrDlgDisplayOption(CQLM2_AnalyzerDoc* /*doc*/, ui::Window* parent)
    : ui::Dialog(kTemplateId, parent) {}

bool LyrDlgDisplayOption::OnInitDialog() {
  TimeChoice = ClockTimeDisplay == 0 ? kTimeTotal : kTimeReal;
  CheckRadioButton(kTimeTotal, kTimeReal, TimeChoice);
  for (int i = 0; Flags32(i).flag != nullptr; ++i) CheckDlgButton(Flags32(i).id, *Flags32(i).flag != 0 ? 1 : 0);
  CheckDlgButton(kShowScreeningRaw, DrawWhileScreening != 0 ? 1 : 0);
  SetDlgItemText(kScreenHeight, Millimetres(ScreenHeightMm));
  SetDlgItemText(kScreenWidth, Millimetres(ScreenWidthMm));
  CheckDlgButton(kShowEpoch, ShowEpochMode != 0 ? 1 : 0);
  EpochChoice = ShowEpochMode == 1 ? kEpochNumber : ShowEpochMode == 2 ? kEpochTime : -1;
  CheckRadioButton(kEpochNumber, kEpochTime, EpochChoice);
  EnableSizeEdits();
  EnableEpochRadios();
  MapCommand(kDrawActualSize, [this] { EnableSizeEdits(); });
  MapCommand(kShowEpoch, [this] { EnableEpochRadios(); });
  return true;
}

void LyrDlgDisplayOption::EnableSizeEdits() {
  const bool on = IsDlgButtonChecked(kDrawActualSize) != 0;
  EnableItem(kScreenHeight, on);
  EnableItem(kScreenWidth, on);
}

void LyrDlgDisplayOption::EnableEpochRadios() {
  const bool on = IsDlgButtonChecked(kShowEpoch) != 0;
  EnableItem(kEpochNumber, on);
  EnableItem(kEpochTime, on);
}

void LyrDlgDisplayOption::OnOK() {
  ClockTimeDisplay = IsDlgButtonChecked(kTimeReal) != 0 ? 1 : 0;
  for (int i = 0; Flags32(i).flag != nullptr; ++i) *Flags32(i).flag = IsDlgButtonChecked(Flags32(i).id) != 0 ? 1u : 0u;
  DrawWhileScreening = IsDlgButtonChecked(kShowScreeningRaw) != 0 ? 1 : 0;
  if (IsDlgButtonChecked(kShowEpoch) == 0)
    ShowEpochMode = 0;
  else
    ShowEpochMode = IsDlgButtonChecked(kEpochTime) != 0 ? 2 : 1;
  if (DrawActualSize != 0) {
    ReadMillimetres(GetDlgItemText(kScreenHeight), ScreenHeightMm);
    ReadMillimetres(GetDlgItemText(kScreenWidth), ScreenWidthMm);
  }
  EndDialog(ui::IDOK);
}
