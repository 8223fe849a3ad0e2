#pragma once
// "Time occupancy" (modal, template 332): the target share of each stage of the current stage
// type (stage code 1 takes the rest of 100 %), the start of the light phase and the light
// phase's share of the time other than Wake. It edits copies; the caller takes them after OK.
#include <array>
#include <string>
#include <utility>
#include <vector>

#include "app/frame/tzr_static_ex.h"
#include "app/scoring/multi_screening_setting.h"
#include "platform/ui/dialog.h"

inline constexpr int IDD_MS_TIME_OCCUPANCY = 332;
// Name and share edits of row r: 3360 + 2 r, 3361 + 2 r.
inline constexpr int IDC_MSTO_NAME0 = 3360;
inline constexpr int IDC_MSTO_REST_NAME = 3376;
inline constexpr int IDC_MSTO_REST = 3377;
inline constexpr int IDC_MSTO_LIGHT_START = 3378;
inline constexpr int IDC_MSTO_LIGHT = 3379;
inline constexpr int IDC_MSTO_DARK = 3380;
inline constexpr int IDC_MSTO_HINT = 3381;

inline constexpr int MsOccupancyEdit(int row) { return IDC_MSTO_NAME0 + 2 * row + 1; }

// Slot of a stage code in TargetOccupancy, -1 for codes without one.
int MsOccupancySlot(int code);

class LyrDlgTimeOccupancy : public ui::Dialog {
 public:
  explicit LyrDlgTimeOccupancy(ui::Window* parent = nullptr);
  bool OnInitDialog() override;
  void OnOK() override;

  std::array<float, 8> TargetOccupancy{};
  MsDateTime LightPhaseStart{};
  float LightPhaseShare = 68.0f;
  // Stage codes and names of the current stage type.
  std::vector<std::pair<int, std::string>> Stages;

 private:
  // Reads the used rows into TargetOccupancy; the sum, or -1 at a negative value (with the
  // message and the focus when showMessage).
  double ReadOccupancies(bool showMessage);
  void ShowDark();
  std::vector<int> rowCodes_;
  TzrCStaticEx hint_;
};
