// Magnitude-squared coherence of two signals averaged over segment pairs.
//
// Per bin k = 0 .. N/2 the cross spectra X conj(Y) and the powers |X|^2,
// |Y|^2 of each segment pair are summed; the result is |cross|^2 /
// (first x second), 0 where a power is 0. One pair gives 1 at every bin;
// independent signals tend to 0 as pairs are added.
//
// Calling order: InitResultWorkArea; per pair SetRData(x), CalcFft,
// SetShelter(0), SetRData(y), CalcFft, SetShelter(1), CalcCoherence1; then
// CalcCoherence2 and GetResultData.
#pragma once

#include <vector>

#include "common/dsp/fyn_fft.h"

class FynCoherence : public FynFftBase {
public:
  // windowType: numbering and formulas of FynFft.
  explicit FynCoherence(int pointCount = 0, int windowType = 0, double parameter = 0.0);
  ~FynCoherence() override;
  FynCoherence(const FynCoherence&) = default;
  FynCoherence& operator=(const FynCoherence&) = default;

  // Work areas, result, accumulators and window (computed). 0 ok; -1 for a
  // point count that is no power of two of at least 4 or memory failure.
  short CreateWorkArea();
  void CalcWindowFunc();
  // Zeroes the imaginary area; with a window the mean is removed and the
  // window applied; forward transform.
  void CalcFft();
  // 0 keeps the current spectrum as the first signal's, otherwise the second's.
  void SetShelter(int which);
  // Clears the result and the accumulators.
  void InitResultWorkArea();
  void CalcCoherence1();
  void CalcCoherence2();
  // Copies the N/2 + 1 values. 0 ok, -1 for a null pointer or missing work areas.
  int GetResultData(float* out) const;

private:
  bool Ready() const;

  double parameter_;
  int windowType_;
  std::vector<float> result_, crossRe_, crossIm_, power1_, power2_;
  std::vector<float> window_;
  std::vector<float> xRe_, xIm_, yRe_, yIm_;
};
