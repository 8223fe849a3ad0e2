#pragma once
// "Analysis Range" (modal, template 331): where multi-screening starts in each recording (its
// own start or a clock time) and where it ends (its own end or days and hours after the
// start). The caller fills the values, runs the dialog and takes them back after OK.
#include <cstdint>

#include "app/scoring/multi_screening_setting.h"
#include "platform/ui/dialog.h"

inline constexpr int IDD_MS_RANGE = 331;
inline constexpr int IDC_MSR_START_RECORDING = 3312;
inline constexpr int IDC_MSR_START_SCHEDULED = 3313;
inline constexpr int IDC_MSR_START_TIME = 3314;
inline constexpr int IDC_MSR_END_RECORDING = 3315;
inline constexpr int IDC_MSR_END_ELAPSED = 3316;
inline constexpr int IDC_MSR_DAYS = 3317;
inline constexpr int IDC_MSR_DAYS_SPIN = 3318;
inline constexpr int IDC_MSR_HOURS = 3319;
inline constexpr int IDC_MSR_TOTAL = 3320;

class LyrDlgMultiScreeningRange : public ui::Dialog {
 public:
  explicit LyrDlgMultiScreeningRange(ui::Window* parent = nullptr);
  bool OnInitDialog() override;
  void OnOK() override;

  std::uint16_t StartMode = 0;
  MsDateTime StartTime{};
  std::uint16_t EndMode = 0;
  std::uint16_t EndDays = 0;
  std::uint16_t EndHours = 6;

 private:
  int ReadHours() const;
  void ShowTotal();
  void EnableControls();
};
