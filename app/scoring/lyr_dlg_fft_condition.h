#pragma once
// "FFT condition for EEG" (modal, template 329): how multi-screening computes the EEG spectra
// (averaging, FFT size, window, unit), its up to six named bands and the band of the rate of
// content. It edits a copy of the record's FFT fields; the caller takes them after OK.
#include <array>

#include "app/frame/tzr_static_ex.h"
#include "app/scoring/multi_screening_setting.h"
#include "platform/ui/dialog.h"

class CQLM2_AnalyzerDoc;

inline constexpr int IDD_MS_FFT_CONDITION = 329;
inline constexpr int IDC_MSFFT_AVERAGE = 3321;
inline constexpr int IDC_MSFFT_AVERAGE_SPIN = 3322;
inline constexpr int IDC_MSFFT_POINTS = 3323;
inline constexpr int IDC_MSFFT_WINDOW = 3324;
inline constexpr int IDC_MSFFT_UNIT = 3325;
inline constexpr int IDC_MSFFT_TIME = 3326;
inline constexpr int IDC_MSFFT_BAND_COUNT = 3327;
// Name, from and to edits of band row r: 3330 + 3 r + 0, 1, 2.
inline constexpr int IDC_MSFFT_BAND0 = 3330;
inline constexpr int IDC_MSFFT_ALL_BANDS = 3350;
inline constexpr int IDC_MSFFT_OPTIONAL = 3351;
inline constexpr int IDC_MSFFT_OPTIONAL_FROM = 3352;
inline constexpr int IDC_MSFFT_OPTIONAL_TO = 3353;
inline constexpr int IDC_MSFFT_HINT = 3354;

inline constexpr int MsFftBandEdit(int row, int field) { return IDC_MSFFT_BAND0 + 3 * row + field; }

class LyrDlgFftCondition : public ui::Dialog {
 public:
  explicit LyrDlgFftCondition(ui::Window* parent = nullptr);
  bool OnInitDialog() override;
  void OnOK() override;

  // The FFT fields and Bands are edited; the rest is carried untouched.
  LyrMultiScreeningSetting Values{LyrMultiScreeningSetting::NoFile{}};
  // Row of the animal's first EEG channel (for the analysis-time text only).
  int FirstEegRow = 0;
  // The open recording, or null.
  CQLM2_AnalyzerDoc* Doc = nullptr;

  // A band name as the setting file holds it: at most 9 bytes of the file's code page, cut
  // between characters.
  static std::string FitBandName(const std::string& name);

 private:
  void ShowAnalysisTime();
  void EnableBands();
  // The number in a field; false (message shown, field focused) when it is negative.
  bool ReadNonNegative(int id, float* value);
  TzrCStaticEx hint_;
};
