#pragma once
// "Hypnogram Setting" (dialog 222): how many hypnogram lines are shown and how much time one
// line spans, and how each stage of the current stage type (and each free stage in use) is
// shown, edited in place in the document's stage settings through the stage detail dialog.
// Cancel puts the stage settings back as they were when the dialog opened.
#include <cstdint>
#include <string>

#include "app/document/analysis_param_blocks.h"
#include "platform/ui/dialog.h"

class CQLM2_AnalyzerDoc;

inline constexpr std::uint32_t kStrSameStageOrder = 2132;
inline constexpr std::uint32_t kStrKeyAssigned = 2133;
inline constexpr std::uint32_t kStrMinutes = 2194;
inline constexpr std::uint32_t kStrHours = 2195;
inline constexpr std::uint32_t kStrClearedStages = 2196;
inline constexpr std::uint32_t kStrFreeStageFixed = 2349;

class LyrDlgHypnogramSetting : public ui::Dialog {
 public:
  static constexpr int kTemplateId = 222;
  static constexpr int kStageList = 1081;
  static constexpr int kFreeList = 1088;
  static constexpr int kLines = 1615;
  static constexpr int kSpan = 1618;
  static constexpr int kSpanEdit = 1617;
  static constexpr int kSpanUnit = 1619;
  static constexpr int kDetails = 1232;

  explicit LyrDlgHypnogramSetting(ui::Window* parent = nullptr);
  bool OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;
  void OnDetails();
  void OnTimeChange();

  CQLM2_AnalyzerDoc* m_pDoc = nullptr;
  // The chosen minutes per line, read by the opener after OK.
  std::int32_t minutes = 0;

 private:
  void FillLists();
  void FillRow(int list, int row, const std::string& stage, const StageRecord& r);
  void ClearSelection(int list);
  StageTypeParam savedStageType_{};
  int initialSpanRow_ = -1;
  std::string initialEdit_;
};
