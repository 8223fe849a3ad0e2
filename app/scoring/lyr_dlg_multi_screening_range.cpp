#include "app/scoring/lyr_dlg_multi_screening_range.h"

#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <string>

#include "platform/res/resource_store.h"

namespace {
constexpr std::uint32_t kIdsAllHours = 62423;
}

LyrDlgMultiScreeningRange::LyrDlgMultiScreeningRange(ui::Window* parent) : ui::Dialog(IDD_MS_RANGE, parent) {
  for (int id : {IDC_MSR_START_RECORDING, IDC_MSR_START_SCHEDULED, IDC_MSR_END_RECORDING, IDC_MSR_END_ELAPSED})
    MapCommand(id, [this] { EnableControls(); });
  MapNotify(IDC_MSR_DAYS_SPIN, ui::UDN_DELTAPOS, [this] {
    SetDlgItemInt(IDC_MSR_DAYS, Item(IDC_MSR_DAYS_SPIN).GetPos());
    ShowTotal();
  });
  MapNotify(IDC_MSR_DAYS, ui::EN_CHANGE, [this] {
    bool ok = false;
    const long long d = GetDlgItemInt(IDC_MSR_DAYS, &ok);
    if (ok && d >= 0 && d <= 10) Item(IDC_MSR_DAYS_SPIN).SetPos(static_cast<int>(d));
    ShowTotal();
  });
  MapNotify(IDC_MSR_HOURS, ui::CBN_SELCHANGE, [this] { ShowTotal(); });
  MapNotify(IDC_MSR_HOURS, ui::CBN_EDITCHANGE, [this] { ShowTotal(); });
}

bool LyrDlgMultiScreeningRange::OnInitDialog() {
  ui::DateTime t;
  t.year = 2008;
  t.month = 10;
  t.day = 16;
  t.hour = StartTime[4];
  t.minute = StartTime[5];
  t.second = StartTime[6];
  Item(IDC_MSR_START_TIME).SetDateTime(t);
  Item(IDC_MSR_DAYS_SPIN).SetRange(0, 10);
  ui::Control hours = Item(IDC_MSR_HOURS);
  hours.ResetContent();
  for (const char* h : {"0", "6", "12", "24", "48", "72"}) hours.AddString(h);
  CheckRadioButton(IDC_MSR_START_RECORDING, IDC_MSR_START_SCHEDULED,
                   StartMode == 1 ? IDC_MSR_START_SCHEDULED : IDC_MSR_START_RECORDING);
  Item(IDC_MSR_DAYS_SPIN).SetPos(EndDays);
  SetDlgItemInt(IDC_MSR_DAYS, EndDays);
  hours.SetText(std::to_string(EndHours));
  CheckRadioButton(IDC_MSR_END_RECORDING, IDC_MSR_END_ELAPSED, EndMode == 2 ? IDC_MSR_END_ELAPSED : IDC_MSR_END_RECORDING);
  ShowTotal();
  EnableControls();
  return true;
}

int LyrDlgMultiScreeningRange::ReadHours() const { return std::atoi(GetDlgItemText(IDC_MSR_HOURS).c_str()); }

void LyrDlgMultiScreeningRange::ShowTotal() {
  const int total = ReadHours() + Item(IDC_MSR_DAYS_SPIN).GetPos() * 24;
  const std::string format = res::LoadString(kIdsAllHours);
  char buf[96];
  std::snprintf(buf, sizeof buf, format.c_str(), total);
  SetDlgItemText(IDC_MSR_TOTAL, buf);
}

void LyrDlgMultiScreeningRange::EnableControls() {
  EnableItem(IDC_MSR_START_TIME, IsDlgButtonChecked(IDC_MSR_START_SCHEDULED) != 0);
  const bool elapsed = IsDlgButtonChecked(IDC_MSR_END_ELAPSED) != 0;
  for (int id : {IDC_MSR_DAYS, IDC_MSR_DAYS_SPIN, IDC_MSR_HOURS, IDC_MSR_TOTAL}) EnableItem(id, elapsed);
}

void LyrDlgMultiScreeningRange::OnOK() {
  if (IsDlgButtonChecked(IDC_MSR_START_SCHEDULED) != 0) {
    StartMode = 1;
    const ui::DateTime t = Item(IDC_MSR_START_TIME).GetDateTime();
    StartTime[4] = static_cast<std::uint16_t>(t.hour);
    StartTime[5] = static_cast<std::uint16_t>(t.minute);
    StartTime[6] = static_cast<std::uint16_t>(t.second);
  } else {
    StartMode = 0;
  }
  if (IsDlgButtonChecked(IDC_MSR_END_ELAPSED) != 0) {
    EndMode = 2;
    EndDays = static_cast<std::uint16_t>(Item(IDC_MSR_DAYS_SPIN).GetPos());
    EndHours = static_cast<std::uint16_t>(std::max(0, ReadHours()));
  } else {
    EndMode = 0;
  }
  EndDialog(ui::IDOK);
}
