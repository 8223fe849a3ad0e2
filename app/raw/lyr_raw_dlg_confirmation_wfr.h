#pragma once
// "Confirmation Waveform Recognition" (dialog 143): tunes the detection limits of one wave type
// from a wave the user marked on the raw page while the wave-form recognition window waited
// for a pick. It proposes limits measured on the marked stretch, turns the type's display and
// peak marks on while it is open, previews the values on the pages, and on OK keeps them (the
// display switches as they were); Cancel gives every value back.
#include <cstdint>
#include <span>

#include "app/document/analysis_param_blocks.h"
#include "platform/ui/dialog.h"

class CQLM2_AnalyzerDoc;
struct RawPreviewPick;

// ---- Measuring the marked stretch ----------------------------------------------------------

// Band and K-complex limits from a stretch x0 .. x(n-1): A is the span from the lowest
// minimum to the highest maximum of the excursions about the stretch's mean (at most
// `maxExtrema` recorded). With at least two extrema the limits become A x kMin, A x kMax and
// A x kPeak and true is returned; a flat stretch or fewer extrema change nothing (false).
// `emgLevel`, when given, receives the EMG cancel level the stretch suggests (shown only).
bool BandFindParameter(std::span<const float> x, double kMin, double kMax, double kPeak, int maxExtrema,
                       double* amplitudeMin, double* amplitudeMax, double* peakLevel, double* emgLevel = nullptr);

// The screen's actual-size scales the eye-movement detector uses.
struct EogFindScale {
  int rate = 0;               // samples per second of the channel
  int pageSeconds = 30;
  int screenWidthPx = 0;
  double screenWidthMm = 360;
  double pixelsPerCmX = 0;
};
// Eye-movement values from a stretch: the detect angle at which the detector just takes the
// stretch's steepest part (window rate / 50 samples, at least 3); the amplitude minimum lowered
// to the stretch's span and the minimum duration lowered to the stretch's length in ms
// (samples x 1000 / rate) where they are smaller. A stretch shorter than the window changes
// nothing (false).
bool EogFindParameter(std::span<const float> x, const EogFindScale& scale, EogRecord* record);

// ---- The dialog ------------------------------------------------------------------------------

class LyrRawDlgConfirmationWFR : public ui::Dialog {
 public:
  static constexpr int kTemplateId = 143;
  static constexpr int kTypeName = 1358;
  static constexpr int kLabels[4] = {9220, 9221, 9222, 9223};
  static constexpr int kEdits[4] = {1231, 1234, 1236, 1238};
  static constexpr int kSpins[3] = {1795, 1797, 1800};
  static constexpr int kPreview = 3;

  // The marked stretch as indexes into the row's page buffer of the channel.
  LyrRawDlgConfirmationWFR(CQLM2_AnalyzerDoc* doc, int waveType, int row, int channel, std::int64_t first,
                           std::int64_t last, ui::Window* parent = nullptr);

  bool OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;

  void OnPreview();
  // A spin of row 0 .. 2 was moved to its position.
  void OnSpin(int row);
  // The values the spins count from.
  double Base(int row) const { return base_[static_cast<std::size_t>(row)]; }

 private:
  bool IsEog() const { return waveType_ == 9 || waveType_ == 10; }
  // The type's three tuned values (peak level or detect angle, amplitude minimum, amplitude
  // maximum or minimum duration), read and written in place.
  double Value(int row) const;
  void SetValue(int row, double v);
  void ReadEdits();
  // The type's Show (or Show peak) word in the document's block.
  std::uint16_t* ShowFlag(bool peak) const;
  std::span<const float> Stretch() const;

  CQLM2_AnalyzerDoc* doc_;
  int waveType_;
  int row_;
  int channel_;
  std::int64_t first_;
  std::int64_t last_;
  // What the type held at opening.
  double saved_[3] = {0, 0, 0};
  std::uint16_t savedShow_ = 0;
  std::uint16_t savedShowPeak_ = 0;
  double base_[3] = {0, 0, 0};
  bool known_ = false;  // a wave type 1 .. 10 and a document
};

// Runs dialog 143 on a pick of the raw page (samples counted from the recording start) for
// wave type `waveType`; IDOK when the user kept the values, else IDCANCEL.
int RunWaveFormConfirmation(CQLM2_AnalyzerDoc& doc, const RawPreviewPick& pick, int waveType);
