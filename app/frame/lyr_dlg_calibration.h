#pragma once
// "Calibration" (modal): the two-point calibration of every channel, edited in place in the
// channel records. "&Apply" writes at once, Cancel restores the copy taken at opening, OK
// marks the calibration as changed so that closing the recording offers to save it.
#include <array>
#include <cstdint>

#include "app/document/ch_info.h"
#include "platform/ui/dialog.h"

class CQLM2_AnalyzerDoc;

inline constexpr int IDD_CALIBRATION = 220;
inline constexpr int IDC_CAL_LIST = 1828;
inline constexpr int IDC_CAL_ON = 1830;
inline constexpr int IDC_CAL_OFF = 1831;
inline constexpr int IDC_CAL_LOWER_VOLTS = 1832;
inline constexpr int IDC_CAL_LOWER_VALUE = 1833;
inline constexpr int IDC_CAL_UPPER_VOLTS = 1834;
inline constexpr int IDC_CAL_UPPER_VALUE = 1835;
inline constexpr int IDC_CAL_SENSITIVITY = 1836;
inline constexpr int IDC_CAL_APPLY = 1514;

class LyrDlgCalibration : public ui::Dialog {
 public:
  explicit LyrDlgCalibration(CQLM2_AnalyzerDoc* doc, ui::Window* parent = nullptr);

  bool OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;

  CQLM2_AnalyzerDoc* m_pDoc = nullptr;

 private:
  // The calibration entry and the sensitivity of a channel, as taken at opening.
  struct Saved {
    ChCalibrationEntry calibration;
    double sensitivity = 0.0;
  };

  int ChannelCount() const;
  void FillList();
  void ShowSelection();
  void EnableLimits(bool on);
  // Applies the fields to the selected rows; false when the result is not consistent.
  bool Apply();
  void Restore();

  std::array<Saved, 32> saved_{};
};
