#include "app/scoring/lyr_dlg_rk_rules.h"

#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/document/qlm2_analyzer_doc.h"
#include "platform/res/resource_store.h"
#include "platform/ui/message_box.h"

namespace {

constexpr std::uint32_t kStrEnterNumber = 20801;
constexpr std::uint32_t kStrEnterNumberRange = 20802;
constexpr std::uint32_t kStrNoEmgUnit = 20803;

std::string FormatLevel(float level) {
  char text[64];
  std::snprintf(text, sizeof text, "%.2f", static_cast<double>(level));
  return text;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::optional<double> ParseNumberText(std::string_view text) {
  std::string s(text);
  std::size_t first = 0;
  while (first < s.size() && IsBlank(s[first])) ++first;
  if (first == s.size()) return std::nullopt;
  const char* begin = s.c_str() + first;
  char* end = nullptr;
  errno = 0;
  const double v = std::strtod(begin, &end);
  if (end == begin) return std::nullopt;
  while (*end != '\0' && IsBlank(*end)) ++end;
  if (*end != '\0') return std::nullopt;
  return v;
}

std::optional<float> ParseRemEmgLevel(std::string_view text) {
  const std::optional<double> v = ParseNumberText(text);
  if (!v || !std::isfinite(*v) || *v < FLT_MIN || *v > FLT_MAX) return std::nullopt;
  return static_cast<float>(*v);
}

LyrDlgRkRules::LyrDlgRkRules(CQLM2_AnalyzerDoc* doc, ui::Window* parent)
    : ui::Dialog(IDD_RK_RULES, parent), m_pDoc(doc) {}

bool LyrDlgRkRules::OnInitDialog() {
  if (m_pDoc == nullptr) return true;
  const LogicOptionParam& o = m_pDoc->Params.logicOption;
  SetDlgItemText(IDC_RK_EMG_LEVEL, FormatLevel(o.remEmgLevel));
  CheckDlgButton(IDC_RK_REM_SPINDLE, o.remSpindleRule != 0 ? 1 : 0);
  CheckDlgButton(IDC_RK_CEASE_WITH_REM, o.ceaseWithRemRule != 0 ? 1 : 0);
  CheckDlgButton(IDC_RK_THREE_MINUTE, o.threeMinuteRule != 0 ? 1 : 0);
  CheckDlgButton(IDC_RK_WAKE_NEIGHBOUR, o.wakeNeighbourRule != 0 ? 1 : 0);
  const int emg = m_pDoc->Params.waveForm.emgChannel;
  const bool hasEmg = emg >= 0 && emg < m_pDoc->RecordInfo.channelCount && emg < static_cast<int>(m_pDoc->ChInfo.size());
  SetDlgItemText(IDC_RK_EMG_UNIT,
                 hasEmg ? m_pDoc->ChInfo[static_cast<std::size_t>(emg)].unit : res::LoadString(kStrNoEmgUnit));
  return true;
}

void LyrDlgRkRules::OnOK() {
  // The level is checked before anything is written: a refused level leaves the block as it
  // was, and the dialog open with the field to correct.
  const std::string text = GetDlgItemText(IDC_RK_EMG_LEVEL);
  const std::optional<float> level = ParseRemEmgLevel(text);
  if (!level) {
    std::string message;
    char low[32], high[32];
    std::snprintf(low, sizeof low, "%.8g", static_cast<double>(FLT_MIN));
    std::snprintf(high, sizeof high, "%.8g", static_cast<double>(FLT_MAX));
    if (!ParseNumberText(text)) {
      message = res::LoadString(kStrEnterNumber);
    } else {
      message = res::LoadString(kStrEnterNumberRange);
      const auto replace = [&message](std::string_view key, const std::string& value) {
        const std::size_t at = message.find(key);
        if (at != std::string::npos) message.replace(at, key.size(), value);
      };
      replace("%1", low);
      replace("%2", high);
    }
    ui::MessageBox(message, ui::MB_OK | ui::MB_ICONEXCLAMATION);
    Item(IDC_RK_EMG_LEVEL).SetFocus();
    return;
  }
  if (m_pDoc != nullptr) {
    LogicOptionParam& o = m_pDoc->Params.logicOption;
    o.remSpindleRule = static_cast<std::uint16_t>(IsDlgButtonChecked(IDC_RK_REM_SPINDLE) != 0);
    o.ceaseWithRemRule = static_cast<std::uint16_t>(IsDlgButtonChecked(IDC_RK_CEASE_WITH_REM) != 0);
    o.threeMinuteRule = static_cast<std::uint16_t>(IsDlgButtonChecked(IDC_RK_THREE_MINUTE) != 0);
    o.wakeNeighbourRule = static_cast<std::uint16_t>(IsDlgButtonChecked(IDC_RK_WAKE_NEIGHBOUR) != 0);
    o.remEmgLevel = *level;
  }
  EndDialog(ui::IDOK);
}
