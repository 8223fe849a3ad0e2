#include "app/trend/lyr_dlg_trend_draw_scale.h"

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/document/qlm2_analyzer_doc.h"
#include "app/document/trend_item_names.h"
#include "platform/res/resource_store.h"
#include "platform/ui/app.h"
#include "platform/ui/message_box.h"

namespace {

constexpr std::uint32_t kStrInputNumber = 9701;
constexpr std::uint32_t kStrTooLarge = 9795;

std::string Format2(float v) {
  char text[64];
  std::snprintf(text, sizeof text, "%.2f", v);
  return text;
}

}  // namespace

std::optional<double> ParseScaleText(std::string_view text, bool integerItem, bool* tooLarge) {
  if (tooLarge != nullptr) *tooLarge = false;
  if (text.empty() || text.find_first_not_of("0123456789.-") != std::string_view::npos) return std::nullopt;
  const std::string s(text);
  char* end = nullptr;
  const double v = std::strtod(s.c_str(), &end);
  if (end == s.c_str() || *end != '\0') return std::nullopt;
  const double limit = integerItem ? 2147483647.0 : static_cast<double>(FLT_MAX);
  if (!std::isfinite(v) || std::fabs(v) > limit) {
    if (tooLarge != nullptr) *tooLarge = true;
    return std::nullopt;
  }
  return v;
}

bool IsIntegerScaleItem(int category, int sub, int third) {
  return GetTrendItemRange(third, category, sub, third).mode == 0;
}

// ---- Draw Type ----

LyrDlgTrendDrawType::LyrDlgTrendDrawType(ui::Window* parent) : ui::Dialog(kTemplateId, parent) {
  MapCommand(kDot, [this] { EnableDotSizes(true); });
  for (int id : {kCrossbar, kColumn, kLine}) MapCommand(id, [this] { EnableDotSizes(false); });
}

void LyrDlgTrendDrawType::SetParams(int category, int sub, int drawType, int valueDisplay, int dotSize) {
  Category = static_cast<std::uint16_t>(category);
  Sub = static_cast<std::uint16_t>(sub);
  DrawType = static_cast<std::uint16_t>(drawType);
  ValueDisplay = static_cast<std::uint16_t>(valueDisplay);
  DotSize = static_cast<std::uint16_t>(dotSize);
}

void LyrDlgTrendDrawType::EnableDotSizes(bool on) {
  for (int id : {kDot1, kDot2, kDot3}) EnableItem(id, on);
}

bool LyrDlgTrendDrawType::OnInitDialog() {
  if (IsDrawTypeAllowed(Category, Sub, 3) == 0) EnableItem(kLine, false);
  static constexpr int kTypes[] = {kDot, kCrossbar, kColumn, kLine};
  if (DrawType < 4) CheckDlgButton(kTypes[DrawType], 1);
  const bool mainPosition = Category == 17 && Sub == 1;
  const int display = ValueDisplay == 1 ? kNumeric : (ValueDisplay == 2 && mainPosition) ? kCharacter : kNone;
  CheckDlgButton(display, 1);
  EnableItem(kCharacter, mainPosition);
  static constexpr int kSizes[] = {kDot1, kDot2, kDot3};
  if (DotSize < 3) CheckDlgButton(kSizes[DotSize], 1);
  EnableDotSizes(DrawType == 0);
  return true;
}

void LyrDlgTrendDrawType::OnOK() {
  if (IsDlgButtonChecked(kDot) != 0) DrawType = 0;
  else if (IsDlgButtonChecked(kCrossbar) != 0) DrawType = 1;
  else if (IsDlgButtonChecked(kColumn) != 0) DrawType = 2;
  else if (IsDlgButtonChecked(kLine) != 0) DrawType = 3;
  if (IsDlgButtonChecked(kNone) != 0) ValueDisplay = 0;
  else if (IsDlgButtonChecked(kNumeric) != 0) ValueDisplay = 1;
  else if (IsDlgButtonChecked(kCharacter) != 0) ValueDisplay = 2;
  if (IsDlgButtonChecked(kDot1) != 0) DotSize = 0;
  else if (IsDlgButtonChecked(kDot2) != 0) DotSize = 1;
  else if (IsDlgButtonChecked(kDot3) != 0) DotSize = 2;
  EndDialog(ui::IDOK);
}

// ---- Trend Scale ----

LyrDlgTrendScale::LyrDlgTrendScale(ui::Window* parent) : ui::Dialog(kTemplateId, parent) {
  MapCommand(kOptimum, [this] {
    SetDlgItemText(kTop, Format2(RunningMax));
    SetDlgItemText(kBottom, Format2(RunningMin));
  });
}

void LyrDlgTrendScale::SetParams(int graph, int category, int sub, int third, std::string top, std::string bottom,
                                 float runningMax, float runningMin) {
  Graph = graph;
  Category = static_cast<std::uint16_t>(category);
  Sub = static_cast<std::uint16_t>(sub);
  Third = static_cast<std::uint16_t>(third);
  TopText = std::move(top);
  BottomText = std::move(bottom);
  RunningMax = runningMax;
  RunningMin = runningMin;
}

bool LyrDlgTrendScale::OnInitDialog() {
  SetDlgItemText(kTop, TopText);
  SetDlgItemText(kBottom, BottomText);
  if (Document != nullptr) {
    const std::string unit = GetTrendItemUnit(TrendItemSourceOf(*Document), Category, Sub, Third);
    SetDlgItemText(kTopUnit, unit);
    SetDlgItemText(kBottomUnit, unit);
  }
  // A graph that has drawn nothing yet has no range to propose.
  EnableItem(kOptimum, RunningMax >= RunningMin);
  return true;
}

void LyrDlgTrendScale::OnOK() {
  const bool integer = IsIntegerScaleItem(Category, Sub, Third);
  double values[2] = {0.0, 0.0};
  const int ids[2] = {kTop, kBottom};
  for (int i = 0; i < 2; ++i) {
    bool tooLarge = false;
    const std::optional<double> v = ParseScaleText(GetDlgItemText(ids[i]), integer, &tooLarge);
    if (!v) {
      ui::MessageBeep(ui::MB_ICONEXCLAMATION);
      ui::MessageBox(res::LoadString(tooLarge ? kStrTooLarge : kStrInputNumber), ui::MB_ICONEXCLAMATION);
      Item(ids[i]).SetFocus();
      Item(ids[i]).SelectAll();
      return;
    }
    values[i] = *v;
  }
  TopText = GetDlgItemText(kTop);
  BottomText = GetDlgItemText(kBottom);
  if (values[0] < values[1]) std::swap(TopText, BottomText);
  EndDialog(ui::IDOK);
}
