#pragma once
// "Data Processing" (modal, template 176): the per-channel processing the document applies
// when it fills the page buffers. It edits the document's channel records in place; the main
// frame re-creates the per-epoch tables and re-reads the page after OK.
#include <array>
#include <cstdint>
#include <string>

#include "platform/ui/dialog.h"

class CQLM2_AnalyzerDoc;
class LyrChInfo;

inline constexpr int IDD_DATA_PROCESSING = 176;

class LyrRawDlgDataProcessing : public ui::Dialog {
 public:
  static constexpr int kIirRadio = 9265;
  static constexpr int kFirRadio = 9266;
  static constexpr int kChannelList = 1078;
  static constexpr int kBaseOffsetCheck = 1694;
  static constexpr int kProcessingCheck = 9264;
  static constexpr int kSmoothingRadio = 1722;
  static constexpr int kFilterRadio = 1725;
  static constexpr int kPointsEdit = 1550;
  static constexpr int kSelectFilterCheck = 1674;
  static constexpr int kLowPassRadio = 1728;
  static constexpr int kHighPassRadio = 1730;
  static constexpr int kBandStopRadio = 1732;
  static constexpr int kBandPassRadio = 1734;
  static constexpr int kCut1Edit = 1740;
  static constexpr int kCut2Edit = 1742;
  static constexpr int kNotchCheck = 1675;
  static constexpr int k50HzRadio = 1729;
  static constexpr int k60HzRadio = 1733;
  static constexpr int kApplyButton = 1514;

  explicit LyrRawDlgDataProcessing(CQLM2_AnalyzerDoc* doc, ui::Window* parent = nullptr);

  bool OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;

  // The settings of the first selected row into the controls (a click in the list).
  void ShowSelectedRow();
  // The controls into every selected row's channel record; the list is refilled.
  void Apply();
  // The cells of a channel's row in the list.
  static std::array<std::string, 6> RowCells(int channel, const LyrChInfo& ch);

  CQLM2_AnalyzerDoc* m_pDoc = nullptr;

 private:
  struct Saved {
    std::int32_t smoothingCount = 1;
    std::uint16_t filterMode = 4;
    double cut1Hz = 0.0;
    double cut2Hz = 0.0;
    std::int32_t notch = 0;
    double lineFrequencyHz = 50.0;
    std::uint16_t baseLine = 0;
  };
  int ChannelCount() const;
  void FillList();
  void UpdateEnabling();
  void SetFamily(std::int32_t family);
  void RestoreAll();

  std::array<Saved, 32> saved_{};
  std::int32_t savedFamily_ = 0;
};
