#pragma once
// Per-epoch trend values of a multi-screening run, as plain functions over the samples of one
// epoch of one channel: the free-trend values, the absolute maximum, locomotion cross counts,
// the EMG integral and EEG band powers. The engine binds them to the recording block by block.
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "app/scoring/multi_screening_setting.h"

class FynFft;

namespace mstrend {

// Recordings are read in blocks of this many seconds from the start of the analysed range.
inline constexpr int kBlockSeconds = 1800;
// Largest float, the start of a maximum search and the cap of the EMG integral.
inline constexpr float kFloatMax = 3.4028234663852886e38f;

// Blocks of a range: whole blocks plus one when the rest holds a whole epoch.
int BlockCount(int rangeSeconds, int epochSeconds);
// Blocks of the first hour (at most two): whole blocks plus one for a rest of an epoch or more.
int FirstHourBlockCount(int rangeSeconds, int epochSeconds);

struct FreeTrend {
  float minimum = 0.0f;
  float maximum = 0.0f;
  float mean = 0.0f;
  float integral = 0.0f;  // trapezoids of |x| in value x milliseconds, zero crossings split
  float cv = 0.0f;        // 100 x population deviation of |x| / mean of |x|; 0 when that mean is 0
};
// Free trend of one epoch's samples at rateHz. An empty span gives zeros.
FreeTrend FreeTrendOf(std::span<const float> x, int rateHz);
// Largest |x| (0 for none).
float AbsMaxOf(std::span<const float> x);
// Samples i > 0 with x[i-1] < level < x[i].
int CrossCount(std::span<const float> x, double level);
// Mean of |x - mean|, capped at the largest float.
float EmgIntegral(std::span<const float> x);

// Window and unit codes of the spectrum class for the settings' FFT window and unit.
int SpectrumWindowCode(int fftWindow);
int SpectrumUnitCode(std::uint32_t fftUnit);

// Band powers and ratios of epochs of one channel: A spectra of P points averaged, summed
// over each band's bins From <= f < To; ratios against the sum of the bands or the
// effective band.
class BandPowerCalculator {
 public:
  BandPowerCalculator(const LyrMultiScreeningSetting& settings, int rateHz);
  ~BandPowerCalculator();
  BandPowerCalculator(const BandPowerCalculator&) = delete;
  BandPowerCalculator& operator=(const BandPowerCalculator&) = delete;
  // False when the work areas could not be made (a point count that is no power of two, or
  // no memory).
  bool Ready() const { return ready_; }
  // powers and ratios: 6 values each; bands beyond the band count stay 0.
  void Compute(std::span<const float> epoch, float* powers, float* ratios);
  // The averaged spectrum of the last Compute (P/2 + 1 bins).
  const std::vector<float>& Spectrum() const { return spectrum_; }

 private:
  const LyrMultiScreeningSetting& s_;
  double rateHz_;
  int points_;
  int average_;
  bool ready_ = false;
  std::unique_ptr<FynFft> fft_;
  std::vector<float> work_;
  std::vector<float> one_;
  std::vector<float> spectrum_;
};

}  // namespace mstrend
