#pragma once
// "Adopt Rechtschaffen and Kales" (dialog 208): the switches of the four last-stage rules and
// the EMG level up to which an epoch stays REM, edited in the document's logic option block.
// OK writes them only when the level is a number above 0; Cancel writes nothing.
#include <optional>
#include <string>
#include <string_view>

#include "platform/ui/dialog.h"

class CQLM2_AnalyzerDoc;

inline constexpr int IDD_RK_RULES = 208;
inline constexpr int IDC_RK_EMG_LEVEL = 1101;
inline constexpr int IDC_RK_EMG_UNIT = 1102;
inline constexpr int IDC_RK_REM_SPINDLE = 1103;
inline constexpr int IDC_RK_CEASE_WITH_REM = 1104;
inline constexpr int IDC_RK_THREE_MINUTE = 1105;
inline constexpr int IDC_RK_WAKE_NEIGHBOUR = 1106;

// A number that is the whole text (blanks around it allowed); nullopt otherwise.
std::optional<double> ParseNumberText(std::string_view text);
// The level as the dialog accepts it: the whole text a number (blanks around it allowed)
// between the smallest normal float and the largest float; nullopt otherwise.
std::optional<float> ParseRemEmgLevel(std::string_view text);

class LyrDlgRkRules : public ui::Dialog {
 public:
  explicit LyrDlgRkRules(CQLM2_AnalyzerDoc* doc, ui::Window* parent = nullptr);
  bool OnInitDialog() override;
  void OnOK() override;

  CQLM2_AnalyzerDoc* m_pDoc = nullptr;
};
