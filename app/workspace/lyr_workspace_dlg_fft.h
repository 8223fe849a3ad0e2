#pragma once
// The spectrum settings dialogs of the workspace menu: "Spectrum Parameter" (the simple, epoch
// and page spectra, window, unit, bands and band content), "Spectrum Scale" (how the spectrum
// panes scale their bars) and "Select Channels" (the epoch-spectrum channels, or the three
// divided-page channels). Each edits the document's settings; see each class for when.
#include <array>
#include <cstdint>
#include <string>

#include "app/document/analysis_param_blocks.h"
#include "app/frame/lyr_spin_button_ctrl.h"
#include "platform/ui/dialog.h"

class CQLM2_AnalyzerDoc;

inline constexpr int IDD_FFT_SELECT_CH = 171;
inline constexpr int IDD_FFT_PARAMETER = 20290;
inline constexpr int IDD_FFT_SCALE = 20291;

// Control ids of "Spectrum Parameter": per page (simple 1710, epoch 1720, page 1740) the
// average count, its spin, the FFT-point combo, the display range and the information line.
namespace fftdlg {
constexpr int kSimpleBase = 1710;
constexpr int kEpochBase = 1720;
constexpr int kPageBase = 1740;
constexpr int kAverage = 0, kSpin = 1, kPoints = 2, kRange = 3, kInfo = 4;
constexpr int kPageByEpoch = 1730, kDivide = 1731, kDivideSpin = 1732, kShowValue = 1736;
constexpr int kWindow = 1750, kUnit = 1751, kBandCountCombo = 1752;
// Band b: name, lower, upper, swatch, colour button at 1760 + 5b + 0..4.
constexpr int kBandFirst = 1760;
constexpr int kOutsideSwatch = 1793, kOutsideColour = 1794;
constexpr int kShowContent = 1795, kIntegral = 1796, kPercentage = 1797, kPercentLow = 1798, kPercentHigh = 1799;
constexpr int kScaleAll = 1691, kScaleEach = 1692, kScaleManual = 1693, kScaleList = 1694, kScaleValue = 1695;
constexpr int kApplySpectrum = 1696, kApplyContent = 1697;
constexpr int kChannelList = 1078, kMaxLabel = 1679, kClear = 1681;
}  // namespace fftdlg

// The information line of a page: "Analysis time :%.2f[sec]   (unit time :%.2f[sec])";
// empty for a rate of 0.
std::string FftTimeInfo(int averages, int points, double rateHz);

// Pages write every change into the document at once; OK writes the common part and keeps
// the pages' changes, Cancel puts the whole block back as it was when the dialog opened.
// OK refuses a display range not above 0, and a band or percentage range whose lower end is
// not below its upper end.
class LyrWorkspaceDlgFFTParameter : public ui::Dialog, public LyrSpinOwner {
 public:
  LyrWorkspaceDlgFFTParameter(CQLM2_AnalyzerDoc* doc, ui::Window* parent = nullptr);
  bool OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;
  void OnSpinDelta(std::uint16_t kind, const NmUpDown& nm, long* result) override;

 private:
  FFTPageParam& Live();
  void FillPages();
  void FillBands();
  void ShowInfo();
  void OnBandCount();
  void OnColour(int index);
  void OnRangeKillFocus(int base);
  void OnPoints(int base);
  void OnPercentMode();
  CQLM2_AnalyzerDoc* doc_;
  FFTPageParam copy_;
  std::array<LyrSpinButtonCtrl, 4> spins_;
};

class LyrWorkspaceDlgFFTScale : public ui::Dialog {
 public:
  LyrWorkspaceDlgFFTScale(CQLM2_AnalyzerDoc* doc, ui::Window* parent = nullptr);
  bool OnInitDialog() override;
  void OnOK() override;
  FFTPageChannelValues Scale;

 private:
  void FillList();
  void OnMode();
  void Apply(bool content);
  CQLM2_AnalyzerDoc* doc_;
};

class LyrWorkspaceDlgFFTSelectCh : public ui::Dialog {
 public:
  // mode 0: the epoch-spectrum flags; 1: the three divided-page channels.
  LyrWorkspaceDlgFFTSelectCh(CQLM2_AnalyzerDoc* doc, int mode, ui::Window* parent = nullptr);
  bool OnInitDialog() override;
  void OnOK() override;
  // After a click in the list: at most three in mode 1, one sampling rate in both modes.
  void OnListClick();
  std::array<std::uint16_t, 32> Flags{};
  std::array<std::int32_t, 3> Channels{-1, -1, -1};

 private:
  void TakeSelection();
  CQLM2_AnalyzerDoc* doc_;
  int mode_;
};

// Shows "Select Channels" in a mode; IDOK after the selection was stored.
int RunFftChannelSelection(CQLM2_AnalyzerDoc* doc, int mode, ui::Window* parent);
