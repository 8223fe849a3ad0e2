#pragma once
// "Type" (dialog 138): how each channel is drawn (wave form with heavy line and baseline
// position, value as a number, value as a character label from up to six named ranges). The
// change marks handed over pre-select the rows; Apply writes to every selected channel and
// Cancel puts back what the channels held when the dialog opened.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "app/raw/lyr_raw_display_dialogs.h"

class LyrChInfo;

class LyrRawDlgTypeCh : public LyrRawChannelDialog {
 public:
  static constexpr int kTemplateId = 138;
  static constexpr int kList = 1078;
  static constexpr int kApply = 1091;
  static constexpr int kLine = 1103;
  static constexpr int kHeavy = 1105;
  static constexpr int kNumeric = 1107;
  static constexpr int kCharacter = 1109;
  static constexpr int kDecimals = 1111;
  static constexpr int kRangeCount = 1113;
  static constexpr int kBaseline = 1133;
  // Label, lower and upper bound edits of the six ranges.
  static constexpr std::array<std::array<int, 3>, 6> kRangeEdits{{{1116, 1118, 1121},
                                                                  {1125, 1128, 1130},
                                                                  {1140, 1143, 1145},
                                                                  {1147, 1149, 1151},
                                                                  {1153, 1155, 1157},
                                                                  {1159, 1161, 1163}}};

  explicit LyrRawDlgTypeCh(CQLM2_AnalyzerDoc* doc, ui::Window* parent = nullptr);
  bool OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;

  // Copies the type fields of every channel for Cancel; false (with the method named in a
  // box) when the copy cannot be had.
  bool EvacuateDocument();
  // Writes the controls' values to every selected channel and refills the list.
  void Apply();
  // Text of the "Type" column of a channel.
  static std::string TypeText(const LyrChInfo& ch);

 private:
  struct Saved {
    std::array<std::uint16_t, 7> words{};
    std::array<std::uint8_t, 144> data{};
  };
  int ChannelCount() const;
  void FillList(const std::vector<int>& selected);
  void ShowChannel(int c);
  void ShowLastSelected();
  void UpdateEnabling();
  std::vector<Saved> saved_;
  bool evacuated_ = false;
};
