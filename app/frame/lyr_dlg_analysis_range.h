#pragma once
// "Analysis Range" (modeless): limits the analysis to a stretch of the recording. Its start
// moves every channel's first analysed sample and its length, in whole epochs, becomes the
// analysed length. The frame creates it, fills the saved values that Cancel restores, and
// ends it through EndAnalysisRange (the dialog's close callback: 1 OK, 2 Cancel).
// "Wait Time" (modal): the seconds automatic paging waits on each page.
#include <array>
#include <cstdint>
#include <memory>

#include "platform/ui/dialog.h"

class CQLM2_AnalyzerDoc;
class LyrDlgTimePointCompact;

inline constexpr int IDD_ANALYSIS_RANGE = 182;
inline constexpr int IDC_AR_START_FRAME = 1619;
inline constexpr int IDC_AR_START_CURSOR = 1620;
inline constexpr int IDC_AR_END_FRAME = 1621;
inline constexpr int IDC_AR_END_CURSOR = 1622;
inline constexpr int IDC_AR_RESET = 1624;
inline constexpr int kMinAnalysisSeconds = 120;

class LyrDlgAnalysisRange : public ui::Dialog {
 public:
  explicit LyrDlgAnalysisRange(CQLM2_AnalyzerDoc* doc, ui::Window* parent = nullptr);
  ~LyrDlgAnalysisRange() override;

  bool OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;

  // The raw page's pick: puts the time into the panel being picked, ends the pick mode and
  // shows the dialog again.
  void SetPickedSeconds(std::int32_t seconds);

  LyrDlgTimePointCompact* StartPanel() const { return start_.get(); }
  LyrDlgTimePointCompact* EndPanel() const { return end_.get(); }

  std::array<std::int32_t, 32> m_SavedStart{};
  std::int32_t m_SavedLength = 0;
  std::uint32_t m_Shown = 0;
  CQLM2_AnalyzerDoc* m_pDoc = nullptr;
  std::int16_t m_Picking = -1;

 private:
  void OnCursor(std::int16_t which);
  void OnReset();

  std::unique_ptr<LyrDlgTimePointCompact> start_;
  std::unique_ptr<LyrDlgTimePointCompact> end_;
};

inline constexpr int IDD_WAIT_TIME = 141;

class LyrDlgWaitTime : public ui::Dialog {
 public:
  explicit LyrDlgWaitTime(ui::Window* parent = nullptr);
  bool OnInitDialog() override;
  void OnOK() override;
};
