#include "app/scoring/lyr_dlg_time_occupancy.h"

#include <cstdio>
#include <cstdlib>

#include "app/document/qlm2_analyzer_app.h"
#include "platform/res/resource_store.h"
#include "platform/system/program_folder.h"
#include "platform/ui/message_box.h"

namespace {

constexpr std::uint32_t kIdsInputOverZero = 62424;
constexpr std::uint32_t kIdsSumTo100 = 62428;
constexpr std::uint32_t kIdsLightDark100 = 62429;
constexpr int kRows = 8;

std::string Format3(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.3f", v);
  return buf;
}

}  // namespace

int MsOccupancySlot(int code) {
  switch (code) {
    case 2: case 3: case 4: case 5: case 6: return code - 2;
    case 8: case 9: case 10: return code - 3;
    default: return -1;
  }
}

LyrDlgTimeOccupancy::LyrDlgTimeOccupancy(ui::Window* parent) : ui::Dialog(IDD_MS_TIME_OCCUPANCY, parent) {
  for (int r = 0; r < kRows; ++r)
    MapNotify(MsOccupancyEdit(r), ui::EN_KILLFOCUS, [this] {
      const double sum = ReadOccupancies(false);
      if (sum >= 0) SetDlgItemText(IDC_MSTO_REST, Format3(100.0 - sum));
    });
  MapNotify(IDC_MSTO_LIGHT, ui::EN_KILLFOCUS, [this] { ShowDark(); });
}

bool LyrDlgTimeOccupancy::OnInitDialog() {
  rowCodes_.clear();
  double sum = 0;
  for (const auto& [code, name] : Stages) {
    if (code == 1) {
      SetDlgItemText(IDC_MSTO_REST_NAME, name);
      continue;
    }
    const int slot = MsOccupancySlot(code);
    if (slot < 0 || static_cast<int>(rowCodes_.size()) >= kRows) continue;
    const int r = static_cast<int>(rowCodes_.size());
    rowCodes_.push_back(code);
    const float v = TargetOccupancy[static_cast<std::size_t>(slot)];
    SetDlgItemText(IDC_MSTO_NAME0 + 2 * r, name);
    SetDlgItemText(MsOccupancyEdit(r), Format3(v));
    sum += v;
  }
  for (int r = static_cast<int>(rowCodes_.size()); r < kRows; ++r) {
    EnableItem(IDC_MSTO_NAME0 + 2 * r, false);
    EnableItem(MsOccupancyEdit(r), false);
  }
  SetDlgItemText(IDC_MSTO_REST, Format3(100.0 - sum));
  ui::DateTime t;
  t.year = 2008;
  t.month = 10;
  t.day = 29;
  t.hour = LightPhaseStart[4];
  t.minute = LightPhaseStart[5];
  t.second = LightPhaseStart[6];
  Item(IDC_MSTO_LIGHT_START).SetDateTime(t);
  SetDlgItemText(IDC_MSTO_LIGHT, Format3(LightPhaseShare));
  SetDlgItemText(IDC_MSTO_DARK, Format3(100.0 - LightPhaseShare));
  const CQLM2_AnalyzerApp* app = TheApp();
  const bool english = app != nullptr ? app->EnglishMode != 0 : res::CurrentLanguage() == res::Language::English;
  hint_.SubclassDlgItem(IDC_MSTO_HINT, *this);
  hint_.SetLink(sys::ProgramFolder() + (english ? "/hint/QX_Hint_TimeOcy_en.pdf" : "/hint/QX_Hint_TimeOcy_jp.pdf"), true);
  return true;
}

double LyrDlgTimeOccupancy::ReadOccupancies(bool showMessage) {
  double sum = 0;
  for (std::size_t r = 0; r < rowCodes_.size(); ++r) {
    const int id = MsOccupancyEdit(static_cast<int>(r));
    const double v = std::atof(GetDlgItemText(id).c_str());
    if (v < 0) {
      if (showMessage) {
        ui::MessageBox(res::LoadString(kIdsInputOverZero), ui::MB_OK | ui::MB_ICONEXCLAMATION);
        Item(id).SetFocus();
        Item(id).SetSel(0, -1);
      }
      return -1;
    }
    TargetOccupancy[static_cast<std::size_t>(MsOccupancySlot(rowCodes_[r]))] = static_cast<float>(v);
    sum += v;
  }
  return sum;
}

void LyrDlgTimeOccupancy::ShowDark() {
  const double light = std::atof(GetDlgItemText(IDC_MSTO_LIGHT).c_str());
  SetDlgItemText(IDC_MSTO_DARK, Format3(100.0 - light));
}

void LyrDlgTimeOccupancy::OnOK() {
  const ui::DateTime t = Item(IDC_MSTO_LIGHT_START).GetDateTime();
  LightPhaseStart[4] = static_cast<std::uint16_t>(t.hour);
  LightPhaseStart[5] = static_cast<std::uint16_t>(t.minute);
  LightPhaseStart[6] = static_cast<std::uint16_t>(t.second);
  const double sum = ReadOccupancies(true);
  if (sum < 0) return;
  // Sums are of "%.3f" texts: a hair above 100 from rounding still counts as 100.
  if (sum > 100.0 + 1e-9) {
    ui::MessageBox(res::LoadString(kIdsSumTo100), ui::MB_OK | ui::MB_ICONEXCLAMATION);
    if (!rowCodes_.empty()) {
      Item(MsOccupancyEdit(0)).SetFocus();
      Item(MsOccupancyEdit(0)).SetSel(0, -1);
    }
    return;
  }
  const double light = std::atof(GetDlgItemText(IDC_MSTO_LIGHT).c_str());
  if (light < 0 || light > 100) {
    ui::MessageBox(res::LoadString(kIdsLightDark100), ui::MB_OK | ui::MB_ICONEXCLAMATION);
    Item(IDC_MSTO_LIGHT).SetFocus();
    Item(IDC_MSTO_LIGHT).SetSel(0, -1);
    return;
  }
  LightPhaseShare = static_cast<float>(light);
  EndDialog(ui::IDOK);
}
