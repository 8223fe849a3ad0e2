// Autocorrelation and circular cross-correlation of blocks of N samples by
// FFT, each normalised by the signal energy and limited to -1 .. 1.
//
// Blocks are loaded with their mean removed. The autocorrelation gives lags
// 0 .. N/2 - 1 (lag 0 is 1 for any non-constant block); the cross-correlation
// gives r[k] = sum over n of x[(n + k) mod N] y[n] / sqrt(Ex Ey) for k = 0 .. N-1.
#pragma once

#include <vector>

#include "common/dsp/fyn_fft.h"

class FynAutoCorrelation : public FynFftBase {
public:
  explicit FynAutoCorrelation(int pointCount = 0, double parameter = 0.0);
  ~FynAutoCorrelation() override;
  FynAutoCorrelation(const FynAutoCorrelation&) = default;
  FynAutoCorrelation& operator=(const FynAutoCorrelation&) = default;

  // 0 ok; -1 for a point count that is no power of two of at least 4 or
  // memory failure.
  short CreateWorkArea();
  // Stores the mean of N values.
  void CalcAve(const float* data);
  // Loads N samples less their mean and their energy. 0 ok, -1 for a null
  // pointer or missing work areas.
  int SetRData(const float* data);
  // Forward transform of the loaded block.
  void CalcFft();
  void CalcAutoCorrelation();
  // Copies lags 0 .. N/2 - 1. 0 ok, -1 for a null pointer or missing work areas.
  int GetResultData(float* out) const;

  double Mean() const { return mean_; }
  double Energy() const { return energy_; }

private:
  std::vector<float> extra_;
  double energy_ = 0.0;
  double mean_ = 0.0;
  double parameter_;
};

class FynCrossCorrelation : public FynFftBase {
public:
  explicit FynCrossCorrelation(int pointCount = 0, double parameter = 0.0);
  ~FynCrossCorrelation() override;
  FynCrossCorrelation(const FynCrossCorrelation&) = default;
  FynCrossCorrelation& operator=(const FynCrossCorrelation&) = default;

  short CreateWorkArea();
  void CalcAve(const float* data);
  int SetRData(const float* data);
  // Zeroes the imaginary area and transforms forward.
  void CalcFft();
  // 0 keeps the current spectrum and energy as the first signal's, any other
  // value as the second's.
  void SetShelter(int which);
  void InitResultWorkArea();
  void CalcCrossCorrelation();
  // Copies the N circular lags. 0 ok, -1 for a null pointer or missing work areas.
  int GetResultData(float* out) const;

private:
  std::vector<float> extra_;
  double energy_ = 0.0, energyX_ = 0.0, energyY_ = 0.0;
  double mean_ = 0.0;
  double parameter_;
  std::vector<float> xRe_, xIm_, yRe_, yIm_;
};
