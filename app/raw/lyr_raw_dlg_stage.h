#pragma once
// The stage type dialogs. "Stage" (dialog 165) chooses the set of regular stages the recording
// is scored with and how many free stages exist; lowering the free-stage count clears the
// epochs and logic conditions that used the removed free stages, after asking. "Detail"
// (dialog 167) edits how one stage is shown and which number key scores it.
#include <cstdint>
#include <string>

#include "platform/ui/dialog.h"

class CQLM2_AnalyzerDoc;
struct StageRecord;

class LyrRawDlgStage : public ui::Dialog {
 public:
  static constexpr int kTemplateId = 165;
  static constexpr int kRegular[4] = {1863, 1865, 1867, 1869};
  static constexpr int kFreeNo = 1877;
  static constexpr int kFree[3] = {1871, 1873, 1875};
  explicit LyrRawDlgStage(CQLM2_AnalyzerDoc* doc, ui::Window* parent = nullptr);

  bool OnInitDialog() override;
  void OnOK() override;
  // Clears the epochs and logic conditions of the free stages above n: their epochs (also the
  // discarded ones) become unscored, their conditions result in stage 1.
  static void ClearRemovedFreeStages(CQLM2_AnalyzerDoc& doc, int n);

 private:
  CQLM2_AnalyzerDoc* doc_;
};

class LyrRawDlgStageDetail : public ui::Dialog {
 public:
  static constexpr int kTemplateId = 167;
  static constexpr int kTitle = 1439;
  static constexpr int kName = 1245;
  static constexpr int kSwatch = 1278;
  static constexpr int kSetColour = 1219;
  static constexpr int kLineWeight = 1243;
  static constexpr int kShowOrder = 1247;
  static constexpr int kShowHypnogram = 1271;
  static constexpr int kLineBetween = 1269;
  static constexpr int kKeyFirst = 1249;  // "0"; the digits follow two ids apart up to "9" 1267
  static constexpr int kKeyLast = 1267;
  // record may be null: the dialog then shows nothing and OK changes nothing.
  LyrRawDlgStageDetail(std::string title, StageRecord* record, ui::Window* parent = nullptr);

  bool OnInitDialog() override;
  void OnOK() override;
  // Colour shown in the swatch, stored on OK.
  std::uint32_t HeldColour() const { return colour_; }

 private:
  void ChooseColour();
  std::string title_;
  StageRecord* record_;
  std::uint32_t colour_ = 0;
};
