#pragma once
// "Scale" (dialog 136): a scale bar per channel, switched on or off with its height in the
// channel's unit. The change marks handed over pre-select the rows; Apply writes to every
// selected channel and Cancel puts back what the channels held when the dialog opened.
#include <string>
#include <vector>

#include "app/raw/lyr_raw_display_dialogs.h"

class LyrRawDlgScaleCh : public LyrRawChannelDialog {
 public:
  static constexpr int kTemplateId = 136;
  static constexpr int kList = 1078;
  static constexpr int kApply = 1091;
  static constexpr int kShowScale = 1096;
  static constexpr int kValue = 1098;
  static constexpr double kMinValue = 0.00001;
  static constexpr double kMaxValue = 100000.0;

  explicit LyrRawDlgScaleCh(CQLM2_AnalyzerDoc* doc, ui::Window* parent = nullptr);
  bool OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;

  // Copies the switch and value of every channel for Cancel; false (with the method
  // named in a box) when the copy cannot be had.
  bool EvacuateDocument();
  // Writes the check and the value to every selected channel. False, with the range
  // message, when the value is out of range or not a number.
  bool Apply();
  // Text of the "Scale" column of a channel.
  static std::string ScaleText(std::uint16_t on, double value, const std::string& unit);

 private:
  struct Saved {
    std::uint16_t on = 0;
    double value = 0.0;
  };
  int ChannelCount() const;
  void FillList(const std::vector<int>& selected);
  void ShowFirstSelected();
  ui::Window* parent_;
  std::vector<Saved> saved_;
  bool evacuated_ = false;
};
