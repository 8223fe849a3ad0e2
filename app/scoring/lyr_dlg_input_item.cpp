#include "app/scoring/lyr_dlg_input_item.h"

#include <cmath>
#include <cstdio>
#include <optional>

#include "app/scoring/lyr_dlg_rk_rules.h"
#include "platform/res/resource_store.h"
#include "platform/ui/message_box.h"
#include "platform/ui/messages.h"

namespace {

constexpr std::uint32_t kStrEnterNumber = 20801;
constexpr std::uint32_t kStrEnterNumberRange = 20802;
constexpr std::size_t kItemChars = 19;

std::string Format(const char* format, double v) {
  char text[64];
  std::snprintf(text, sizeof text, format, v);
  return text;
}

// The first 19 characters (whole UTF-8 characters, not bytes).
std::string Cut(const std::string& text) {
  std::size_t chars = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;
    if (chars++ == kItemChars) return text.substr(0, i);
  }
  return text;
}

}  // namespace

LyrDlgInputItem::LyrDlgInputItem(ui::Window* parent) : ui::Dialog(kTemplateId, parent) {}

bool LyrDlgInputItem::OnInitDialog() {
  SetDlgItemText(IDC_DAY, record.Day);
  SetDlgItemText(IDC_NO, record.No);
  SetDlgItemText(IDC_SERVICE, record.Service);
  SetDlgItemText(IDC_ENGINEER, record.Engineer);
  SetDlgItemText(IDC_DOCTOR, record.Doctor);
  SetDlgItemText(IDC_EPOCH_TIME, std::to_string(record.EpochTime));
  Item(IDC_EPOCH_TIME).SetReadOnly(true);
  SetDlgItemText(IDC_NAME, record.Name);
  SetDlgItemText(IDC_ID, record.ID);
  SetDlgItemText(IDC_AGE, std::to_string(record.Age));
  SetDlgItemText(IDC_SEX, record.Sex);
  SetDlgItemText(IDC_HEIGHT, Format("%.1f", record.Height));
  SetDlgItemText(IDC_WEIGHT, Format("%.1f", record.Weight));
  return true;
}

void LyrDlgInputItem::OnOK() {
  // The numbers first: a value out of its range keeps the dialog open on its edit.
  struct Number {
    int id;
    double low, high;
    bool integer;
    const char* lowText;
    const char* highText;
  };
  const Number numbers[] = {{IDC_AGE, 0, 1000, true, "0", "1000"},
                            {IDC_HEIGHT, 0.0, 1000.0, false, "0.0", "1000.0"},
                            {IDC_WEIGHT, 0.0, 10000.0, false, "0.0", "10000.0"}};
  double values[3] = {};
  for (std::size_t i = 0; i < 3; ++i) {
    const Number& n = numbers[i];
    const std::optional<double> v = ParseNumberText(GetDlgItemText(n.id));
    const bool isNumber = v && (!n.integer || std::floor(*v) == *v);
    if (!isNumber || *v < n.low || *v > n.high) {
      std::string message = res::LoadString(v ? kStrEnterNumberRange : kStrEnterNumber);
      if (v) {
        for (const auto& [key, value] : {std::pair{"%1", n.lowText}, std::pair{"%2", n.highText}})
          if (const std::size_t at = message.find(key); at != std::string::npos) message.replace(at, 2, value);
      }
      ui::MessageBox(message, ui::MB_OK | ui::MB_ICONEXCLAMATION);
      Item(n.id).SetFocus();
      return;
    }
    values[i] = *v;
  }
  record.Day = Cut(GetDlgItemText(IDC_DAY));
  record.No = Cut(GetDlgItemText(IDC_NO));
  record.Service = Cut(GetDlgItemText(IDC_SERVICE));
  record.Engineer = Cut(GetDlgItemText(IDC_ENGINEER));
  record.Doctor = Cut(GetDlgItemText(IDC_DOCTOR));
  record.Name = Cut(GetDlgItemText(IDC_NAME));
  record.ID = Cut(GetDlgItemText(IDC_ID));
  record.Sex = Cut(GetDlgItemText(IDC_SEX));
  record.Age = static_cast<std::int32_t>(values[0]);
  record.Height = values[1];
  record.Weight = values[2];
  EndDialog(ui::IDOK);
}
