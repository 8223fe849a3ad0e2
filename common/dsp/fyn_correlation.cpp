#include "common/dsp/fyn_correlation.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <limits>

namespace {

// Loads N samples less their mean into re (as floats); returns the energy.
double LoadCentred(const float* data, std::vector<float>& re, double& mean) {
  double sum = 0.0;
  for (std::size_t i = 0; i < re.size(); ++i) sum += data[i];
  mean = sum / static_cast<double>(re.size());
  double energy = 0.0;
  for (std::size_t i = 0; i < re.size(); ++i) {
    re[i] = static_cast<float>(data[i] - mean);
    energy += static_cast<double>(re[i]) * re[i];
  }
  return energy;
}

double MeanOf(const float* data, int n) {
  if (data == nullptr || n <= 0) return 0.0;
  double sum = 0.0;
  for (int i = 0; i < n; ++i) sum += data[i];
  return sum / n;
}

float Limited(double v) { return static_cast<float>(std::clamp(v, -1.0, 1.0)); }

}  // namespace

// ---------------------------------------------------------------------------
// FynAutoCorrelation

FynAutoCorrelation::FynAutoCorrelation(int pointCount, double parameter)
    : FynFftBase(pointCount), parameter_(parameter) {}

FynAutoCorrelation::~FynAutoCorrelation() = default;

short FynAutoCorrelation::CreateWorkArea() {
  extra_.clear();
  if (pointNum_ == 0 || CreateFftWorkArea() != 0) return -1;
  try {
    extra_.assign(static_cast<std::size_t>(pointNum_), 0.0f);
  } catch (const std::exception&) {
    return -1;
  }
  return 0;
}

void FynAutoCorrelation::CalcAve(const float* data) { mean_ = MeanOf(data, HasWorkArea() ? pointNum_ : 0); }

int FynAutoCorrelation::SetRData(const float* data) {
  if (data == nullptr || !HasWorkArea()) return -1;
  energy_ = LoadCentred(data, reWork_, mean_);
  return 0;
}

void FynAutoCorrelation::CalcFft() {
  InitIWorkArea();
  CalcFftSpec(0);
}

void FynAutoCorrelation::CalcAutoCorrelation() {
  if (!HasWorkArea()) return;
  for (std::size_t i = 0; i < reWork_.size(); ++i) {
    reWork_[i] = reWork_[i] * reWork_[i] + imWork_[i] * imWork_[i];
    imWork_[i] = 0.0f;
  }
  CalcFftSpec(1);
  const double energy = energy_ == 0.0 ? std::numeric_limits<double>::min() : energy_;
  for (float& v : reWork_) v = Limited(v / energy);
}

int FynAutoCorrelation::GetResultData(float* out) const {
  if (out == nullptr || !HasWorkArea()) return -1;
  std::copy(reWork_.begin(), reWork_.begin() + pointNum_ / 2, out);
  return 0;
}

// ---------------------------------------------------------------------------
// FynCrossCorrelation

FynCrossCorrelation::FynCrossCorrelation(int pointCount, double parameter)
    : FynFftBase(pointCount), parameter_(parameter) {}

FynCrossCorrelation::~FynCrossCorrelation() = default;

short FynCrossCorrelation::CreateWorkArea() {
  extra_.clear();
  xRe_.clear();
  xIm_.clear();
  yRe_.clear();
  yIm_.clear();
  if (pointNum_ == 0 || CreateFftWorkArea() != 0) return -1;
  try {
    const auto n = static_cast<std::size_t>(pointNum_);
    extra_.assign(n, 0.0f);
    xRe_.assign(n, 0.0f);
    xIm_.assign(n, 0.0f);
    yRe_.assign(n, 0.0f);
    yIm_.assign(n, 0.0f);
  } catch (const std::exception&) {
    return -1;
  }
  return 0;
}

void FynCrossCorrelation::CalcAve(const float* data) { mean_ = MeanOf(data, HasWorkArea() ? pointNum_ : 0); }

int FynCrossCorrelation::SetRData(const float* data) {
  if (data == nullptr || !HasWorkArea()) return -1;
  energy_ = LoadCentred(data, reWork_, mean_);
  return 0;
}

void FynCrossCorrelation::CalcFft() {
  InitIWorkArea();
  CalcFftSpec(0);
}

void FynCrossCorrelation::SetShelter(int which) {
  if (!HasWorkArea() || xRe_.size() != reWork_.size()) return;
  if (which == 0) {
    xRe_ = reWork_;
    xIm_ = imWork_;
    energyX_ = energy_;
  } else {
    yRe_ = reWork_;
    yIm_ = imWork_;
    energyY_ = energy_;
  }
}

void FynCrossCorrelation::InitResultWorkArea() { std::fill(extra_.begin(), extra_.end(), 0.0f); }

void FynCrossCorrelation::CalcCrossCorrelation() {
  if (!HasWorkArea() || xRe_.size() != reWork_.size()) return;
  for (std::size_t i = 0; i < reWork_.size(); ++i) {
    reWork_[i] = xRe_[i] * yRe_[i] + xIm_[i] * yIm_[i];
    imWork_[i] = xIm_[i] * yRe_[i] - xRe_[i] * yIm_[i];
  }
  CalcFftSpec(1);
  const double root = std::sqrt(energyX_ * energyY_);
  const double scale = root > 0.0 ? root : 1.0;
  for (float& v : reWork_) v = Limited(v / scale);
}

int FynCrossCorrelation::GetResultData(float* out) const {
  if (out == nullptr || !HasWorkArea()) return -1;
  std::copy(reWork_.begin(), reWork_.end(), out);
  return 0;
}
