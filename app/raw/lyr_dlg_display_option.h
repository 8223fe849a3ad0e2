#pragma once
// "Display option" (dialog 140): the program-wide display switches that the raw page, the
// trend window and the workspace read when they draw. The switches are written on OK only;
// the caller redraws and stores them in the settings file.
#include "platform/ui/dialog.h"

class CQLM2_AnalyzerDoc;

class LyrDlgDisplayOption : public ui::Dialog {
 public:
  static constexpr int kTemplateId = 140;
  static constexpr int kTimeTotal = 1010;
  static constexpr int kTimeReal = 1015;
  static constexpr int kDrawActualSize = 9252;
  static constexpr int kScreenHeight = 1033;
  static constexpr int kScreenWidth = 1039;
  static constexpr int kShowEvent = 9253;
  static constexpr int kShowStageHistory = 9254;
  static constexpr int kShowStageName = 9255;
  static constexpr int kShowScreeningRaw = 9256;
  static constexpr int kShowMarkName = 9257;
  static constexpr int kShowLogicLine = 9258;
  static constexpr int kShowChannelName = 9259;
  static constexpr int kShowEpoch = 9260;
  static constexpr int kEpochNumber = 9261;
  static constexpr int kEpochTime = 9262;
  static constexpr int kHideSubjectName = 9263;
  static constexpr int kLineUpWithTrend = 1687;

  // The document is not read: the switches belong to the whole program.
  explicit LyrDlgDisplayOption(CQLM2_AnalyzerDoc* doc = nullptr, ui::Window* parent = nullptr);
  bool OnInitDialog() override;
  void OnOK() override;

  // Radio selections as the dialog opened (-1: none until OnInitDialog).
  int TimeChoice = -1;
  int EpochChoice = -1;

 private:
  void EnableSizeEdits();
  void EnableEpochRadios();
};
