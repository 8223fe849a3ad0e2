#pragma once
// Two small dialogs of the trend graphs: "Draw Type" (dialog 194: how one graph draws its
// values) and "Trend Scale" (dialog 189: the value window of one trend item, with an
// "Optimum" that proposes the range the graph has drawn). The caller sets the members, runs
// the dialog and reads them after OK.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/ui/dialog.h"

class CQLM2_AnalyzerDoc;

class LyrDlgTrendDrawType : public ui::Dialog {
 public:
  static constexpr int kTemplateId = 194;
  static constexpr int kDot = 1631, kCrossbar = 1638, kColumn = 1629, kLine = 1632;
  static constexpr int kDot1 = 1640, kDot2 = 1642, kDot3 = 1644;
  static constexpr int kNone = 1646, kNumeric = 1634, kCharacter = 1636;
  explicit LyrDlgTrendDrawType(ui::Window* parent = nullptr);
  void SetParams(int category, int sub, int drawType, int valueDisplay, int dotSize);
  bool OnInitDialog() override;
  void OnOK() override;

  std::uint16_t Category = 0, Sub = 0;
  std::uint16_t DrawType = 0, ValueDisplay = 0, DotSize = 0;

 private:
  void EnableDotSizes(bool on);
};

class LyrDlgTrendScale : public ui::Dialog {
 public:
  static constexpr int kTemplateId = 189;
  static constexpr int kTop = 1658, kBottom = 1659, kTopUnit = 1671, kBottomUnit = 1672, kOptimum = 4;
  explicit LyrDlgTrendScale(ui::Window* parent = nullptr);
  void SetParams(int graph, int category, int sub, int third, std::string top, std::string bottom, float runningMax,
                 float runningMin);
  bool OnInitDialog() override;
  void OnOK() override;

  CQLM2_AnalyzerDoc* Document = nullptr;
  int Graph = 0;
  std::uint16_t Category = 0, Sub = 0, Third = 0;
  std::string TopText, BottomText;
  float RunningMax = 0.0f, RunningMin = 0.0f;
};

// A scale bound typed by the user: digits, point and minus only, a number, and within what
// the item's bounds hold (integer items: 32-bit; real items: a float). Empty when refused;
// tooLarge tells a number that does not fit from text that is no number.
std::optional<double> ParseScaleText(std::string_view text, bool integerItem, bool* tooLarge = nullptr);
// Whether an item keeps integer bounds.
bool IsIntegerScaleItem(int category, int sub, int third);
