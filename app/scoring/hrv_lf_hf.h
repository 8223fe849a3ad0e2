#pragma once
// Heart-rate variability band powers: the R-R intervals of the ECG channel are
// resampled at their mean interval (cubic Lagrange interpolation), cut into blocks
// of the analysis time, and the power of each block's spectrum is summed over the
// LF and HF bands.
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "app/document/analysis_param_blocks.h"
#include "app/document/table_memory.h"

// What one transaction reads and writes; the document fills it from its own members.
struct LfHfSources {
  const SleepDstrbParam* param = nullptr;  // analysis time, window, unit, bands
  std::span<const std::int32_t> peaks;     // R-peak sample positions (the table's count of them)
  double samplingRate = 0.0;               // of the ECG channel, Hz
  int fftPoints = 64;                      // 64, 128, 256 or 512
  int epochCount = 0;
  int epochSeconds = 30;
  std::span<double> lf;                    // one value per block, allocated by the document
  std::span<double> hf;
  tablemem::FailureReporter report = nullptr;  // shown by the window code; may be empty
};

class LyrTrendFFTCalc {
 public:
  explicit LyrTrendFFTCalc(const LfHfSources& src) : src_(src) {}
  ~LyrTrendFFTCalc() = default;

  // Fills LF and HF of every block. A mean interval that is not above 0 (fewer than
  // two peaks) leaves the arrays untouched; with two or three peaks there is nothing
  // to resample and every block holds 0.
  void TrendFFTTransaction();

  // Kernels.
  // Resampled intervals (ms, one per peak, at i x mean interval after the first
  // peak; only with more than three peaks) and the mean interval in ms (the span of
  // the peaks over the peak count).
  static void ResampleIntervals(std::span<const std::int32_t> positions, double samplingRate,
                                std::vector<float>* resampled, double* meanMs);
  // The interval at target ms after the first peak; *cursor (a peak index) only moves
  // forward and must start at 0.
  static double InterpolateAt(std::span<const float> intervals, std::span<const double> times, double target,
                              int* cursor);
  // Cubic through y[0..3] placed at -1, 0, 1, 2, evaluated at t.
  static double LagrangeCubic(const float y[4], double t);
  // Averaged spectrum (n/2 + 1 values) of `segments` consecutive segments of n
  // points of input. Returns false for an unusable point count.
  // Sums the spectrum bins (bin k at k x fs / n x 1.000001 Hz) with LF low <= f < LF
  // high into *lf, and the others with HF low <= f < HF high into *hf.
  static void SumBands(std::span<const float> spectrum, double fs, int n, const std::array<double, 4>& bands,
                       double* lf, double* hf);
  static bool SpanSpectrum(std::span<const float> input, int segments, int n, int window, int unit, double fs,
                           std::span<float> out);

 private:
  void Run();

  LfHfSources src_;
};
