#pragma once
// "Gain" (dialog 135) and "Color" (dialog 137): the display gain or the wave colour of several
// channels at once. The opener marks the rows to preselect in ChangeMarks (non-zero =
// selected). Both dialogs change the document's channel records while they are open, so the
// raw page shows the effect at once, and put the values from before back on Cancel.
#include <cstdint>
#include <memory>
#include <vector>

#include "app/raw/lyr_raw_display_dialogs.h"

class LyrRawDlgGainCh : public LyrRawChannelDialog {
 public:
  static constexpr int kTemplateId = 135;
  static constexpr int kList = 1078;
  static constexpr int kApply = 1091;
  static constexpr int kGainEdit = 1094;
  static constexpr double kMinGain = 0.00001;
  static constexpr double kMaxGain = 100000.0;
  explicit LyrRawDlgGainCh(CQLM2_AnalyzerDoc* doc, ui::Window* parent = nullptr);

  bool OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;
  // Mode 1 copies every channel's gain into a new backup; mode 0 writes the backup back.
  void EvacuateDocument(int mode);
  // Sets the typed gain on the selected channels; false (after the message) when refused.
  bool Apply();
  bool HasBackup() const { return backup_ != nullptr; }

 private:
  int ChannelCount() const;
  void FillList();
  void OnListClick();
  std::unique_ptr<std::vector<double>> backup_;
};

class LyrRawDlgColorCh : public LyrRawChannelDialog {
 public:
  static constexpr int kTemplateId = 137;
  static constexpr int kList = 1078;
  static constexpr int kSetColor = 1101;
  explicit LyrRawDlgColorCh(CQLM2_AnalyzerDoc* doc, ui::Window* parent = nullptr);

  bool OnInitDialog() override;
  void OnCancel() override;
  // Mode 1 copies every channel's colour into a new backup; mode 0 writes the backup back.
  void EvacuateDocument(int mode);
  bool HasBackup() const { return backup_ != nullptr; }

 private:
  int ChannelCount() const;
  void FillList();
  void ChooseColour();
  std::unique_ptr<std::vector<std::uint32_t>> backup_;
};

// Test hook: the next backup copy fails as if memory ran out.
extern bool LyrRawDlgFailNextBackup;
