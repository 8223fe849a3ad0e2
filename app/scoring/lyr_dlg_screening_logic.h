#pragma once
// The Logic window of multi-screening (modeless, template 328): it edits copies of the
// staging conditions (1 to 20, the last one giving only the default stage), the last-stage
// rule and the time-occupancy targets, and hands them back to the Multi-screening window on
// OK. The Multi-screening window hides while it is open and shows again when it goes.
#include <string>
#include <utility>
#include <vector>

#include "app/frame/icon_button_ex.h"
#include "app/frame/tzr_static_ex.h"
#include "app/scoring/multi_screening_setting.h"
#include "platform/ui/dialog.h"

class CQLM2_AnalyzerDoc;
class LyrDlgMultiScreening;

inline constexpr int IDD_SCREENING_LOGIC = 328;
inline constexpr int IDC_MSL_COUNT = 3401;
inline constexpr int IDC_MSL_COUNT_SPIN = 3402;
inline constexpr int IDC_MSL_LIST = 3403;
inline constexpr int IDC_MSL_DELETE = 3404;
inline constexpr int IDC_MSL_UP = 3405;
inline constexpr int IDC_MSL_DOWN = 3406;
// Term row t (0, 1): lower bound, lower operator, parameter, channel, upper operator, upper
// bound at 3411 + 10 t .. 3416 + 10 t.
inline constexpr int IDC_MSL_LOWER1 = 3411;
inline constexpr int IDC_MSL_AND = 3430;
inline constexpr int IDC_MSL_STAGE = 3431;
inline constexpr int IDC_MSL_APPLY = 3432;
inline constexpr int IDC_MSL_LAST_STAGE = 3440;
inline constexpr int IDC_MSL_LAST_FROM = 3441;
inline constexpr int IDC_MSL_LAST_TARGET = 3442;
inline constexpr int IDC_MSL_LAST_FROM_COPY = 3443;
inline constexpr int IDC_MSL_LAST_RESULT = 3444;
inline constexpr int IDC_MSL_OCCUPANCY = 3445;
inline constexpr int IDC_MSL_HINT = 3446;

// Control of field f (0 lower, 1 lower operator, 2 parameter, 3 channel, 4 upper operator,
// 5 upper) of term row t.
inline constexpr int MsLogicTermControl(int t, int f) { return IDC_MSL_LOWER1 + 10 * t + f; }

class LyrDlgScreeningLogic : public ui::Dialog {
 public:
  LyrDlgScreeningLogic(LyrDlgMultiScreening* owner, const LyrMultiScreeningSetting& values);
  ~LyrDlgScreeningLogic() override;
  bool OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;
  // The copies being edited.
  LyrMultiScreeningSetting Values;
  // The open recording (stage names, channel names), or null.
  CQLM2_AnalyzerDoc* Doc = nullptr;

  // Stage codes and names of the current stage type (document, else program defaults).
  static std::vector<std::pair<int, std::string>> StageList(const CQLM2_AnalyzerDoc* doc);
  // Parameter codes in the parameter combo's order and their texts.
  std::vector<std::pair<int, std::string>> ParameterItems() const;
  // Channel combo items, in row order: attribute, ordinal and text.
  struct ChannelItem {
    int kind;
    int ordinal;
    std::string text;
  };
  std::vector<ChannelItem> ChannelItems() const;
  int SelectedRow() const;
  void SelectRow(int row);
  // Stores the controls into the selected condition; false with the message shown.
  bool ApplyRow();

 private:
  void FillList();
  void FillRow(int row);
  void ShowCondition(int row);
  void EnableTerms();
  void EnableArrows();
  void EnableLastStage();
  void SetCount(int count);
  void OnCountChange();
  void OnCountKillFocus();
  void OnDelete();
  void OnMove(int delta);
  void OnTimeOccupancy();
  bool Fail(int focusId);
  void Finish(int code);
  std::string StageName(int code) const;

  LyrDlgMultiScreening* owner_;
  std::vector<std::pair<int, std::string>> stages_;
  CIconButtonEx deleteButton_, upButton_, downButton_;
  TzrCStaticEx hint_;
  bool initialised_ = false;
  bool filling_ = false;
};
