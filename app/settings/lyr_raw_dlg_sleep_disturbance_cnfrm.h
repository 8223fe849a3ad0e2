#pragma once
// "Confirmation Sleep Disturbance Recognition" (template 166). Measuring (modal, opened by the
// raw page on a marked stretch): the peak-to-peak amplitude of the stretch on the channel of
// the kind being set up gives its detection level (and for air flow, chest and abdomen its
// 100 % amplitude), written into the document's block at once; OK keeps them, Cancel puts
// back what was there. Threshold tuning (modeless, from the movement page): a spin steps the
// arousal threshold 1..255 and each step recognises arousal on the shown page again.
#include <cstdint>
#include <span>

#include "platform/ui/dialog.h"

class CQLM2_AnalyzerDoc;
class LyrRawDlgSleepDisturbanceMove;

inline constexpr int IDD_SLEEP_DISTURBANCE_CNFRM = 166;
inline constexpr int IDC_SDC_KIND = 1358;
inline constexpr int IDC_SDC_LEFT_LABEL = 1221;
inline constexpr int IDC_SDC_LEFT_VALUE = 1231;
inline constexpr int IDC_SDC_RIGHT_LABEL = 1223;
inline constexpr int IDC_SDC_RIGHT_VALUE = 1234;
inline constexpr int IDC_SDC_SPIN = 1795;

// Peak-to-peak amplitude of a stretch: the highest peak less the lowest trough among the
// alternating extremes of the stretch about its mean (at most maxExtremes of them). False when
// the stretch is flat or gives fewer than two extremes.
bool MeasurePeakToPeak(std::span<const float> x, int maxExtremes, double* amplitude);

class LyrRawDlgSleepDisturbanceCnfrm : public ui::Dialog {
 public:
  explicit LyrRawDlgSleepDisturbanceCnfrm(ui::Window* parent = nullptr);

  bool OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;
  void OnDestroy() override;

  // Measures the marked stretch on `channel`: level = amplitude x factor. False, with both
  // untouched, when nothing is found (no page data, a flat stretch, too few extremes).
  bool FindRespParameter(int channel, double factor, double* level, double* amplitude);
  // Arousal recognition over the shown page with the block's threshold.
  void RecognizeArousalPage();
  void OnThresholdSpin();

  CQLM2_AnalyzerDoc* m_pDoc = nullptr;
  std::uint16_t m_PageBufferKind = 2;
  // The channel under the marks; the samples index its page data. The measurement takes the
  // kind's channel over the same time.
  int m_MarkedChannel = -1;
  int m_StartSample = 0;
  int m_EndSample = 0;
  std::uint16_t m_ThresholdMode = 0;
  std::uint16_t m_Modeless = 0;
  LyrRawDlgSleepDisturbanceMove* m_pMovePage = nullptr;
  double m_PreviousValues[2] = {0.0, 0.0};
  std::uint16_t m_OriginalThreshold = 0;
  std::uint16_t m_Cancelled = 0;
  // PreviewKind when the window opened.
  int m_Kind = 0;

 private:
  void ReloadGroup();
  void RestoreRecordingTables();
};
